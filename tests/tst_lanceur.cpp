#include "TFicheConfigurateur.h"
#include "support/Fichiers.h"
#include "support/RepondeurMessages.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLanceur : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void marque_data();
    void marque();
    void messageDeVersion_data();
    void messageDeVersion();
    void fichierManquant();
    void dispatchPasAvant500ms();

private:
    QString configuration(const QByteArray& contenu)
    {
        const QString chemin = m_dossier.filePath(QStringLiteral("config.ini"));
        ecrireFichier(chemin, contenu);
        return chemin;
    }

    QTemporaryDir m_dossier;
};

void TestLanceur::marque_data()
{
    QTest::addColumn<QByteArray>("marque");
    QTest::addColumn<QString>("titre");
    QTest::addColumn<QString>("logo");

    QTest::newRow("olka") << QByteArray("olka") << QStringLiteral("Calvenor - Configurateur olka")
                          << QStringLiteral("imgOlka");
    QTest::newRow("trun") << QByteArray("trun") << QStringLiteral("Calvenor - Configurateur trun")
                          << QStringLiteral("imgTrun");
    QTest::newRow("pavesc") << QByteArray("pavesc") << QStringLiteral("Calvenor - Configurateur pavesc")
                            << QStringLiteral("imgPavesc");
    QTest::newRow("Olka") << QByteArray("Olka") << QStringLiteral("Configurateur QUELT") << QString();
    QTest::newRow("vide") << QByteArray() << QStringLiteral("Configurateur QUELT") << QString();
}

void TestLanceur::marque()
{
    QFETCH(QByteArray, marque);
    QFETCH(QString, titre);
    QFETCH(QString, logo);
    RepondeurMessages repondeur;
    TFicheConfigurateur fiche;
    QSignalSpy fin(&fiche, &TFicheConfigurateur::termine);
    QSignalSpy dispatch(&fiche, &TFicheConfigurateur::dispatche);
    fiche.SetFichierConfig(configuration("[General]\nVersion=1\nMode=aucun\nConfigurateur=" + marque + "\n"));
    fiche.show();

    QTRY_COMPARE(fiche.configuration().Marque, QString::fromLatin1(marque));
    QCOMPARE(fiche.windowTitle(), titre);
    for (const char* nom : {"imgOlka", "imgTrun", "imgPavesc"}) {
        auto* image = fiche.findChild<QWidget*>(QLatin1String(nom));
        QVERIFY(image);
        QCOMPARE(image->isVisibleTo(&fiche), logo == QLatin1String(nom));
        // The artwork is compiled in and stretched to its box.
        auto* label = qobject_cast<QLabel*>(image);
        QVERIFY(label && label->hasScaledContents());
        QVERIFY(!label->pixmap().isNull());
    }
    QCOMPARE(fiche.findChild<QLabel*>(QStringLiteral("imgOlka"))->pixmap().size(), QSize(641, 257));
    QCOMPARE(fiche.findChild<QLabel*>(QStringLiteral("imgTrun"))->pixmap().size(), QSize(662, 282));
    QCOMPARE(fiche.findChild<QLabel*>(QStringLiteral("imgPavesc"))->pixmap().size(), QSize(648, 247));
    // An unknown mode opens nothing and the launcher ends by itself.
    QVERIFY(fin.wait(3000));
    QCOMPARE(dispatch.size(), 1);
    QVERIFY(repondeur.textes().isEmpty());
}

void TestLanceur::messageDeVersion_data()
{
    QTest::addColumn<QByteArray>("contenu");
    QTest::addColumn<QString>("message");

    QTest::newRow("version 2")
        << QByteArray("[General]\nVersion=2\nConfigurateur=olka\nMode=verification\n")
        << QStringLiteral("Votre Configurateur olka est en Version 1 et devrait être en Version 2.");
    QTest::newRow("fichier vide")
        << QByteArray()
        << QStringLiteral("Votre Configurateur  est en Version 1 et devrait être en Version 0.");
    QTest::newRow("1.0 n'est pas 1") << QByteArray("[General]\nVersion=1.0\nConfigurateur=trun\n")
                                     << QStringLiteral(
                                            "Votre Configurateur trun est en Version 1 et devrait être en "
                                            "Version 1.0.");
}

void TestLanceur::messageDeVersion()
{
    QFETCH(QByteArray, contenu);
    QFETCH(QString, message);
    // The user takes well over half a second to answer: no dispatch meanwhile, nor after.
    RepondeurMessages repondeur(1200);
    QElapsedTimer chrono;
    chrono.start();
    TFicheConfigurateur fiche;
    QSignalSpy fin(&fiche, &TFicheConfigurateur::termine);
    QSignalSpy dispatch(&fiche, &TFicheConfigurateur::dispatche);
    fiche.SetFichierConfig(configuration(contenu));
    fiche.show();

    QVERIFY(fin.wait(5000));
    QVERIFY(chrono.elapsed() >= 1200);
    QCOMPARE(repondeur.textes(), QStringList{message});
    QTest::qWait(700);
    QCOMPARE(dispatch.size(), 0);
}

void TestLanceur::fichierManquant()
{
    RepondeurMessages repondeur(800);
    TFicheConfigurateur fiche;
    QSignalSpy fin(&fiche, &TFicheConfigurateur::termine);
    QSignalSpy dispatch(&fiche, &TFicheConfigurateur::dispatche);
    const QString chemin = m_dossier.filePath(QStringLiteral("absent dossier/config.ini"));
    fiche.SetFichierConfig(chemin);
    fiche.show();

    QVERIFY(fin.wait(5000));
    QCOMPARE(repondeur.textes(),
             QStringList{QStringLiteral("Le configurateur Quelt n'est pas configuré. Le fichier : ") +
                         chemin + QStringLiteral(" n'existe pas.")});
    QTest::qWait(300);
    QCOMPARE(dispatch.size(), 0);
    QCOMPARE(fiche.configuration(), Configuration());
}

void TestLanceur::dispatchPasAvant500ms()
{
    RepondeurMessages repondeur;
    QElapsedTimer chrono;
    chrono.start();
    TFicheConfigurateur fiche;
    QSignalSpy fin(&fiche, &TFicheConfigurateur::termine);
    qint64 instant = -1;
    QString mode;
    connect(&fiche, &TFicheConfigurateur::dispatche, this, [&](const QString& m) {
        instant = chrono.elapsed();
        mode = m;
        QVERIFY(!fiche.isVisible());
    });
    fiche.SetFichierConfig(configuration("[General]\nVersion=1\nMode=Chiffrage\n"));
    fiche.show();

    QVERIFY(fin.wait(3000));
    QVERIFY2(instant >= 500, qPrintable(QString::number(instant)));
    QCOMPARE(mode, QStringLiteral("Chiffrage"));
    QVERIFY(repondeur.textes().isEmpty());
}

QTEST_MAIN(TestLanceur)
#include "tst_lanceur.moc"
