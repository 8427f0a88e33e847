#include "Configuration.h"
#include "support/Fichiers.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Configuration)

class TestConfiguration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lecture_data();
    void lecture();
    void fichierAbsentOuDossier();
    void secondeLectureApresDisparition();

private:
    QTemporaryDir m_dossier;
};

namespace {

Configuration avec(std::initializer_list<std::pair<QString Configuration::*, QString>> valeurs)
{
    Configuration c;
    for (const auto& [champ, valeur] : valeurs)
        c.*champ = valeur;
    return c;
}

QByteArray utf16AvecBom(const QString& texte)
{
    QByteArray octets("\xFF\xFE", 2);
    octets.append(reinterpret_cast<const char*>(texte.utf16()), texte.size() * 2);
    return octets;
}

} // namespace

void TestConfiguration::lecture_data()
{
    QTest::addColumn<QByteArray>("contenu");
    QTest::addColumn<Configuration>("attendu");

    const QString mille(1000, QLatin1Char('x'));
    QTest::newRow("fichier vide") << QByteArray() << Configuration();
    QTest::newRow("neuf valeurs")
        << QByteArray("[General]\r\nVersion=1\r\nConfigurateur=olka\r\nMode=commande\r\n"
                      "[Utilisateur]\r\nIdentifiant=jean@ex.fr\r\nMotDePasse=s3cret\r\n"
                      "[Update]\r\nDevisId=D123\r\n[RecordId]\r\nValeur=4711\r\n"
                      "[Commande]\r\nNumero=2021-042\r\nReference=Chantier Nord\r\n")
        << Configuration{
               QStringLiteral("1"),          QStringLiteral("olka"),     QStringLiteral("commande"),
               QStringLiteral("jean@ex.fr"), QStringLiteral("s3cret"),   QStringLiteral("D123"),
               QStringLiteral("4711"),       QStringLiteral("2021-042"), QStringLiteral("Chantier Nord")};
    QTest::newRow("cles absentes: defauts")
        << QByteArray("[General]\nConfigurateur=trun\n[Autre]\nMode=commande\n")
        << avec({{&Configuration::Marque, QStringLiteral("trun")}});
    QTest::newRow("valeurs vides") << QByteArray("[General]\nVersion=\nMode=\n")
                                   << avec({{&Configuration::Version, QString()},
                                            {&Configuration::Mode, QString()}});
    QTest::newRow("casse des noms")
        << QByteArray("[GENERAL]\nversion=1\nMODE=verification\n[recordid]\nVALEUR=812\n")
        << avec({{&Configuration::Version, QStringLiteral("1")},
                 {&Configuration::Mode, QStringLiteral("verification")},
                 {&Configuration::RecordId, QStringLiteral("812")}});
    QTest::newRow("blancs autour") << QByteArray("[General]\nVersion =   1  \n Configurateur\t=\tpavesc \n")
                                   << avec({{&Configuration::Version, QStringLiteral("1")},
                                            {&Configuration::Marque, QStringLiteral("pavesc")}});
    QTest::newRow("doublons: le premier")
        << QByteArray("[General]\nVersion=1\nVersion=2\n[General]\nMode=commande\n"
                      "[general]\nMode=verification\n")
        << avec({{&Configuration::Version, QStringLiteral("1")},
                 {&Configuration::Mode, QStringLiteral("commande")}});
    QTest::newRow("commentaires")
        << QByteArray("; Version=9\n[General]\n# Mode=commande\n;Configurateur=trun\nVersion=1\n")
        << avec({{&Configuration::Version, QStringLiteral("1")}});
    QTest::newRow("pas de commentaire en ligne")
        << QByteArray("[Utilisateur]\nMotDePasse=abc ;def #ghi\n")
        << avec({{&Configuration::MotDePasse, QStringLiteral("abc ;def #ghi")}});
    QTest::newRow("valeur de 1000 caracteres")
        << (QByteArray("[Commande]\nReference=") + mille.toLatin1() + "\nNumero=7\n")
        << avec({{&Configuration::ReferenceCommande, mille},
                 {&Configuration::NumeroCommande, QStringLiteral("7")}});
    QTest::newRow("cles indentees") << QByteArray(
                                           "[General]\nVersion=1\n    Mode=commande\n\tConfigurateur=olka\n")
                                    << avec({{&Configuration::Version, QStringLiteral("1")},
                                             {&Configuration::Mode, QStringLiteral("commande")},
                                             {&Configuration::Marque, QStringLiteral("olka")}});
    QTest::newRow("guillemets gardes")
        << QByteArray("[Commande]\nReference=\"Nord\"\n")
        << avec({{&Configuration::ReferenceCommande, QStringLiteral("\"Nord\"")}});
    QTest::newRow("utf-8 avec BOM")
        << QByteArray("\xEF\xBB\xBF[General]\nVersion=1\n[Commande]\nReference=Fenêtre "
                      "séjour\n")
        << avec({{&Configuration::Version, QStringLiteral("1")},
                 {&Configuration::ReferenceCommande, QStringLiteral("Fenêtre séjour")}});
    QTest::newRow("utf-8 sans BOM") << QByteArray("[Commande]\nReference=Baie vitrée\n")
                                    << avec({{&Configuration::ReferenceCommande,
                                              QStringLiteral("Baie vitrée")}});
    QTest::newRow("utf-16 avec BOM")
        << utf16AvecBom(QStringLiteral("[General]\r\nVersion=1\r\n[Commande]\r\nReference=Façade été\r\n"))
        << avec({{&Configuration::Version, QStringLiteral("1")},
                 {&Configuration::ReferenceCommande, QStringLiteral("Façade été")}});
    QTest::newRow("windows-1252") << QByteArray("[Commande]\nReference=Fen\xEAtre l\x92\xE9t\xE9 \x80\n")
                                  << avec({{&Configuration::ReferenceCommande,
                                            QStringLiteral("Fenêtre l’été €")}});
    QTest::newRow("Mode en capitale garde") << QByteArray("[General]\nMode=Chiffrage\n")
                                            << avec({{&Configuration::Mode, QStringLiteral("Chiffrage")}});
}

