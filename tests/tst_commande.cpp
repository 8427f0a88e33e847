#include "ClientHttp.h"
#include "EnvoyerCommande.h"
#include "Erreur.h"
#include "Json.h"
#include "support/Fichiers.h"
#include "support/Plateformes.h"
#include "support/Sandbox.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <pugixml.hpp>

// The order run against the sandbox platform, and its body, without widgets.
class TestCommande : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void corpsDeLExemple();
    void corpsValeursVidesEtEchappees();
    void compteDateHorlogeLocale();
    void issues_data();
    void issues();
    void envoiVuParLaPlateforme();
    void echecs_data();
    void echecs();
    void identifiantInvalide();

private:
    EntreesCommande entrees(const QString& recordId = QStringLiteral("4711")) const
    {
        return {accesSandbox(m_sandbox.url()), recordId, QStringLiteral("2021-042"),
                QStringLiteral("Chantier Nord"), m_resultat};
    }
    QString commander(IssueEtape* issue = nullptr, QStringList* statuts = nullptr,
                      const QString& recordId = QStringLiteral("4711"))
    {
        ClientHttp client;
        try {
            const IssueEtape obtenue = EnvoyerCommande(entrees(recordId), client, [&](const QString& t) {
                if (statuts)
                    statuts->append(t);
            });
            if (issue)
                *issue = obtenue;
        } catch (const Erreur& erreur) {
            return erreur.texte();
        }
        return QString();
    }

    Sandbox m_sandbox;
    QTemporaryDir m_dossier;
    QString m_resultat;
};

void TestCommande::initTestCase()
{
    QVERIFY(m_sandbox.demarre());
    m_resultat = m_dossier.filePath(QStringLiteral("resultat.xml"));
}

void TestCommande::init()
{
    m_sandbox.reinitialiser();
    QFile::remove(m_resultat);
}

void TestCommande::corpsDeLExemple()
{
    const QDateTime horloge(QDate(2021, 3, 15), QTime(9, 30, 0, 250));
    QCOMPARE(corpsCommande(entrees(), horloge),
             QByteArray(
                 R"({"quotationRecordIds": [4711],"documentNumber": "de(CALVENOR)2021-042","documentTitle": )"
                 R"("Chantier Nord","documentDate": "\/Date(1615800600250+0100)\/" ,"comment": ""})"));
}

void TestCommande::corpsValeursVidesEtEchappees()
{
    const QDateTime horloge(QDate(2021, 3, 15), QTime(9, 30));
    EntreesCommande vides = entrees();
    vides.NumeroCommande.clear();
    vides.ReferenceCommande.clear();
    const QByteArray corpsVide = corpsCommande(vides, horloge);
    QVERIFY(corpsVide.contains(R"x("documentNumber": "de(CALVENOR)",)x"));
    QVERIFY(corpsVide.contains(R"("documentTitle": "",)"));

    // A quote or backslash can neither break the body nor add a member; text goes as UTF-8.
    EntreesCommande piege = entrees();
    piege.NumeroCommande = QStringLiteral(R"(42", "comment": "x)");
    piege.ReferenceCommande = QStringLiteral("Fenêtre \\ séjour \"Nord\"");
    const std::optional<ValeurJson> lu = Json::analyser(corpsCommande(piege, horloge));
    QVERIFY(lu && lu->estObjet());
    QCOMPARE(lu->membres.size(), size_t(5));
    QCOMPARE(Json::texteBrut(*lu->membre(u"documentNumber")),
             QStringLiteral("de(CALVENOR)") + piege.NumeroCommande);
    QCOMPARE(Json::texteBrut(*lu->membre(u"documentTitle")), piege.ReferenceCommande);
    QCOMPARE(Json::texteBrut(*lu->membre(u"comment")), QString());
    QVERIFY(corpsCommande(piege, horloge).contains("Fen\xC3\xAAtre"));
}

void TestCommande::compteDateHorlogeLocale()
{
    // The local reading counted as is, whatever the zone.
    QCOMPARE(compteDate(QDateTime(QDate(1970, 1, 1), QTime(0, 0, 1))), qint64(1000));
    QCOMPARE(compteDate(QDateTime(QDate(2021, 3, 15), QTime(9, 30, 0, 250))), qint64(1615800600250));
    QCOMPARE(compteDate(QDateTime(QDate(2021, 7, 1), QTime(12, 0), QTimeZone("Europe/Paris"))),
             qint64(1625140800000));
}

void TestCommande::issues_data()
{
    QTest::addColumn<int>("statut");
    QTest::addColumn<QByteArray>("reponse");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("libelle");

    QTest::newRow("reference chaine") << 200 << QByteArray(R"({"reference":"CDE-815"})")
                                      << QStringLiteral("REFERENCE") << QStringLiteral("CDE-815");
    QTest::newRow("reference nombre") << 200 << QByteArray(R"({"status":"ok","reference":815})")
                                      << QStringLiteral("REFERENCE") << QStringLiteral("815");
    QTest::newRow("reference echappee") << 200 << QByteArray(R"({"reference":"A\"B\u00e9"})")
                                        << QStringLiteral("REFERENCE") << QStringLiteral("A\"Bé");
    QTest::newRow("null") << 200 << QByteArray("null") << QStringLiteral("ERROR")
                          << QStringLiteral("Erreur sur le passage en commande");
    QTest::newRow("objet sans reference")
        << 200 << QByteArray(R"({"Reference":"x","id":1})") << QString() << QString();
    QTest::newRow("204") << 204 << QByteArray() << QStringLiteral("RESPONSE_CODE") << QStringLiteral("204");
    QTest::newRow("201") << 201 << QByteArray(R"({"reference":"CDE-1"})") << QStringLiteral("RESPONSE_CODE")
                         << QStringLiteral("201");
}

