#include "Images.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Images {

namespace {

const QColor Contour(70, 74, 80);
const QColor CadreBlanc(244, 244, 242);
const QColor CadreBois(139, 94, 52);
const QColor Verre(178, 214, 234);
const QColor Reflet(214, 234, 246);
const QColor Poignee(60, 60, 64);

QColor couleurCadre(const Apparence& apparence)
{
    return apparence.teinteBois ? CadreBois : CadreBlanc;
}

void rectangle(QPainter& p, const QRectF& r, const QColor& fond)
{
    p.setPen(QPen(Contour, 1.0));
    p.setBrush(fond);
    p.drawRect(r);
}

// A glazed pane with a diagonal reflection, and glazing bars when asked for.
void vitrage(QPainter& p, const QRectF& r, const Apparence& apparence)
{
    rectangle(p, r, Verre);
    p.setPen(QPen(Reflet, std::max(2.0, r.width() / 12.0)));
    p.drawLine(QPointF(r.left() + r.width() * 0.2, r.bottom() - r.height() * 0.15),
               QPointF(r.left() + r.width() * 0.55, r.top() + r.height() * 0.2));
    if (apparence.croisillons) {
        p.setPen(QPen(QColor(196, 160, 64), std::max(1.5, r.width() / 40.0)));
        p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
        for (int i = 1; i < 3; ++i) {
            const double y = r.top() + r.height() * i / 3.0;
            p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        }
    }
}

// One casement: its own frame around the glazing, and a lower panel when the
// part below the glass is opaque (French window).
void vantail(QPainter& p, const QRectF& r, double epaisseur, double partPanneau, const Apparence& apparence)
{
    rectangle(p, r, couleurCadre(apparence));
    QRectF interieur = r.adjusted(epaisseur, epaisseur, -epaisseur, -epaisseur);
    if (partPanneau > 0.0) {
        const double hauteurPanneau = interieur.height() * partPanneau;
        const QRectF panneau(interieur.left(), interieur.bottom() - hauteurPanneau, interieur.width(),
                             hauteurPanneau);
        rectangle(p, panneau.adjusted(epaisseur / 2, epaisseur / 2, -epaisseur / 2, -epaisseur / 2),
                  couleurCadre(apparence).darker(108));
        interieur.setBottom(panneau.top() - epaisseur);
    }
    vitrage(p, interieur, apparence);
}

void poignee(QPainter& p, QPointF centre, double echelle)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Poignee);
    p.drawRoundedRect(QRectF(centre.x() - echelle / 2, centre.y() - echelle * 2, echelle, echelle * 4),
                      echelle / 3, echelle / 3);
}

void fenetre(QPainter& p, const QRectF& r, const Apparence& apparence, double partPanneau)
{
    const double e = std::max(3.0, std::min(r.width(), r.height()) / 18.0);
    rectangle(p, r, couleurCadre(apparence));
    const QRectF dormant = r.adjusted(e, e, -e, -e);
    const double moitie = dormant.width() / 2.0;
    vantail(p, QRectF(dormant.left(), dormant.top(), moitie, dormant.height()), e * 0.7, partPanneau,
            apparence);
    vantail(p, QRectF(dormant.left() + moitie, dormant.top(), moitie, dormant.height()), e * 0.7, partPanneau,
            apparence);
    poignee(p, QPointF(dormant.center().x() + e * 0.4, dormant.center().y()), std::max(2.0, e * 0.5));
}

void porte(QPainter& p, const QRectF& r, const Apparence& apparence)
{
    const double e = std::max(3.0, std::min(r.width(), r.height()) / 16.0);
    rectangle(p, r, couleurCadre(apparence));
    const QRectF ouvrant = r.adjusted(e, e, -e, 0);
    const QColor teinte = apparence.teinteBois ? CadreBois : QColor(92, 110, 128);
    rectangle(p, ouvrant, teinte);
    const QRectF oculus(ouvrant.left() + ouvrant.width() * 0.35, ouvrant.top() + ouvrant.height() * 0.12,
                        ouvrant.width() * 0.3, ouvrant.height() * 0.4);
    vitrage(p, oculus, apparence);
    p.setPen(QPen(teinte.darker(130), std::max(1.0, e / 4)));
    for (const double y : {0.62, 0.78}) {
        const double hauteur = ouvrant.top() + ouvrant.height() * y;
        p.drawLine(QPointF(ouvrant.left() + ouvrant.width() * 0.15, hauteur),
                   QPointF(ouvrant.right() - ouvrant.width() * 0.15, hauteur));
    }
    poignee(p, QPointF(ouvrant.right() - ouvrant.width() * 0.1, ouvrant.center().y()),
            std::max(2.0, e * 0.6));
}

