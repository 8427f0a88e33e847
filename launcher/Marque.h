#pragma once

#include <QString>

class QWidget;

// The three logo boxes of a form, one per known brand.
struct LogosMarque
{
    QWidget* olka;
    QWidget* trun;
    QWidget* pavesc;
};

// The brand step every form runs first on activation: for a known brand (exact
// match) the caption names it and its logo shows; otherwise nothing changes.
void appliquerMarque(QWidget& fiche, const QString& marque, const QString& suffixe, const LogosMarque& logos);

// At creation every logo is hidden; the brand step shows at most one.
void masquerLogos(const LogosMarque& logos);
