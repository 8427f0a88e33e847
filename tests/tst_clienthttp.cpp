#include "ClientHttp.h"
#include "ConstantesConstruction.h"
#include "Erreur.h"
#include "Plateforme.h"
#include "support/Sandbox.h"

#include <QJsonArray>
#include <QProcess>
#include <QScopeGuard>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

// The platform request set-up and the HTTP client, as the sandbox receives them.
class TestClientHttp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void miseEnPlaceVueParLaPlateforme();
    void echecs_data();
    void echecs();
    void delaiDepasse();
    void redirectionMemeOrigine();
    void redirectionAutreOrigine();
    void connexionRefusee();
    void tls();

private:
    AccesPlateforme acces() const
    {
        return {m_sandbox.url(),
                {QString::fromUtf8(Constantes::EmailService),
                 QString::fromUtf8(Constantes::MotDePasseService),
                 QString::fromUtf8(Constantes::CleEmetteur)}};
    }
    QString messageEchec(const RequeteHttp& requete, ClientHttp& client)
    {
        try {
            client.envoyer(requete);
        } catch (const Erreur& erreur) {
            return erreur.texte();
        }
        return QString();
    }

    Sandbox m_sandbox;
};

void TestClientHttp::initTestCase()
{
    QVERIFY2(m_sandbox.demarre(), "the sandbox did not start");
}

void TestClientHttp::init()
{
    m_sandbox.reinitialiser();
    m_sandbox.enregistrer(QStringLiteral("4711"), R"({"id":4711,"indirectMode":false})");
}

void TestClientHttp::miseEnPlaceVueParLaPlateforme()
{
    ClientHttp client;
    const ReponseHttp lu = client.envoyer(
        Plateforme::requeteGet(acces(), Plateforme::cheminEnregistrement(QStringLiteral("4711")), {}));
    QCOMPARE(lu.statut, 200);
    QCOMPARE(lu.corps, QByteArray(R"({"id":4711,"indirectMode":false})"));
    const QByteArray corps = "[4711]";
    QCOMPARE(client
                 .envoyer(Plateforme::requetePost(acces(), QLatin1String(Plateforme::CheminVerification),
                                                  corps, {}))
                 .statut,
             200);

    const QJsonArray journal = m_sandbox.journal();
    QCOMPARE(journal.size(), 2);
    const QString basic =
        QStringLiteral("Basic ") +
        QString::fromLatin1(
            (QByteArray(Constantes::EmailService) + ':' + Constantes::MotDePasseService).toBase64());
    for (const QJsonValue valeur : journal) {
        const QJsonObject requete = valeur.toObject();
        // Pre-emptive: on the very first request, without a challenge.
        QCOMPARE(Sandbox::entetes(requete, QStringLiteral("Authorization")), QStringList{basic});
        QCOMPARE(Sandbox::entetes(requete, QStringLiteral("Rodid-Issuer")),
                 QStringList{QString::fromUtf8(Constantes::CleEmetteur)});
        QCOMPARE(Sandbox::entetes(requete, QStringLiteral("Accept")),
                 QStringList{QString::fromLatin1(Http::Accept)});
        QCOMPARE(Sandbox::entetes(requete, QStringLiteral("User-Agent")),
                 QStringList{QString::fromLatin1(Http::UserAgent)});
    }
    const QJsonObject get = journal.at(0).toObject();
    QCOMPARE(get.value(QLatin1String("method")).toString(), QStringLiteral("GET"));
    QVERIFY(Sandbox::entetes(get, QStringLiteral("Content-Type")).isEmpty());
    QVERIFY(Sandbox::entetes(get, QStringLiteral("Cookie")).isEmpty());

    const QJsonObject post = journal.at(1).toObject();
    QCOMPARE(post.value(QLatin1String("method")).toString(), QStringLiteral("POST"));
    QCOMPARE(post.value(QLatin1String("path")).toString(), QLatin1String(Plateforme::CheminVerification));
    QCOMPARE(Sandbox::entetes(post, QStringLiteral("Content-Type")),
             QStringList{QStringLiteral("application/json")});
    QCOMPARE(Sandbox::entetes(post, QStringLiteral("Content-Encoding")),
             QStringList{QStringLiteral("utf-8")});
    QCOMPARE(Sandbox::corps(post), corps);
    // The cookie the GET's answer set goes back with the POST of the same client.
    const QStringList cookies = Sandbox::entetes(post, QStringLiteral("Cookie"));
    QCOMPARE(cookies.size(), 1);
    QVERIFY2(cookies.first().startsWith(QLatin1String("quelt_session=")), qPrintable(cookies.first()));

    // Another client (another dialog) has no cookie.
    ClientHttp autre;
    m_sandbox.viderJournal();
    autre.envoyer(
        Plateforme::requeteGet(acces(), Plateforme::cheminEnregistrement(QStringLiteral("4711")), {}));
    QVERIFY(Sandbox::entetes(m_sandbox.journal().at(0).toObject(), QStringLiteral("Cookie")).isEmpty());
}

