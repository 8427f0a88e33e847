#pragma once

#include "FicheQuelt.h"
#include "Passerelle.h"
#include "Plateforme.h"

#include <QStringList>
#include <memory>

class ClientHttp;

namespace Ui {
class TFicheConfigurateurRecupDevis;
}

// The quote retrieval dialog ("chiffrage"): obtains a gateway session, opens the
// pricing page in the user's browser and, on "Récupérer le devis", brings the
// priced quote back into the result file.
class TFicheConfigurateurRecupDevis : public FicheQuelt
{
    Q_OBJECT

public:
    explicit TFicheConfigurateurRecupDevis(QWidget* proprietaire);
    ~TFicheConfigurateurRecupDevis() override;

    void SetMarque(const QString& valeur) { m_demande.Marque = valeur; }
    void SetFichierTemp(const QString& valeur) { m_fichierTemp = valeur; }
    void SetIdentifiant(const QString& valeur) { m_demande.Identifiant = valeur; }
    void SetMotDePasse(const QString& valeur) { m_demande.MotDePasse = valeur; }
    void SetDevisId(const QString& valeur) { m_demande.DevisId = valeur; }
    void SetEmailService(const QString& valeur) { m_acces.service.EmailService = valeur; }
    void SetMotDePasseService(const QString& valeur) { m_acces.service.MotDePasseService = valeur; }
    void SetCleEmetteur(const QString& valeur) { m_acces.service.CleEmetteur = valeur; }
    // The build's addresses unless told otherwise (tests use a sandbox).
    void SetAdresseApiPlateforme(const QString& valeur) { m_acces.AdresseApiPlateforme = valeur; }
    void SetAdressePasserelle(const QString& valeur) { m_demande.AdressePasserelle = valeur; }
    QString GetFichierTemp() const { return m_fichierTemp; }

    // 1 when a session was obtained, 0 (with a line in Erreurs) when not.
    int GetJetonEtUrls();
    QString MessageErreurs() const;

    const SessionPasserelle& session() const { return m_session; }

protected:
    void FormActivate() override;

private:
    void btnDevisRecupererClick();
    void btnAnnulerRecuperationClick();
    void ouvrirNavigateur();

    std::unique_ptr<Ui::TFicheConfigurateurRecupDevis> ui;
    ClientHttp* IdHTTP1;
    ClientHttp* IdHTTP2;

    QString m_fichierTemp;
    AccesPlateforme m_acces;
    DemandeSession m_demande;
    SessionPasserelle m_session;
    QStringList Erreurs;
};
