#include "TFicheConfigurateurCommande.h"

#include "ui_TFicheConfigurateurCommande.h"

TFicheConfigurateurCommande::TFicheConfigurateurCommande(QWidget* proprietaire)
    : FicheEtapeAutomatique(proprietaire, "timerCommande", "IdHTTP4"), ui(new Ui::TFicheConfigurateurCommande)
{
    ui->setupUi(this);
    appliquerPolices();
    brancher({ui->imgOlka, ui->imgTrun, ui->imgPavesc}, ui->lblInfos, QStringLiteral(" - Commande"));
}

TFicheConfigurateurCommande::~TFicheConfigurateurCommande() = default;

void TFicheConfigurateurCommande::executerEtape()
{
    m_issue = EnvoyerCommande({m_acces, m_recordId, m_numeroCommande, m_referenceCommande, m_fichierTemp},
                              client(), [this](const QString& texte) { afficherStatut(texte); });
}