void TestClientHttp::echecs_data()
{
    QTest::addColumn<QJsonObject>("surcharge");
    QTest::addColumn<QString>("attendu");
    const QString chemin = Plateforme::cheminEnregistrement(QStringLiteral("4711"));

    QTest::newRow("404") << QJsonObject{{"method", "GET"}, {"path", chemin}, {"status", 404}, {"body", "{}"}}
                         << QStringLiteral("statut HTTP 404");
    QTest::newRow("500") << QJsonObject{{"method", "GET"},
                                        {"path", chemin},
                                        {"status", 500},
                                        {"body", "boom"}}
                         << QStringLiteral("statut HTTP 500");
    QTest::newRow("coupure en plein corps")
        << QJsonObject{{"method", "GET"},
                       {"path", chemin},
                       {"status", 200},
                       {"action", "reset"},
                       {"body", R"({"id":4711,"indirectMode":false,"pad":"xxxxxxxx"})"}}
        << QStringLiteral("Échec de la lecture");
}

void TestClientHttp::echecs()
{
    QFETCH(QJsonObject, surcharge);
    QFETCH(QString, attendu);
    m_sandbox.surcharger(surcharge);
    ClientHttp client;
    const QString message =
        messageEchec(Plateforme::requeteGet(acces(), Plateforme::cheminEnregistrement(QStringLiteral("4711")),
                                            QStringLiteral("la lecture du devis")),
                     client);
    QVERIFY2(message.contains(attendu), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("GET ") + m_sandbox.url() +
                              QStringLiteral("/api/v2.0/quotation-records/4711")),
             qPrintable(message));
}

void TestClientHttp::delaiDepasse()
{
    m_sandbox.surcharger({{"method", "GET"},
                          {"path", Plateforme::cheminEnregistrement(QStringLiteral("4711"))},
                          {"action", "stall"},
                          {"delayMs", 5000},
                          {"status", 200},
                          {"body", "{}"}});
    ClientHttp client;
    client.setDelaiMs(800);
    const QString message = messageEchec(
        Plateforme::requeteGet(acces(), Plateforme::cheminEnregistrement(QStringLiteral("4711")), {}),
        client);
    QVERIFY2(message.contains(QStringLiteral("aucune réponse du serveur depuis 0.8 s")), qPrintable(message));
}

void TestClientHttp::redirectionMemeOrigine()
{
    m_sandbox.surcharger({{"method", "POST"},
                          {"path", "/api/ancien"},
                          {"action", "redirect"},
                          {"status", 307},
                          {"location", QLatin1String(Plateforme::CheminVerification)}});
    ClientHttp client;
    const ReponseHttp reponse =
        client.envoyer(Plateforme::requetePost(acces(), QStringLiteral("/api/ancien"), "[4711]", {}));
    QCOMPARE(reponse.statut, 200);
    const QJsonArray journal = m_sandbox.journal();
    QCOMPARE(journal.size(), 2);
    const QJsonObject suivie = journal.at(1).toObject();
    QCOMPARE(suivie.value(QLatin1String("path")).toString(), QLatin1String(Plateforme::CheminVerification));
    QCOMPARE(Sandbox::corps(suivie), QByteArray("[4711]"));
    QCOMPARE(Sandbox::entetes(suivie, QStringLiteral("Rodid-Issuer")).size(), 1);
    QCOMPARE(Sandbox::entetes(suivie, QStringLiteral("Authorization")).size(), 1);
}

