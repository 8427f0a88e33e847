#include "ClientHttp.h"
#include "Erreur.h"
#include "Passerelle.h"
#include "support/Sandbox.h"

#include <QJsonArray>
#include <QTest>

// The gateway session: the token request's address, its answer, the failure text.
class TestPasserelle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void adresse_data();
    void adresse();
    void sessionDuServiceDeConnexion();
    void lectureDeLaReponse_data();
    void lectureDeLaReponse();
    void reponseIllisible_data();
    void reponseIllisible();
    void messageErreurs();

private:
    DemandeSession demande(const QString& motDePasse = QStringLiteral("d&mo #pass=+")) const
    {
        return {m_sandbox.url(), QStringLiteral("demo@quelt.example"), motDePasse, QStringLiteral("olka"),
                QString()};
    }
    void repondre(const QByteArray& xml, int statut = 200)
    {
        m_sandbox.surcharger({{"method", "GET"},
                              {"path", QLatin1String(Passerelle::CheminJeton)},
                              {"status", statut},
                              {"body", QString::fromUtf8(xml)},
                              {"contentType", "application/xml"},
                              {"skipAuth", true}});
    }

    Sandbox m_sandbox;
};

void TestPasserelle::initTestCase()
{
    QVERIFY(m_sandbox.demarre());
}

void TestPasserelle::init()
{
    m_sandbox.reinitialiser();
}

void TestPasserelle::adresse_data()
{
    QTest::addColumn<QString>("devisId");
    QTest::addColumn<QString>("motDePasse");
    QTest::addColumn<QByteArray>("finAttendue");
    QTest::newRow("sans DevisId")
        << QString() << QStringLiteral("secret")
        << QByteArray("/index.php/Services/jeton?email=jean%40ex.fr&mdp=secret&passerelle=olka");
    QTest::newRow("avec DevisId") << QStringLiteral("D123") << QStringLiteral("secret")
                                  << QByteArray("&passerelle=olka&jeton=D123");
    QTest::newRow("valeurs a echapper")
        << QStringLiteral("é 1") << QStringLiteral("a&b#c=d+e f%")
        << QByteArray("?email=jean%40ex.fr&mdp=a%26b%23c%3Dd%2Be%20f%25&passerelle=olka"
                      "&jeton=%C3%A9%201");
}

void TestPasserelle::adresse()
{
    QFETCH(QString, devisId);
    QFETCH(QString, motDePasse);
    QFETCH(QByteArray, finAttendue);
    const QUrl url =
        Passerelle::adresseJeton({QStringLiteral("http://127.0.0.1:8631"), QStringLiteral("jean@ex.fr"),
                                  motDePasse, QStringLiteral("olka"), devisId});
    QVERIFY2(url.toEncoded().endsWith(finAttendue), url.toEncoded().constData());
    QVERIFY(url.toEncoded().startsWith("http://127.0.0.1:8631/index.php/Services/jeton?email="));
    if (devisId.isEmpty())
        QVERIFY(!url.toEncoded().contains("jeton="));
}

void TestPasserelle::sessionDuServiceDeConnexion()
{
    ClientHttp client;
    // The password full of "&", "#", "=", "+" and a blank reaches the gateway intact.
    const SessionPasserelle session = Passerelle::demanderSession(demande(), client);
    QVERIFY(session.obtenue());
    QVERIFY(Passerelle::estAdresseWeb(QUrl(session.UrlConnexion)));
    QVERIFY(session.UrlRecuperation.startsWith(m_sandbox.url()));

    const QJsonObject requete = m_sandbox.journal().at(0).toObject();
    QCOMPARE(requete.value(QLatin1String("path")).toString(), QLatin1String(Passerelle::CheminJeton));
    // No platform credentials go to the gateway.
    QVERIFY(Sandbox::entetes(requete, QStringLiteral("Authorization")).isEmpty());
    QVERIFY(Sandbox::entetes(requete, QStringLiteral("Rodid-Issuer")).isEmpty());

    QVERIFY(!Passerelle::demanderSession(demande(QStringLiteral("d&mo")), client).obtenue());
}

void TestPasserelle::lectureDeLaReponse_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("obtenue");
    QTest::newRow("ordre inverse et elements en plus")
        << QByteArray(
               "<?xml "
               "version=\"1.0\"?><Configurateur><Info>x</Info><UrlRecuperation>http://h/r</UrlRecuperation>"
               "<UrlConnexion>http://h/c</UrlConnexion><Autre/><Jeton>T</Jeton></Configurateur>")
        << true;
    QTest::newRow("UrlRecuperation vide")
        << QByteArray("<Configurateur><Jeton>T</Jeton><UrlConnexion>http://h/c</UrlConnexion>"
                      "<UrlRecuperation></UrlRecuperation></Configurateur>")
        << false;
    QTest::newRow("Jeton absent")
        << QByteArray("<Configurateur><Erreur>Mot de passe incorrect</Erreur></Configurateur>") << false;
}

void TestPasserelle::lectureDeLaReponse()
{
    QFETCH(QByteArray, xml);
    QFETCH(bool, obtenue);
    repondre(xml);
    ClientHttp client;
    QCOMPARE(Passerelle::demanderSession(demande(), client).obtenue(), obtenue);
}

void TestPasserelle::reponseIllisible_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("statut");
    QTest::newRow("autre racine") << QByteArray("<Session><Jeton>T</Jeton></Session>") << 200;
    QTest::newRow("pas du XML") << QByteArray("Service indisponible") << 200;
    QTest::newRow("statut 500") << QByteArray("<Configurateur/>") << 500;
}

void TestPasserelle::reponseIllisible()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, statut);
    repondre(xml, statut);
    ClientHttp client;
    try {
        Passerelle::demanderSession(demande(), client);
        QFAIL("an unreadable answer must fail");
    } catch (const Erreur& erreur) {
        // The address shown never carries the password.
        QVERIFY2(!erreur.texte().contains(QStringLiteral("mdp")), qPrintable(erreur.texte()));
    }
}

void TestPasserelle::messageErreurs()
{
    QCOMPARE(
        Passerelle::messageErreurs(QStringLiteral("olka"), {Passerelle::LigneSessionManquante}),
        QStringLiteral("Configurateur olka : GetJetonEtUrlsErreurs \nL'information de connexion n'a pas été "
                       "obtenue.\r\n"));
    QCOMPARE(
        Passerelle::messageErreurs(QStringLiteral("Inconnue"), {QStringLiteral("a"), QStringLiteral("b")}),
        QStringLiteral("Configurateur Inconnue : GetJetonEtUrlsErreurs \na\r\nb\r\n"));
    QCOMPARE(Passerelle::messageErreurs(QString(), {}),
             QStringLiteral("Configurateur  : GetJetonEtUrlsErreurs \n"));
}

QTEST_GUILESS_MAIN(TestPasserelle)
#include "tst_passerelle.moc"
