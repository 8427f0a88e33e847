#include "TFicheConfigurateurCommande.h"
#include "TFicheConfigurateurVerification.h"
#include "support/Fichiers.h"
#include "support/Plateformes.h"
#include "support/RepondeurMessages.h"
#include "support/Sandbox.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The check and order dialogs in-process (offscreen) against the sandbox.
class TestFichesEtapes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void verificationSansIntervention();
    void commandeEchoueEtResteOuverte();
    void fermetureDemandeePendantLEnvoi();
    void fermetureAvantLaMinuterie();

private:
    template <typename Fiche> void remplir(Fiche& fiche, const QString& marque)
    {
        const AccesPlateforme acces = accesSandbox(m_sandbox.url());
        fiche.SetMarque(marque);
        fiche.SetFichierTemp(m_resultat);
        fiche.SetEmailService(acces.service.EmailService);
        fiche.SetMotDePasseService(acces.service.MotDePasseService);
        fiche.SetCleEmetteur(acces.service.CleEmetteur);
        fiche.SetRecordId(QStringLiteral("4711"));
        fiche.SetAdresseApiPlateforme(acces.AdresseApiPlateforme);
    }

    Sandbox m_sandbox;
    QTemporaryDir m_dossier;
    QString m_resultat;
};

void TestFichesEtapes::initTestCase()
{
    QVERIFY(m_sandbox.demarre());
    m_resultat = m_dossier.filePath(QStringLiteral("resultat.xml"));
}

void TestFichesEtapes::init()
{
    m_sandbox.reinitialiser();
    m_sandbox.enregistrer(QStringLiteral("4711"), R"({"id":4711,"indirectMode":false})");
    QFile::remove(m_resultat);
}

void TestFichesEtapes::verificationSansIntervention()
{
    m_sandbox.codeErreur(QStringLiteral("4711"), R"("PRICER_NOT_ALLOWED")");
    RepondeurMessages repondeur;
    TFicheConfigurateurVerification fiche(nullptr);
    remplir(fiche, QStringLiteral("trun"));
    QSignalSpy fin(&fiche, &QDialog::finished);
    fiche.open();

    QTRY_COMPARE(fiche.windowTitle(), QStringLiteral("Calvenor - Configurateur trun - Vérification"));
    QVERIFY(fiche.findChild<QWidget*>(QStringLiteral("imgTrun"))->isVisibleTo(&fiche));
    QVERIFY(!fiche.findChild<QWidget*>(QStringLiteral("imgOlka"))->isVisibleTo(&fiche));
    QVERIFY(fin.wait(5000));
    QCOMPARE(fiche.statut(), QStringLiteral("Fin de la vérification"));
    QCOMPARE(fiche.issue().Code, QStringLiteral("PRICER_NOT_ALLOWED"));
    QVERIFY(lireFichier(m_resultat).contains("<Libelle>L&#8217;utilisateur n&#8217;a pas le droit"));
    QVERIFY(repondeur.textes().isEmpty());
}

void TestFichesEtapes::commandeEchoueEtResteOuverte()
{
    m_sandbox.surcharger({{"method", "POST"},
                          {"path", QLatin1String(Plateforme::CheminCommande)},
                          {"status", 500},
                          {"body", ""}});
    RepondeurMessages repondeur(100);
    TFicheConfigurateurCommande fiche(nullptr);
    remplir(fiche, QStringLiteral("Olka"));
    QSignalSpy fin(&fiche, &QDialog::finished);
    fiche.open();

    QTRY_VERIFY_WITH_TIMEOUT(!repondeur.textes().isEmpty(), 5000);
    QTRY_COMPARE(repondeur.ouverts(), 0);
    const QString message = repondeur.textes().first();
    QVERIFY2(message.contains(QStringLiteral("l’envoi de la commande")) &&
                 message.contains(QStringLiteral("500")),
             qPrintable(message));
    // Stays open with its last status, never retried.
    QTest::qWait(1500);
    QVERIFY(fiche.isVisible());
    QCOMPARE(fin.size(), 0);
    QCOMPARE(fiche.windowTitle(), QStringLiteral("Configurateur Quelt"));
    QCOMPARE(fiche.statut(), QStringLiteral("Transfert de la demande de commande au configurateur"));
    QCOMPARE(m_sandbox.journal().size(), 1);
    QVERIFY(!QFile::exists(m_resultat));
    fiche.close();
    QCOMPARE(fin.size(), 1);
}

void TestFichesEtapes::fermetureDemandeePendantLEnvoi()
{
    m_sandbox.surcharger({{"method", "POST"},
                          {"path", QLatin1String(Plateforme::CheminCommande)},
                          {"action", "stall"},
                          {"delayMs", 1500},
                          {"status", 200},
                          {"body", R"({"reference":"CDE-9"})"}});
    TFicheConfigurateurCommande fiche(nullptr);
    remplir(fiche, QStringLiteral("pavesc"));
    QSignalSpy fin(&fiche, &QDialog::finished);
    // The run happens inside the timer's handler: act from a timer that fires while
    // the request is under way, as the user's click on the close box would.
    QString statutPendant;
    bool enCours = false;
    bool visibleApres = false;
    QTimer::singleShot(1700, &fiche, [&] {
        statutPendant = fiche.statut();
        enCours = fiche.enCours();
        fiche.close();
        visibleApres = fiche.isVisible();
    });
    fiche.open();

    QVERIFY(fin.wait(6000));
    QCOMPARE(statutPendant, QStringLiteral("Transfert de la demande de commande au configurateur"));
    QVERIFY(enCours);
    // Noted, not acted on: the run went on, wrote its result, then the dialog closed.
    QVERIFY(visibleApres);
    QCOMPARE(fiche.issue().Libelle, QStringLiteral("CDE-9"));
    QVERIFY(lireFichier(m_resultat).contains("<Libelle>CDE-9</Libelle>"));
}

void TestFichesEtapes::fermetureAvantLaMinuterie()
{
    TFicheConfigurateurVerification fiche(nullptr);
    remplir(fiche, QStringLiteral("olka"));
    fiche.open();
    QTRY_COMPARE(fiche.windowTitle(), QStringLiteral("Calvenor - Configurateur olka - Vérification"));
    fiche.close();
    QTest::qWait(1500);
    QVERIFY(m_sandbox.journal().isEmpty());
    QVERIFY(!QFile::exists(m_resultat));
}

QTEST_MAIN(TestFichesEtapes)
#include "tst_fichesetapes.moc"
