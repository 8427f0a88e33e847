// Draws the three brand wordmarks into assets/logos. Run once when the artwork
// changes; the pictures are committed and compiled in through the .qrc.
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QString>
#include <cstdio>

namespace {

struct Logo
{
    QString nom;
    QString fichier;
    QSize taille;
    QColor fond;
    QColor encre;
    QColor accent;
    bool transparent;
    bool progressif;
};

QImage dessiner(const Logo& logo)
{
    QImage image(logo.taille, logo.transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(logo.transparent ? Qt::transparent : logo.fond);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF cadre(12, 12, logo.taille.width() - 24, logo.taille.height() - 24);
    if (logo.transparent) {
        p.setPen(Qt::NoPen);
        p.setBrush(logo.fond);
        p.drawRoundedRect(cadre, 36, 36);
    }
    // A stylised window: the family's products.
    const qreal cote = cadre.height() * 0.62;
    const QRectF fenetre(cadre.left() + 28, cadre.center().y() - cote / 2, cote * 0.8, cote);
    QLinearGradient verre(fenetre.topLeft(), fenetre.bottomRight());
    verre.setColorAt(0, logo.accent.lighter(150));
    verre.setColorAt(1, logo.accent);
    p.setBrush(verre);
    p.setPen(QPen(logo.encre, 7));
    p.drawRect(fenetre);
    p.drawLine(QPointF(fenetre.center().x(), fenetre.top()), QPointF(fenetre.center().x(), fenetre.bottom()));
    p.drawLine(QPointF(fenetre.left(), fenetre.center().y()), QPointF(fenetre.right(), fenetre.center().y()));

    QFont police(QStringLiteral("DejaVu Sans"));
    police.setBold(true);
    police.setPixelSize(static_cast<int>(cadre.height() * 0.42));
    p.setFont(police);
    p.setPen(logo.encre);
    const QRectF texte(fenetre.right() + 30, cadre.top(), cadre.right() - fenetre.right() - 40,
                       cadre.height() * 0.75);
    p.drawText(texte, Qt::AlignLeft | Qt::AlignBottom, logo.nom);

    QFont petite(QStringLiteral("DejaVu Sans"));
    petite.setPixelSize(static_cast<int>(cadre.height() * 0.11));
    petite.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(petite);
    p.setPen(logo.accent.darker(130));
    p.drawText(QRectF(texte.left(), texte.bottom() + 6, texte.width(), cadre.height() * 0.2),
               Qt::AlignLeft | Qt::AlignTop, QStringLiteral("MENUISERIES"));
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dossier = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets/logos");

    const Logo logos[] = {
        {QStringLiteral("olka"),
         QStringLiteral("olka.jpg"),
         {641, 257},
         QColor(0xFFFFFF),
         QColor(0x1D3557),
         QColor(0x457B9D),
         false,
         true},
        {QStringLiteral("trun"),
         QStringLiteral("trun.png"),
         {662, 282},
         QColor(0xF1FAEE),
         QColor(0x2B2D42),
         QColor(0xE63946),
         true,
         false},
        {QStringLiteral("pavesc"),
         QStringLiteral("pavesc.jpg"),
         {648, 247},
         QColor(0xFFFFFF),
         QColor(0x264653),
         QColor(0x2A9D8F),
         false,
         false},
    };
    for (const Logo& logo : logos) {
        QImageWriter ecrivain(dossier + QLatin1Char('/') + logo.fichier);
        if (logo.fichier.endsWith(QLatin1String(".jpg"))) {
            ecrivain.setQuality(90);
            ecrivain.setProgressiveScanWrite(logo.progressif);
        }
        if (!ecrivain.write(dessiner(logo))) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(logo.fichier), qPrintable(ecrivain.errorString()));
            return 1;
        }
    }
    return 0;
}
