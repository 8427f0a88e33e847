#include "TFicheConfigurateurVerification.h"

#include "ui_TFicheConfigurateurVerification.h"

TFicheConfigurateurVerification::TFicheConfigurateurVerification(QWidget* proprietaire)
    : FicheEtapeAutomatique(proprietaire, "timerVerification", "IdHTTP3"),
      ui(new Ui::TFicheConfigurateurVerification)
{
    ui->setupUi(this);
    appliquerPolices();
    brancher({ui->imgOlka, ui->imgTrun, ui->imgPavesc}, ui->lblInfos, QStringLiteral(" - Vérification"));
}

TFicheConfigurateurVerification::~TFicheConfigurateurVerification() = default;

void TFicheConfigurateurVerification::executerEtape()
{
    m_issue = VerifierDevis({m_acces, m_recordId, m_fichierTemp}, client(),
                            [this](const QString& texte) { afficherStatut(texte); });
}
