#include "Image.h"

#include "DocumentResultat.h"
#include "Erreur.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

bool EnregistrerImage(const QString& chemin, const QString& base64)
{
    if (chemin.isEmpty())
        return false;

    // A character outside Latin-1 becomes '?', which the strict decoding refuses.
    QByteArray texte = base64.toLatin1();
    texte.replace('\r', QByteArray()).replace('\n', QByteArray());
    const auto decode = QByteArray::fromBase64Encoding(texte, QByteArray::AbortOnBase64DecodingErrors);
    if (!decode)
        throw Erreur(QStringLiteral("L’image du devis est illisible : son texte Base64 est invalide."));

    QByteArray octets = *decode;
    QBuffer tampon(&octets);
    QImageReader::setAllocationLimit(Image::LimiteAllocationMo);
    QImageReader lecteur(&tampon);
    const QImage image = lecteur.read();
    if (image.isNull())
        throw Erreur(QStringLiteral("L’image du devis est illisible : %1.").arg(lecteur.errorString()));

    // Transparent parts of the picture come out white.
    QImage bitmap(image.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter peintre(&bitmap);
        peintre.drawImage(0, 0, image);
    }
    QByteArray bmp;
    QBuffer sortie(&bmp);
    sortie.open(QIODevice::WriteOnly);
    if (!QImageWriter(&sortie, "BMP").write(bitmap))
        throw Erreur(QStringLiteral("L’image du devis n’a pas pu être convertie en bitmap."));
    Resultat::ecrireAtomiquement(chemin, bmp, QStringLiteral("l’image du devis"));
    return true;
}
