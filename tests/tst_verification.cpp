#include "ClientHttp.h"
#include "Erreur.h"
#include "VerifierDevis.h"
#include "support/Fichiers.h"
#include "support/Plateformes.h"
#include "support/Sandbox.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

// The check run against the sandbox platform, without widgets.
class TestVerification : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void issues_data();
    void issues();
    void profilIndirect_data();
    void profilIndirect();
    void echecs_data();
    void echecs();
    void identifiantInvalide_data();
    void identifiantInvalide();

private:
    struct Execution
    {
        IssueEtape issue;
        QStringList statuts;
        QString erreur;
    };
    Execution verifier(const QString& recordId)
    {
        Execution execution;
        ClientHttp client;
        try {
            execution.issue = VerifierDevis({accesSandbox(m_sandbox.url()), recordId, m_resultat}, client,
                                            [&](const QString& t) { execution.statuts.append(t); });
        } catch (const Erreur& erreur) {
            execution.erreur = erreur.texte();
        }
        return execution;
    }
    void repondre(const QByteArray& corps, int statut = 200)
    {
        m_sandbox.surcharger({{"method", "POST"},
                              {"path", QLatin1String(Plateforme::CheminVerification)},
                              {"status", statut},
                              {"body", QString::fromUtf8(corps)}});
    }

    Sandbox m_sandbox;
    QTemporaryDir m_dossier;
    QString m_resultat;
};

void TestVerification::initTestCase()
{
    QVERIFY(m_sandbox.demarre());
    m_resultat = m_dossier.filePath(QStringLiteral("resultat.xml"));
}

void TestVerification::init()
{
    m_sandbox.reinitialiser();
    m_sandbox.enregistrer(QStringLiteral("812"), R"({"id":812,"indirectMode":false})");
    QFile::remove(m_resultat);
}

void TestVerification::issues_data()
{
    QTest::addColumn<QByteArray>("reponse");
    QTest::addColumn<int>("statut");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("libelle");
    const QString invalide = QStringLiteral("Identifiant invalide : 812");

    QTest::newRow("errorCode null") << QByteArray(R"([{"quotationRecordId":812,"errorCode":null}])") << 200
                                    << QString() << QString();
    QTest::newRow("errorCode \"null\"")
        << QByteArray(R"([{"errorCode":"null"}])") << 200 << QString() << QString();
    QTest::newRow("tableau vide") << QByteArray("[]") << 200 << QString() << QString();
    QTest::newRow("NOT_FOUND") << QByteArray(R"([{"errorCode":"NOT_FOUND"}])") << 200
                               << QStringLiteral("NOT_FOUND") << invalide;
    QTest::newRow("STATE_INVALID") << QByteArray(R"([{"errorCode":"STATE_INVALID"}])") << 200
                                   << QStringLiteral("STATE_INVALID") << invalide;
    QTest::newRow("NO_SUPPLIER_DATA")
        << QByteArray(R"([{"errorCode":"NO_SUPPLIER_DATA"}])") << 200 << QStringLiteral("NO_SUPPLIER_DATA")
        << QStringLiteral("Impossible de commander ce produit (pas de données fournisseur "
                          "dans la bibliothèque)");
    QTest::newRow("ORDER_PROCESS_NOT_AVAILABLE")
        << QByteArray(R"([{"errorCode":"ORDER_PROCESS_NOT_AVAILABLE"}])") << 200
        << QStringLiteral("ORDER_PROCESS_NOT_AVAILABLE")
        << QStringLiteral("Impossible de commander ce produit (processus d’envoi de commande non configuré)");
    QTest::newRow("PRICER_OUTDATED")
        << QByteArray(R"([{"errorCode":"PRICER_OUTDATED"}])") << 200 << QStringLiteral("PRICER_OUTDATED")
        << QStringLiteral("Chiffrage effectué avec une ancienne version de la bibliothèque. "
                          "Une version plus récente est disponible, le chiffrage doit être "
                          "actualisé.");
    QTest::newRow("PRICER_NOT_ALLOWED")
        << QByteArray(R"([{"errorCode":"PRICER_NOT_ALLOWED"}])") << 200
        << QStringLiteral("PRICER_NOT_ALLOWED")
        << QStringLiteral("L’utilisateur n’a pas le droit d’utiliser cette bibliothèque.");
    QTest::newRow("NO_TECHNICAL_VALIDATION")
        << QByteArray(R"([{"errorCode":"NO_TECHNICAL_VALIDATION"}])") << 200
        << QStringLiteral("NO_TECHNICAL_VALIDATION")
        << QStringLiteral(
               "Les données de commande fournisseur n’ont pas été renseignées. Correspond à "
               "technicalValidation=false dans les données retournées par le WS de récupération d’un "
               "produit chiffré. L’utilisateur doit compléter son chiffrage.");
    QTest::newRow("casse differente: inconnu")
        << QByteArray(R"([{"errorCode":"not_found"}])") << 200 << QStringLiteral("not_found") << QString();
    QTest::newRow("code nombre") << QByteArray(R"([{"errorCode":42}])") << 200 << QStringLiteral("42")
                                 << QString();
    QTest::newRow("dernier errorCode de l'element")
        << QByteArray(R"([{"errorCode":"NOT_FOUND","x":1,"errorCode":"PRICER_OUTDATED"}])") << 200
        << QStringLiteral("PRICER_OUTDATED")
        << QStringLiteral("Chiffrage effectué avec une ancienne version de la "
                          "bibliothèque. Une version plus récente est disponible, "
                          "le chiffrage doit être actualisé.");
    QTest::newRow("PRICER_OUTDATED puis null")
        << QByteArray(R"([{"errorCode":"PRICER_OUTDATED"},{"errorCode":null}])") << 200 << QString()
        << QString();
    QTest::newRow("NO_SUPPLIER_DATA puis sans errorCode")
        << QByteArray(R"([{"errorCode":"NO_SUPPLIER_DATA"},{"quotationRecordId":813}])") << 200
        << QStringLiteral("NO_SUPPLIER_DATA")
        << QStringLiteral(
               "Impossible de commander ce produit (pas de données fournisseur dans la bibliothèque)");
    QTest::newRow("NOT_FOUND puis inconnu")
        << QByteArray(R"([{"errorCode":"NOT_FOUND"},{"errorCode":"XYZ"}])") << 200 << QStringLiteral("XYZ")
        << invalide;
    QTest::newRow("statut 204") << QByteArray() << 204 << QStringLiteral("RESPONSE_CODE")
                                << QStringLiteral("204");
    QTest::newRow("statut 201") << QByteArray("[]") << 201 << QStringLiteral("RESPONSE_CODE")
                                << QStringLiteral("201");
}

