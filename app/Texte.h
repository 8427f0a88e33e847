#pragma once

#include <QByteArray>
#include <QString>

// The one place where text crosses the program's edges. Inside, text is QString;
// bytes exist only in files read or written and in HTTP bodies.
namespace Texte {

// Text file from a host: BOM-marked UTF-8/UTF-16/UTF-32 as marked, otherwise UTF-8
// when the bytes are valid UTF-8, otherwise Windows-1252 (what a Windows host writes).
QString decoderFichierHote(const QByteArray& octets);

// True when the bytes are well-formed UTF-8 (an empty array is).
bool estUtf8Valide(const QByteArray& octets);

QByteArray versUtf8(const QString& texte);
QString depuisUtf8(const QByteArray& octets);

// ISO-8859-1 bytes; a character outside it becomes a numeric character reference
// (&#8217;), so an XML document stays right under its declared encoding.
QByteArray versLatin1AvecReferences(const QString& texte);

// An HTTP body as text: the charset of its Content-Type when Qt knows it, else UTF-8
// when valid, else Windows-1252.
QString decoderCorpsHttp(const QByteArray& corps, const QByteArray& typeContenu);

} // namespace Texte