void volet(QPainter& p, const QRectF& r, const Apparence& apparence)
{
    const QColor cadre = couleurCadre(apparence);
    const double coffre = std::max(8.0, r.height() * 0.14);
    const double coulisse = std::max(3.0, r.width() / 30.0);
    rectangle(p, QRectF(r.left(), r.top(), r.width(), coffre), cadre);
    rectangle(p, QRectF(r.left(), r.top() + coffre, coulisse, r.height() - coffre), cadre.darker(110));
    rectangle(p, QRectF(r.right() - coulisse, r.top() + coffre, coulisse, r.height() - coffre),
              cadre.darker(110));
    const QRectF tablier(r.left() + coulisse, r.top() + coffre, r.width() - 2 * coulisse,
                         r.height() - coffre);
    const double lame = std::max(4.0, tablier.height() / 24.0);
    int rang = 0;
    for (double y = tablier.top(); y < tablier.bottom(); y += lame, ++rang) {
        const double bas = std::min(y + lame, tablier.bottom());
        rectangle(p, QRectF(tablier.left(), y, tablier.width(), bas - y),
                  rang % 2 == 0 ? cadre.darker(104) : cadre.darker(114));
    }
}

const char* nomQt(Format format)
{
    switch (format) {
    case Format::Jpeg:
        return "JPEG";
    case Format::Bmp:
        return "BMP";
    case Format::Png:
        break;
    }
    return "PNG";
}

} // namespace

std::optional<Format> lireFormat(const std::string& nom)
{
    if (nom == "png") {
        return Format::Png;
    }
    if (nom == "jpeg" || nom == "jpg") {
        return Format::Jpeg;
    }
    if (nom == "bmp") {
        return Format::Bmp;
    }
    return std::nullopt;
}

const char* nomFormat(Format format)
{
    switch (format) {
    case Format::Jpeg:
        return "jpeg";
    case Format::Bmp:
        return "bmp";
    case Format::Png:
        break;
    }
    return "png";
}

Taille tailleProportionnelle(int largeurMm, int hauteurMm)
{
    const double l = std::max(1, largeurMm);
    const double h = std::max(1, hauteurMm);
    const double echelle = 300.0 / std::max(l, h);
    return {std::max(40, static_cast<int>(std::lround(l * echelle))),
            std::max(40, static_cast<int>(std::lround(h * echelle)))};
}

QByteArray dessiner(Dessin dessin, const Apparence& apparence, Taille taille, Format format)
{
    QImage image(std::max(1, taille.largeur), std::max(1, taille.hauteur), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF zone(0.5, 0.5, image.width() - 1.0, image.height() - 1.0);
        switch (dessin) {
        case Dessin::Fenetre:
            fenetre(p, zone, apparence, 0.0);
            break;
        case Dessin::PorteFenetre:
            fenetre(p, zone, apparence, 0.25);
            break;
        case Dessin::Porte:
            porte(p, zone, apparence);
            break;
        case Dessin::Volet:
            volet(p, zone, apparence);
            break;
        }
    }
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    if (!image.save(&tampon, nomQt(format), format == Format::Jpeg ? 90 : -1)) {
        throw std::runtime_error(std::string("cannot encode picture as ") + nomFormat(format));
    }
    return octets;
}

std::string dessinerBase64(Dessin dessin, const Apparence& apparence, Taille taille, Format format)
{
    return dessiner(dessin, apparence, taille, format).toBase64().toStdString();
}

} // namespace Images
