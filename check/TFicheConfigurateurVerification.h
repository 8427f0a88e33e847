#pragma once

#include "FicheEtapeAutomatique.h"
#include "VerifierDevis.h"

#include <memory>

namespace Ui {
class TFicheConfigurateurVerification;
}

// The quotation check dialog ("verification").
class TFicheConfigurateurVerification : public FicheEtapeAutomatique
{
    Q_OBJECT

public:
    explicit TFicheConfigurateurVerification(QWidget* proprietaire);
    ~TFicheConfigurateurVerification() override;

    const IssueEtape& issue() const { return m_issue; }

protected:
    void executerEtape() override;

private:
    std::unique_ptr<Ui::TFicheConfigurateurVerification> ui;
    IssueEtape m_issue;
};
