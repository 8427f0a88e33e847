#include "Marque.h"

#include <QWidget>

void appliquerMarque(QWidget& fiche, const QString& marque, const QString& suffixe, const LogosMarque& logos)
{
    const std::pair<const char*, QWidget*> marques[] = {
        {"olka", logos.olka},
        {"trun", logos.trun},
        {"pavesc", logos.pavesc},
    };
    for (const auto& [nom, logo] : marques) {
        if (marque == QLatin1String(nom)) {
            fiche.setWindowTitle(QStringLiteral("Calvenor - Configurateur ") + marque + suffixe);
            logo->setVisible(true);
        }
    }
}

void masquerLogos(const LogosMarque& logos)
{
    for (QWidget* logo : {logos.olka, logos.trun, logos.pavesc})
        logo->setVisible(false);
}
