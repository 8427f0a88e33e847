#pragma once

#include "Configuration.h"
#include "FicheQuelt.h"

#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace Ui {
class TFicheConfigurateur;
}

// The main form: shows the brand for about half a second, checks the configuration
// version, then opens the dialog that Mode names and ends the program when it closes.
class TFicheConfigurateur : public FicheQuelt
{
    Q_OBJECT

public:
    explicit TFicheConfigurateur(QWidget* parent = nullptr);
    ~TFicheConfigurateur() override;

    void SetFichierTemp(const QString& valeur) { m_fichierTemp = valeur; }
    void SetFichierConfig(const QString& valeur) { m_fichierConfig = valeur; }
    QString GetFichierConfig() const { return m_fichierConfig; }

    // True when the configuration file is missing (its message has been shown).
    bool LireConfiguration(const QString& chemin);

    const Configuration& configuration() const { return m_config; }

Q_SIGNALS:
    // The first tick found a good activation: the launcher hides and opens Mode's dialog.
    void dispatche(const QString& mode);
    // The launcher has closed: the program ends.
    void termine();

protected:
    void FormActivate() override;
    void changeEvent(QEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;

private:
    void Timer1Timer();
    void tenterDispatch();
    void LancerChiffrage();
    void LancerVerification();
    void LancerCommande();
    void fermer();

    std::unique_ptr<Ui::TFicheConfigurateur> ui;
    QTimer Timer1;
    QElapsedTimer m_depuisCreation;

    QString m_fichierConfig;
    QString m_fichierTemp;
    Configuration m_config;

    bool m_activationReussie = false;
    bool m_tickRecu = false;
    bool m_dispatchFait = false;
    bool m_ferme = false;
};
