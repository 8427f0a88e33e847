#pragma once

#include "FicheQuelt.h"
#include "Marque.h"
#include "Plateforme.h"

#include <QTimer>

class ClientHttp;
class QLabel;

// The check and order dialogs: they need no input. On activation the brand shows
// and a one-second timer is armed; its tick runs the step once, with a status
// line, then the dialog closes. On a failure the dialog stays open with its last
// status until the user closes it.
class FicheEtapeAutomatique : public FicheQuelt
{
    Q_OBJECT

public:
    void SetMarque(const QString& valeur) { m_marque = valeur; }
    void SetFichierTemp(const QString& valeur) { m_fichierTemp = valeur; }
    void SetEmailService(const QString& valeur) { m_acces.service.EmailService = valeur; }
    void SetMotDePasseService(const QString& valeur) { m_acces.service.MotDePasseService = valeur; }
    void SetCleEmetteur(const QString& valeur) { m_acces.service.CleEmetteur = valeur; }
    void SetRecordId(const QString& valeur) { m_recordId = valeur; }
    // The build's platform address unless told otherwise (tests use a sandbox).
    void SetAdresseApiPlateforme(const QString& valeur) { m_acces.AdresseApiPlateforme = valeur; }
    QString GetFichierTemp() const { return m_fichierTemp; }

    QString statut() const;
    ClientHttp& client() { return *m_client; }

protected:
    FicheEtapeAutomatique(QWidget* proprietaire, const char* nomMinuterie, const char* nomClient);

    // Called by the subclass once its form description is loaded.
    void brancher(const LogosMarque& logos, QLabel* lblInfos, QString suffixeMarque);

    // The step itself; its outcome is in the result document.
    virtual void executerEtape() = 0;

    void FormActivate() override;
    void hideEvent(QHideEvent* evenement) override;
    void afficherStatut(const QString& texte);

    QString m_marque;
    QString m_fichierTemp;
    QString m_recordId;
    AccesPlateforme m_acces;
    QTimer m_minuterie;

private:
    void minuterieEchue();

    ClientHttp* m_client;
    LogosMarque m_logos{};
    QLabel* m_lblInfos = nullptr;
    QString m_suffixeMarque;
};