void TestVerification::issues()
{
    QFETCH(QByteArray, reponse);
    QFETCH(int, statut);
    QFETCH(QString, code);
    QFETCH(QString, libelle);
    repondre(reponse, statut);

    const Execution execution = verifier(QStringLiteral("812"));
    QCOMPARE(execution.erreur, QString());
    QCOMPARE(execution.issue.Code, code);
    QCOMPARE(execution.issue.Libelle, libelle);
    QCOMPARE(execution.statuts, (QStringList{QStringLiteral("Lancement de la vérification"),
                                             QStringLiteral("Demande de vérification au configurateur"),
                                             QStringLiteral("Traitement des données du configurateur"),
                                             QStringLiteral("Fin de la vérification")}));
    const auto element = [](const char* nom, const QString& texte) {
        return texte.isEmpty() ? QByteArray("<") + nom + "/>"
                               : QByteArray("<") + nom + '>' + texte.toLatin1() + "</" + nom + '>';
    };
    // Latin-1 for the accents; the typographic apostrophe as a character reference.
    QString libelleFichier = libelle;
    libelleFichier.replace(QChar(0x2019), QStringLiteral("&#8217;"));
    QCOMPARE(lireFichier(m_resultat),
             "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Configurateur><Project>812</Project>"
             "<Verification>" +
                 element("Code", code) + element("Libelle", libelleFichier) +
                 "</Verification></Configurateur>\r\n");

    const QJsonArray journal = m_sandbox.journal();
    QCOMPARE(journal.size(), 2);
    QCOMPARE(journal.at(0)[QLatin1String("path")].toString(),
             QStringLiteral("/api/v2.0/quotation-records/812"));
    QCOMPARE(Sandbox::corps(journal.at(1).toObject()), QByteArray("[812]"));
}

void TestVerification::profilIndirect_data()
{
    QTest::addColumn<QByteArray>("enregistrement");
    QTest::addColumn<bool>("indirect");
    QTest::newRow("true") << QByteArray(R"({"id":812,"indirectMode":true})") << true;
    QTest::newRow("false") << QByteArray(R"({"id":812,"indirectMode":false})") << false;
    QTest::newRow("null") << QByteArray(R"({"id":812,"indirectMode":null})") << false;
    QTest::newRow("chaine true") << QByteArray(R"({"id":812,"indirectMode":"true"})") << false;
    QTest::newRow("absent") << QByteArray(R"({"id":812})") << false;
    QTest::newRow("premier des doublons")
        << QByteArray(R"({"indirectMode":true,"indirectMode":false})") << true;
}