void TestClientHttp::redirectionAutreOrigine()
{
    Sandbox autre;
    QVERIFY(autre.demarre());
    autre.surcharger(
        {{"method", "GET"}, {"path", "/ailleurs"}, {"status", 200}, {"body", "{}"}, {"skipAuth", true}});
    m_sandbox.surcharger({{"method", "GET"},
                          {"path", Plateforme::cheminEnregistrement(QStringLiteral("4711"))},
                          {"action", "redirect"},
                          {"status", 302},
                          {"location", autre.url() + QStringLiteral("/ailleurs")}});
    ClientHttp client;
    const ReponseHttp reponse = client.envoyer(
        Plateforme::requeteGet(acces(), Plateforme::cheminEnregistrement(QStringLiteral("4711")), {}));
    QCOMPARE(reponse.statut, 200);
    const QJsonArray recus = autre.journal();
    QCOMPARE(recus.size(), 1);
    const QJsonObject requete = recus.at(0).toObject();
    QVERIFY(Sandbox::entetes(requete, QStringLiteral("Authorization")).isEmpty());
    QVERIFY(Sandbox::entetes(requete, QStringLiteral("Rodid-Issuer")).isEmpty());
    QCOMPARE(Sandbox::entetes(requete, QStringLiteral("User-Agent")).size(), 1);

    // The status judged is the final one.
    autre.surcharger(
        {{"method", "GET"}, {"path", "/ailleurs"}, {"status", 500}, {"body", ""}, {"skipAuth", true}});
    const QString message = messageEchec(
        Plateforme::requeteGet(acces(), Plateforme::cheminEnregistrement(QStringLiteral("4711")), {}),
        client);
    QVERIFY2(message.contains(QStringLiteral("statut HTTP 500")), qPrintable(message));
}

void TestClientHttp::connexionRefusee()
{
    // A port nobody listens on: taken, then released.
    QTcpServer serveur;
    QVERIFY(serveur.listen(QHostAddress::LocalHost));
    const quint16 port = serveur.serverPort();
    serveur.close();
    ClientHttp client;
    AccesPlateforme ferme = acces();
    ferme.AdresseApiPlateforme = QStringLiteral("http://127.0.0.1:%1").arg(port);
    const QString message = messageEchec(
        Plateforme::requeteGet(ferme, QStringLiteral("/x"), QStringLiteral("la lecture")), client);
    QVERIFY2(message.contains(QStringLiteral("connexion refusée")), qPrintable(message));
}

void TestClientHttp::tls()
{
    QTemporaryDir dossier;
    const QString certificat = dossier.filePath(QStringLiteral("cert.pem"));
    const QString cle = dossier.filePath(QStringLiteral("cle.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
                   QStringLiteral("-keyout"), cle, QStringLiteral("-out"), certificat});
    QVERIFY(openssl.waitForFinished(30000));
    QCOMPARE(openssl.exitCode(), 0);
    // The https platform redirects the record to plain http.
    const QString scenario = dossier.filePath(QStringLiteral("scenario.json"));
    QFile fichier(scenario);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write(
        R"({"overrides":[{"method":"GET","path":"/api/v2.0/quotation-records/1","action":"redirect","status":302,)"
        R"("location":")" +
        m_sandbox.url().toLatin1() + R"(/api/v2.0/quotation-records/4711"}]})");
    fichier.close();
    Sandbox securise({QStringLiteral("--tls-cert"), certificat, QStringLiteral("--tls-key"), cle,
                      QStringLiteral("--scenario"), scenario});
    QVERIFY(securise.url().startsWith(QLatin1String("https://127.0.0.1:")));
    AccesPlateforme https = acces();
    https.AdresseApiPlateforme = securise.url();

    // Certificates are verified: one nobody vouches for is refused.
    ClientHttp client;
    QString message =
        messageEchec(Plateforme::requeteGet(https, Plateforme::cheminEnregistrement(QStringLiteral("4711")),
                                            QStringLiteral("la lecture")),
                     client);
    QVERIFY2(message.contains(QStringLiteral("connexion sécurisée impossible")), qPrintable(message));

    const QSslConfiguration avant = QSslConfiguration::defaultConfiguration();
    QSslConfiguration confiance = avant;
    confiance.addCaCertificates(QSslCertificate::fromPath(certificat));
    QSslConfiguration::setDefaultConfiguration(confiance);
    const auto restaurer = qScopeGuard([&] { QSslConfiguration::setDefaultConfiguration(avant); });

    ClientHttp confiant;
    QCOMPARE(confiant
                 .envoyer(Plateforme::requeteGet(
                     https, Plateforme::cheminEnregistrement(QStringLiteral("4711")), {}))
                 .statut,
             200);
    // From https to http is never followed: the credentials would travel in clear.
    m_sandbox.viderJournal();
    message = messageEchec(
        Plateforme::requeteGet(https, Plateforme::cheminEnregistrement(QStringLiteral("1")), {}), confiant);
    QVERIFY2(message.contains(QStringLiteral("redirection refusée vers une adresse non sécurisée")),
             qPrintable(message));
    QVERIFY(m_sandbox.journal().isEmpty());
}

QTEST_GUILESS_MAIN(TestClientHttp)
#include "tst_clienthttp.moc"