void TestConfiguration::lecture()
{
    QFETCH(QByteArray, contenu);
    QFETCH(Configuration, attendu);
    const QString chemin = m_dossier.filePath(QStringLiteral("config.ini"));
    ecrireFichier(chemin, contenu);

    const std::optional<Configuration> lue = lireFichierConfiguration(chemin);
    QVERIFY(lue);
    QCOMPARE(lue->Version, attendu.Version);
    QCOMPARE(lue->Marque, attendu.Marque);
    QCOMPARE(lue->Mode, attendu.Mode);
    QCOMPARE(lue->Identifiant, attendu.Identifiant);
    QCOMPARE(lue->MotDePasse, attendu.MotDePasse);
    QCOMPARE(lue->DevisId, attendu.DevisId);
    QCOMPARE(lue->RecordId, attendu.RecordId);
    QCOMPARE(lue->NumeroCommande, attendu.NumeroCommande);
    QCOMPARE(lue->ReferenceCommande, attendu.ReferenceCommande);
    // Only ever read.
    QCOMPARE(lireFichier(chemin), contenu);
}

void TestConfiguration::fichierAbsentOuDossier()
{
    QVERIFY(!lireFichierConfiguration(m_dossier.filePath(QStringLiteral("absent.ini"))));
    QVERIFY(!lireFichierConfiguration(m_dossier.path()));
    QVERIFY(!lireFichierConfiguration(QString()));
    QCOMPARE(messageConfigurationManquante(QStringLiteral("C:\\Hote\\config 1.ini")),
             QStringLiteral("Le configurateur Quelt n'est pas configuré. Le fichier : C:\\Hote\\config 1.ini "
                            "n'existe pas."));
}

void TestConfiguration::secondeLectureApresDisparition()
{
    const QString chemin = m_dossier.filePath(QStringLiteral("ephemere.ini"));
    ecrireFichier(chemin, "[General]\nVersion=1\n");
    QCOMPARE(lireFichierConfiguration(chemin)->Version, QStringLiteral("1"));
    ecrireFichier(chemin, "[General]\nVersion=3\n");
    QCOMPARE(lireFichierConfiguration(chemin)->Version, QStringLiteral("3"));
    QVERIFY(QFile::remove(chemin));
    QVERIFY(!lireFichierConfiguration(chemin));
}

QTEST_GUILESS_MAIN(TestConfiguration)
#include "tst_configuration.moc"