void TestVerification::profilIndirect()
{
    QFETCH(QByteArray, enregistrement);
    QFETCH(bool, indirect);
    m_sandbox.enregistrer(QStringLiteral("812"), enregistrement);
    repondre(R"([{"errorCode":null}])");

    const Execution execution = verifier(QStringLiteral("812"));
    QCOMPARE(execution.erreur, QString());
    QCOMPARE(m_sandbox.journal().size(), indirect ? 1 : 2);
    QCOMPARE(execution.statuts.contains(QStringLiteral("Demande de vérification au configurateur")),
             !indirect);
    if (indirect) {
        QCOMPARE(execution.issue.Code, QStringLiteral("VRX_INDIRECT_MODE"));
        QCOMPARE(
            execution.issue.Libelle,
            QStringLiteral("Vous êtes de type profil indirect. Vous ne pouvez pas effectuer de commande."));
        QVERIFY(
            lireFichier(m_resultat).contains("<Code>VRX_INDIRECT_MODE</Code><Libelle>Vous \xEAtes de type"));
    } else {
        QCOMPARE(execution.issue.Code, QString());
    }
}

void TestVerification::echecs_data()
{
    QTest::addColumn<QJsonObject>("surcharge");
    QTest::addColumn<QString>("dernierStatut");
    QTest::addColumn<QString>("message");
    const QString get = QStringLiteral("/api/v2.0/quotation-records/812");
    const QString post = QLatin1String(Plateforme::CheminVerification);
    QTest::newRow("404 sur l'enregistrement")
        << QJsonObject{{"method", "GET"}, {"path", get}, {"status", 404}, {"body", ""}}
        << QStringLiteral("Lancement de la vérification") << QStringLiteral("statut HTTP 404");
    QTest::newRow("500 sur la verification")
        << QJsonObject{{"method", "POST"}, {"path", post}, {"status", 500}, {"body", ""}}
        << QStringLiteral("Demande de vérification au configurateur") << QStringLiteral("statut HTTP 500");
    QTest::newRow("enregistrement pas un objet")
        << QJsonObject{{"method", "GET"}, {"path", get}, {"status", 200}, {"body", "[1]"}}
        << QStringLiteral("Lancement de la vérification") << QStringLiteral("pas renvoyé d’enregistrement");
    QTest::newRow("reponse pas un tableau")
        << QJsonObject{{"method", "POST"}, {"path", post}, {"status", 200}, {"body", "{}"}}
        << QStringLiteral("Traitement des données du configurateur") << QStringLiteral("n’est pas une liste");
    QTest::newRow("reponse pas du JSON")
        << QJsonObject{{"method", "POST"}, {"path", post}, {"status", 200}, {"body", "<html>"}}
        << QStringLiteral("Traitement des données du configurateur") << QStringLiteral("pas un JSON valide");
}

void TestVerification::echecs()
{
    QFETCH(QJsonObject, surcharge);
    QFETCH(QString, dernierStatut);
    QFETCH(QString, message);
    // A result of an earlier run stays as it was.
    ecrireFichier(m_resultat, "ancien");
    m_sandbox.surcharger(surcharge);

    const Execution execution = verifier(QStringLiteral("812"));
    QVERIFY2(execution.erreur.contains(message), qPrintable(execution.erreur));
    QCOMPARE(execution.statuts.last(), dernierStatut);
    QCOMPARE(lireFichier(m_resultat), QByteArray("ancien"));
}

void TestVerification::identifiantInvalide_data()
{
    QTest::addColumn<QString>("recordId");
    QTest::newRow("vide") << QString();
    QTest::newRow("lettres") << QStringLiteral("81a");
    QTest::newRow("chemin") << QStringLiteral("../812");
    QTest::newRow("injection JSON") << QStringLiteral("812,813");
    QTest::newRow("blanc") << QStringLiteral(" 812");
    QTest::newRow("chiffres arabes-indiens") << QStringLiteral("٨١٢");
}

void TestVerification::identifiantInvalide()
{
    QFETCH(QString, recordId);
    const Execution execution = verifier(recordId);
    QVERIFY2(execution.erreur.startsWith(QStringLiteral("Identifiant de devis invalide")),
             qPrintable(execution.erreur));
    QVERIFY(m_sandbox.journal().isEmpty());
    QVERIFY(!QFile::exists(m_resultat));
}

QTEST_GUILESS_MAIN(TestVerification)
#include "tst_verification.moc"
