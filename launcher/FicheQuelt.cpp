#include "FicheQuelt.h"

#include "Frontiere.h"

#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QTimer>

FicheQuelt::FicheQuelt(QWidget* proprietaire)
    : QDialog(proprietaire, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                Qt::CustomizeWindowHint)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
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
