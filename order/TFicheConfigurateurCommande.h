#pragma once

#include "EnvoyerCommande.h"
#include "FicheEtapeAutomatique.h"

#include <memory>

namespace Ui {
class TFicheConfigurateurCommande;
}

// The order dialog ("commande").
class TFicheConfigurateurCommande : public FicheEtapeAutomatique
{
    Q_OBJECT

public:
    explicit TFicheConfigurateurCommande(QWidget* proprietaire);
    ~TFicheConfigurateurCommande() override;

    void SetNumeroCommande(const QString& valeur) { m_numeroCommande = valeur; }
    void SetReferenceCommande(const QString& valeur) { m_referenceCommande = valeur; }

    const IssueEtape& issue() const { return m_issue; }

protected:
    void executerEtape() override;

private:
    std::unique_ptr<Ui::TFicheConfigurateurCommande> ui;
    QString m_numeroCommande;
    QString m_referenceCommande;
    IssueEtape m_issue;
};