void TestCommande::issues()
{
    QFETCH(int, statut);
    QFETCH(QByteArray, reponse);
    QFETCH(QString, code);
    QFETCH(QString, libelle);
    m_sandbox.surcharger({{"method", "POST"},
                          {"path", QLatin1String(Plateforme::CheminCommande)},
                          {"status", statut},
                          {"body", QString::fromUtf8(reponse)}});
    IssueEtape issue;
    QStringList statuts;
    QCOMPARE(commander(&issue, &statuts), QString());
    QCOMPARE(issue.Code, code);
    QCOMPARE(issue.Libelle, libelle);
    QCOMPARE(statuts, (QStringList{QStringLiteral("Lancement de l'envoi en commande"),
                                   QStringLiteral("Transfert de la demande de commande au configurateur"),
                                   QStringLiteral("Traitement des données du configurateur"),
                                   QStringLiteral("Fin de l'envoi en commande")}));
    pugi::xml_document relu;
    const QByteArray fichier = lireFichier(m_resultat);
    QVERIFY(relu.load_buffer(fichier.constData(), static_cast<size_t>(fichier.size())));
    const pugi::xml_node racine = relu.child("Configurateur");
    QCOMPARE(racine.first_child().name(), "Project");
    QCOMPARE(racine.child_value("Project"), "4711");
    QCOMPARE(QString::fromUtf8(racine.child("Commande").child_value("Code")), code);
    QCOMPARE(QString::fromUtf8(racine.child("Commande").child_value("Libelle")), libelle);
}

void TestCommande::envoiVuParLaPlateforme()
{
    IssueEtape issue;
    QCOMPARE(commander(&issue), QString());
    QCOMPARE(issue.Code, QStringLiteral("REFERENCE"));
    QCOMPARE(lireFichier(m_resultat),
             QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Configurateur><Project>4711"
                        "</Project><Commande><Code>REFERENCE</Code><Libelle>CDE-815</Libelle>"
                        "</Commande></Configurateur>\r\n"));
    const QJsonArray journal = m_sandbox.journal();
    QCOMPARE(journal.size(), 1);
    const QByteArray corps = Sandbox::corps(journal.at(0).toObject());
    QVERIFY2(corps.startsWith(
                 R"({"quotationRecordIds": [4711],"documentNumber": "de(CALVENOR)2021-042","documentTitle": )"
                 R"("Chantier Nord","documentDate": "\/Date()"),
             corps.constData());
    QVERIFY(corps.endsWith(R"(+0100)\/" ,"comment": ""})"));
}

void TestCommande::echecs_data()
{
    QTest::addColumn<QJsonObject>("surcharge");
    QTest::addColumn<QString>("message");
    const QString chemin = QLatin1String(Plateforme::CheminCommande);
    QTest::newRow("404") << QJsonObject{{"method", "POST"}, {"path", chemin}, {"status", 404}, {"body", ""}}
                         << QStringLiteral("statut HTTP 404");
    QTest::newRow("500") << QJsonObject{{"method", "POST"}, {"path", chemin}, {"status", 500}, {"body", "{}"}}
                         << QStringLiteral("statut HTTP 500");
    QTest::newRow("null precede d'un blanc")
        << QJsonObject{{"method", "POST"}, {"path", chemin}, {"status", 200}, {"body", " null"}}
        << QStringLiteral("illisible");
    QTest::newRow("NULL") << QJsonObject{{"method", "POST"},
                                         {"path", chemin},
                                         {"status", 200},
                                         {"body", "NULL"}}
                          << QStringLiteral("illisible");
    QTest::newRow("tableau") << QJsonObject{{"method", "POST"},
                                            {"path", chemin},
                                            {"status", 200},
                                            {"body", "[]"}}
                             << QStringLiteral("illisible");
    QTest::newRow("corps vide") << QJsonObject{{"method", "POST"},
                                               {"path", chemin},
                                               {"status", 200},
                                               {"body", ""}}
                                << QStringLiteral("illisible");
}

void TestCommande::echecs()
{
    QFETCH(QJsonObject, surcharge);
    QFETCH(QString, message);
    ecrireFichier(m_resultat, "ancien");
    m_sandbox.surcharger(surcharge);
    QStringList statuts;
    const QString erreur = commander(nullptr, &statuts);
    QVERIFY2(erreur.contains(message), qPrintable(erreur));
    QVERIFY(!statuts.contains(QStringLiteral("Fin de l'envoi en commande")));
    QCOMPARE(lireFichier(m_resultat), QByteArray("ancien"));
}

void TestCommande::identifiantInvalide()
{
    for (const QString& id : {QString(), QStringLiteral("4711]"), QStringLiteral("47 11")}) {
        const QString erreur = commander(nullptr, nullptr, id);
        QVERIFY2(erreur.startsWith(QStringLiteral("Identifiant de devis invalide")), qPrintable(erreur));
    }
    QVERIFY(m_sandbox.journal().isEmpty());
    QVERIFY(!QFile::exists(m_resultat));
}

QTEST_GUILESS_MAIN(TestCommande)
#include "tst_commande.moc"
