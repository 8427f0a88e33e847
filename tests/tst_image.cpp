#include "Erreur.h"
#include "Image.h"
#include "support/Fichiers.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

class TestImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versBitmap_data();
    void versBitmap();
    void remplaceUnFichierExistant();
    void refus_data();
    void refus();
    void cheminVide();

private:
    static QString base64(const QImage& image, const char* format)
    {
        QByteArray octets;
        QBuffer tampon(&octets);
        tampon.open(QIODevice::WriteOnly);
        image.save(&tampon, format);
        return QString::fromLatin1(octets.toBase64());
    }
    static QImage dessin(int largeur, int hauteur, QImage::Format format = QImage::Format_ARGB32)
    {
        QImage image(largeur, hauteur, format);
        image.fill(QColor(200, 30, 30, 128));
        for (int x = 0; x < largeur; ++x)
            image.setPixelColor(x, x % hauteur, Qt::blue);
        return image;
    }
    // A bitmap header announcing a picture far too large, with no pixels behind it.
    static QString enTeteGeante()
    {
        QByteArray bmp(54, '\0');
        bmp[0] = 'B';
        bmp[1] = 'M';
        qToLittleEndian<quint32>(54, bmp.data() + 10);
        qToLittleEndian<quint32>(40, bmp.data() + 14);
        qToLittleEndian<qint32>(30000, bmp.data() + 18);
        qToLittleEndian<qint32>(30000, bmp.data() + 22);
        qToLittleEndian<quint16>(1, bmp.data() + 26);
        qToLittleEndian<quint16>(24, bmp.data() + 28);
        return QString::fromLatin1(bmp.toBase64());
    }

    QTemporaryDir m_dossier;
};

void TestImage::versBitmap_data()
{
    QTest::addColumn<QString>("donnees");
    QTest::addColumn<QSize>("taille");
    QTest::newRow("png 300x200") << base64(dessin(300, 200), "PNG") << QSize(300, 200);
    QTest::newRow("jpeg") << base64(dessin(64, 48, QImage::Format_RGB32), "JPEG") << QSize(64, 48);
    QTest::newRow("bmp") << base64(dessin(17, 5, QImage::Format_RGB32), "BMP") << QSize(17, 5);
    QString avecRetours = base64(dessin(40, 30), "PNG");
    for (qsizetype i = 76; i < avecRetours.size(); i += 78)
        avecRetours.insert(i, QStringLiteral("\r\n"));
    QTest::newRow("retours a la ligne ignores") << avecRetours << QSize(40, 30);
}

void TestImage::versBitmap()
{
    QFETCH(QString, donnees);
    QFETCH(QSize, taille);
    const QString chemin = m_dossier.filePath(QStringLiteral("4711.bmp"));
    QVERIFY(EnregistrerImage(chemin, donnees));
    QVERIFY(lireFichier(chemin).startsWith("BM"));
    QImageReader lecteur(chemin);
    QCOMPARE(lecteur.format(), QByteArray("bmp"));
    QCOMPARE(lecteur.size(), taille);
}

void TestImage::remplaceUnFichierExistant()
{
    const QString chemin = m_dossier.filePath(QStringLiteral("remplace.bmp"));
    ecrireFichier(chemin, "ancien contenu, pas une image");
    QVERIFY(EnregistrerImage(chemin, base64(dessin(8, 9), "PNG")));
    QCOMPARE(QImage(chemin).size(), QSize(8, 9));
}

void TestImage::refus_data()
{
    QTest::addColumn<QString>("donnees");
    QTest::newRow("vide") << QString();
    QTest::newRow("pas une image") << QString::fromLatin1(
        QByteArray("bonjour, ceci est du texte").toBase64());
    QTest::newRow("blanc hors alphabet") << base64(dessin(4, 4), "PNG").insert(8, QLatin1Char(' '));
    QTest::newRow("caractere hors alphabet") << base64(dessin(4, 4), "PNG").insert(8, QLatin1Char('*'));
    QTest::newRow("non latin") << base64(dessin(4, 4), "PNG").insert(8, QChar(0x2019));
    QTest::newRow("image demesuree") << enTeteGeante();
}

void TestImage::refus()
{
    QFETCH(QString, donnees);
    const QString chemin = m_dossier.filePath(QStringLiteral("refus.bmp"));
    QVERIFY_THROWS_EXCEPTION(Erreur, EnregistrerImage(chemin, donnees));
    // Nothing left under the bitmap's name.
    QVERIFY(!QFile::exists(chemin));
}

void TestImage::cheminVide()
{
    QTemporaryDir vide;
    QVERIFY(QDir::setCurrent(vide.path()));
    QVERIFY(!EnregistrerImage(QString(), base64(dessin(4, 4), "PNG")));
    QVERIFY(QDir(vide.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestImage)
#include "tst_image.moc"
