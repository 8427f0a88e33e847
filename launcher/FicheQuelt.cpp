#include "FicheQuelt.h"

#include "Frontiere.h"

#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QTimer>

// The logos live in a static library: referencing its resources keeps them linked in.
static void initialiserRessources()
{
    Q_INIT_RESOURCE(quelt);
}

namespace {

// The forms are laid out in pixels at 96 dpi: the described face at its pixel size
// where the system has it, otherwise the closest narrow sans serif it has, so that
// no screen resolution or wider fallback face cuts their fixed-size texts.
QFont policeDesFiches(const QFont& depart)
{
    const QStringList disponibles = QFontDatabase::families();
    QFont police = depart;
    if (depart.pointSizeF() > 0)
        police.setPixelSize(qRound(depart.pointSizeF() * 96.0 / 72.0));
    for (const QString& famille :
         {depart.family(), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")}) {
        if (disponibles.contains(famille, Qt::CaseInsensitive)) {
            police.setFamilies({famille});
            break;
        }
    }
    return police;
}

} // namespace

FicheQuelt::FicheQuelt(QWidget* proprietaire)
    : QDialog(proprietaire, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                Qt::CustomizeWindowHint)
{
    static const bool ressources = (initialiserRessources(), true);
    Q_UNUSED(ressources);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
}

void FicheQuelt::appliquerPolices()
{
    setFont(policeDesFiches(font()));
    for (QWidget* enfant : findChildren<QWidget*>())
        if (enfant->testAttribute(Qt::WA_SetFont))
            enfant->setFont(policeDesFiches(enfant->font()));
}

void FicheQuelt::executer(const std::function<void()>& travail)
{
    if (m_enCours)
        return;
    m_enCours = true;
    Frontiere::protege(this, travail);
    m_enCours = false;
    if (m_fermetureDemandee) {
        m_fermetureDemandee = false;
        close();
    }
}

void FicheQuelt::planifierActivation()
{
    if (m_activationPlanifiee)
        return;
    m_activationPlanifiee = true;
    // Queued, so the window is on screen (and painted) before the work starts.
    QTimer::singleShot(0, this, [this] {
        m_activationPlanifiee = false;
        if (isVisible())
            executer([this] { FormActivate(); });
    });
}

void FicheQuelt::reject()
{
    if (m_enCours) {
        m_fermetureDemandee = true;
        return;
    }
    QDialog::reject();
}

void FicheQuelt::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    planifierActivation();
}

void FicheQuelt::keyPressEvent(QKeyEvent* evenement)
{
    // No form has a cancel button: Escape does nothing.
    if (evenement->key() == Qt::Key_Escape) {
        evenement->accept();
        return;
    }
    QDialog::keyPressEvent(evenement);
}
