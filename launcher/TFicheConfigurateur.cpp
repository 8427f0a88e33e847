#include "TFicheConfigurateur.h"

#include "ConstantesConstruction.h"
#include "Frontiere.h"
#include "Marque.h"
#include "TFicheConfigurateurCommande.h"
#include "TFicheConfigurateurRecupDevis.h"
#include "TFicheConfigurateurVerification.h"
#include "ui_TFicheConfigurateur.h"

#include <QCloseEvent>

namespace {

constexpr int DelaiLogoMs = 500;

// The service account reaches the dialogs only from the launcher.
template <typename Fiche> void confierService(Fiche& fiche)
{
    fiche.SetEmailService(QString::fromUtf8(Constantes::EmailService));
    fiche.SetMotDePasseService(QString::fromUtf8(Constantes::MotDePasseService));
    fiche.SetCleEmetteur(QString::fromUtf8(Constantes::CleEmetteur));
}

} // namespace

TFicheConfigurateur::TFicheConfigurateur(QWidget* parent)
    : FicheQuelt(parent), ui(new Ui::TFicheConfigurateur)
{
    m_depuisCreation.start();
    ui->setupUi(this);
    appliquerPolices();
    masquerLogos({ui->imgOlka, ui->imgTrun, ui->imgPavesc});
    setAttribute(Qt::WA_QuitOnClose);

    // Counts from creation, not from the first showing.
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(DelaiLogoMs);
    connect(&Timer1, &QTimer::timeout, this, &TFicheConfigurateur::Timer1Timer);
    Timer1.start();
}

TFicheConfigurateur::~TFicheConfigurateur() = default;

bool TFicheConfigurateur::LireConfiguration(const QString& chemin)
{
    const std::optional<Configuration> lue = lireFichierConfiguration(chemin);
    if (!lue) {
        Frontiere::afficherMessage(this, messageConfigurationManquante(chemin));
        return true;
    }
    m_config = *lue;
    return false;
}

void TFicheConfigurateur::FormActivate()
{
    if (m_ferme || m_dispatchFait)
        return;
    m_activationReussie = false;
    if (LireConfiguration(GetFichierConfig())) {
        fermer();
        return;
    }
    appliquerMarque(*this, m_config.Marque, QString(), {ui->imgOlka, ui->imgTrun, ui->imgPavesc});

    const QString versionProgramme = QString::fromUtf8(Constantes::VersionProgramme);
    if (versionProgramme != m_config.Version) {
        Frontiere::afficherMessage(this, QStringLiteral("Votre Configurateur ") + m_config.Marque +
                                             QStringLiteral(" est en Version ") + versionProgramme +
                                             QStringLiteral(" et devrait être en Version ") +
                                             m_config.Version + QStringLiteral("."));
        fermer();
        return;
    }
    m_activationReussie = true;
    // A tick that came while the activation ran was held back; act on it now.
    QTimer::singleShot(0, this, [this] { executer([this] { tenterDispatch(); }); });
}

void TFicheConfigurateur::changeEvent(QEvent* evenement)
{
    FicheQuelt::changeEvent(evenement);
    // Every activation repeats the activation step.
    if (evenement->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        planifierActivation();
}

void TFicheConfigurateur::Timer1Timer()
{
    const qint64 reste = DelaiLogoMs - m_depuisCreation.elapsed();
    if (reste > 0) {
        Timer1.start(static_cast<int>(reste));
        return;
    }
    Timer1.stop();
    m_tickRecu = true;
    // While an activation message is open the tick is only noted: the activation
    // step dispatches when it ends well, and never after it closed the launcher.
    if (!enCours())
        executer([this] { tenterDispatch(); });
}

void TFicheConfigurateur::tenterDispatch()
{
    if (!m_tickRecu || !m_activationReussie || m_dispatchFait || m_ferme)
        return;
    m_dispatchFait = true;
    hide();
    Q_EMIT dispatche(m_config.Mode);
    // Whatever happens in the dialog, the program ends after the dispatch.
    Frontiere::protege(this, [this] {
        if (m_config.Mode == QLatin1String("chiffrage"))
            LancerChiffrage();
        if (m_config.Mode == QLatin1String("verification"))
            LancerVerification();
        if (m_config.Mode == QLatin1String("commande"))
            LancerCommande();
    });
    show();
    fermer();
}

void TFicheConfigurateur::LancerChiffrage()
{
    const std::unique_ptr<TFicheConfigurateurRecupDevis> fiche(new TFicheConfigurateurRecupDevis(this));
    fiche->SetMarque(m_config.Marque);
    fiche->SetFichierTemp(m_fichierTemp);
    fiche->SetIdentifiant(m_config.Identifiant);
    fiche->SetMotDePasse(m_config.MotDePasse);
    fiche->SetDevisId(m_config.DevisId);
    confierService(*fiche);
    fiche->exec();
}

void TFicheConfigurateur::LancerVerification()
{
    const std::unique_ptr<TFicheConfigurateurVerification> fiche(new TFicheConfigurateurVerification(this));
    fiche->SetMarque(m_config.Marque);
    fiche->SetFichierTemp(m_fichierTemp);
    confierService(*fiche);
    fiche->SetRecordId(m_config.RecordId);
    fiche->exec();
}

void TFicheConfigurateur::LancerCommande()
{
    const std::unique_ptr<TFicheConfigurateurCommande> fiche(new TFicheConfigurateurCommande(this));
    fiche->SetMarque(m_config.Marque);
    fiche->SetFichierTemp(m_fichierTemp);
    confierService(*fiche);
    fiche->SetRecordId(m_config.RecordId);
    fiche->SetNumeroCommande(m_config.NumeroCommande);
    fiche->SetReferenceCommande(m_config.ReferenceCommande);
    fiche->exec();
}

void TFicheConfigurateur::fermer()
{
    m_ferme = true;
    Timer1.stop();
    close();
}

void TFicheConfigurateur::closeEvent(QCloseEvent* evenement)
{
    FicheQuelt::closeEvent(evenement);
    if (evenement->isAccepted()) {
        m_ferme = true;
        Timer1.stop();
        Q_EMIT termine();
    }
}
