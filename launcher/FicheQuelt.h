#pragma once

#include <QDialog>
#include <functional>

// What the four forms share: a fixed white dialog frame without minimise or maximise
// buttons, Escape doing nothing, the activation work run once per showing, and a
// close asked for while a run is under way taking effect when the run ends.
class FicheQuelt : public QDialog
{
    Q_OBJECT

public:
    explicit FicheQuelt(QWidget* proprietaire);

    bool enCours() const { return m_enCours; }

protected:
    // The form's activation work; runs inside the error boundary.
    virtual void FormActivate() = 0;

    // Runs one piece of work inside the error boundary, strictly one at a time.
    void executer(const std::function<void()>& travail);

    // After setupUi: the form description's faces, with fallbacks where they are missing.
    void appliquerPolices();
    void planifierActivation();
    void reject() override;
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    bool m_enCours = false;
    bool m_fermetureDemandee = false;
    bool m_activationPlanifiee = false;
};
