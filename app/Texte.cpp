#include "Texte.h"

#include <QList>
#include <QStringDecoder>

namespace Texte {

namespace {

QString decoder(QStringDecoder decodeur, QByteArrayView octets)
{
    return decodeur.decode(octets);
}

QString depuisWindows1252(QByteArrayView octets)
{
    return decoder(QStringDecoder("windows-1252"), octets);
}

} // namespace

bool estUtf8Valide(const QByteArray& octets)
{
    QStringDecoder decodeur(QStringDecoder::Utf8);
    const QString texte = decodeur.decode(octets);
    Q_UNUSED(texte);
    return !decodeur.hasError();
}

QString decoderFichierHote(const QByteArray& octets)
{
    // The BOM tells the encoding; QStringDecoder drops the BOM itself.
    if (const auto encodage = QStringConverter::encodingForData(octets)) {
        if (octets.startsWith("\xEF\xBB\xBF") || *encodage != QStringConverter::Utf8)
            return decoder(QStringDecoder(*encodage), octets);
    }
    if (estUtf8Valide(octets))
        return depuisUtf8(octets);
    return depuisWindows1252(octets);
}

QByteArray versUtf8(const QString& texte)
{
    return texte.toUtf8();
}

QString depuisUtf8(const QByteArray& octets)
{
    return QString::fromUtf8(octets);
}

QByteArray versLatin1AvecReferences(const QString& texte)
{
    QByteArray sortie;
    sortie.reserve(texte.size());
    for (const uint point : texte.toUcs4()) {
        if (point <= 0xFF)
            sortie.append(static_cast<char>(point));
        else
            sortie.append("&#").append(QByteArray::number(point)).append(';');
    }
    return sortie;
}

QString decoderCorpsHttp(const QByteArray& corps, const QByteArray& typeContenu)
{
    const qsizetype position = typeContenu.toLower().indexOf("charset=");
    if (position >= 0) {
        QByteArray jeu = typeContenu.mid(position + 8).trimmed();
        if (const qsizetype fin = jeu.indexOf(';'); fin >= 0)
            jeu.truncate(fin);
        jeu = jeu.trimmed();
        if (jeu.startsWith('"') && jeu.endsWith('"') && jeu.size() >= 2)
            jeu = jeu.mid(1, jeu.size() - 2);
        QStringDecoder decodeur(jeu.constData());
        if (decodeur.isValid())
            return decodeur.decode(corps);
    }
    if (estUtf8Valide(corps))
        return depuisUtf8(corps);
    return depuisWindows1252(corps);
}

} // namespace Texte
