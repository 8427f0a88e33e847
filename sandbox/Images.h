#pragma once

#include <QByteArray>
#include <optional>
#include <string>

// Pictures of the priced products, drawn with shapes only (no text, so no font is
// needed) and encoded in the format a record asks for.
namespace Images {

enum class Format
{
    Png,
    Jpeg,
    Bmp
};

std::optional<Format> lireFormat(const std::string& nom);
const char* nomFormat(Format format);

enum class Dessin
{
    Fenetre,      // two casements
    PorteFenetre, // two tall casements over a low panel
    Porte,        // entrance door with a small glazing
    Volet         // roller shutter: box and slats
};

struct Apparence
{
    bool croisillons = false; // glazing bars
    bool teinteBois = false;  // wood-coloured frame instead of white
};

// Size in pixels of the picture of a product of these dimensions (mm): the longer
// side is 300 px, the other one in proportion.
struct Taille
{
    int largeur;
    int hauteur;
};
Taille tailleProportionnelle(int largeurMm, int hauteurMm);

// Encoded file bytes (PNG, JPEG or BMP) of a largeur x hauteur pixels picture.
QByteArray dessiner(Dessin dessin, const Apparence& apparence, Taille taille, Format format);

// Same, as Base64 text, the form a record carries it in.
std::string dessinerBase64(Dessin dessin, const Apparence& apparence, Taille taille, Format format);

} // namespace Images
