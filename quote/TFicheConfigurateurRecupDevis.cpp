#include "TFicheConfigurateurRecupDevis.h"

#include "ClientHttp.h"
#include "ConstantesConstruction.h"
#include "Frontiere.h"
#include "Marque.h"
#include "RecupererDevis.h"
#include "ui_TFicheConfigurateurRecupDevis.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QScopeGuard>

TFicheConfigurateurRecupDevis::TFicheConfigurateurRecupDevis(QWidget* proprietaire)
    : FicheQuelt(proprietaire), ui(new Ui::TFicheConfigurateurRecupDevis), IdHTTP1(new ClientHttp(this)),
      IdHTTP2(new ClientHttp(this))
{
    ui->setupUi(this);
    appliquerPolices();
    masquerLogos({ui->imgOlka, ui->imgTrun, ui->imgPavesc});
    ui->lblVersion->setText(QStringLiteral("Version ") + QString::fromUtf8(Constantes::VersionProgramme) +
                            QStringLiteral(" du 07/12/2020"));
    m_acces.AdresseApiPlateforme = QString::fromUtf8(Constantes::AdresseApiPlateforme);
    m_demande.AdressePasserelle = QString::fromUtf8(Constantes::AdressePasserelle);
    ui->btnDevisRecuperer->setFocus();

    connect(ui->btnDevisRecuperer, &QPushButton::clicked, this,
            [this] { executer([this] { btnDevisRecupererClick(); }); });
    connect(ui->btnAnnulerRecuperation, &QPushButton::clicked, this,
            &TFicheConfigurateurRecupDevis::btnAnnulerRecuperationClick);
}

TFicheConfigurateurRecupDevis::~TFicheConfigurateurRecupDevis() = default;

int TFicheConfigurateurRecupDevis::GetJetonEtUrls()
{
    m_session = SessionPasserelle();
    m_session = Passerelle::demanderSession(m_demande, *IdHTTP1);
    if (m_session.obtenue())
        return 1;
    Erreurs.append(Passerelle::LigneSessionManquante);
    return 0;
}

QString TFicheConfigurateurRecupDevis::MessageErreurs() const
{
    return Passerelle::messageErreurs(m_demande.Marque, Erreurs);
}

void TFicheConfigurateurRecupDevis::FormActivate()
{
    appliquerMarque(*this, m_demande.Marque, QStringLiteral(" - Chiffrage"),
                    {ui->imgOlka, ui->imgTrun, ui->imgPavesc});
    ui->btnDevisRecuperer->setFocus();
    if (GetJetonEtUrls() <= 0) {
        Frontiere::afficherMessage(this, MessageErreurs());
        close();
        return;
    }
    ouvrirNavigateur();
}

void TFicheConfigurateurRecupDevis::ouvrirNavigateur()
{
    // Only a web address reaches the desktop: never a file, a program or another scheme.
    const QUrl adresse(m_session.UrlConnexion, QUrl::StrictMode);
    if (!Passerelle::estAdresseWeb(adresse)) {
        Frontiere::afficherMessage(
            this, QStringLiteral("L’adresse de la plateforme reçue n’est pas une adresse web : "
                                 "« %1 ». Elle n’a pas été ouverte.")
                      .arg(m_session.UrlConnexion));
        return;
    }
    QDesktopServices::openUrl(adresse);
}

void TFicheConfigurateurRecupDevis::btnDevisRecupererClick()
{
    if (!m_session.obtenue()) {
        Frontiere::afficherMessage(this,
                                   QStringLiteral("Aucune session de chiffrage n’a été ouverte : le devis ne "
                                                  "peut pas être récupéré."));
        return;
    }
    ui->btnDevisRecuperer->setEnabled(false);
    ui->btnAnnulerRecuperation->setEnabled(false);
    const auto reactiver = qScopeGuard([this] {
        ui->btnDevisRecuperer->setEnabled(true);
        ui->btnAnnulerRecuperation->setEnabled(true);
        ui->btnDevisRecuperer->setFocus();
    });
    RecupererDevis({m_acces, m_session.UrlRecuperation, m_fichierTemp}, *IdHTTP1, *IdHTTP2);
    close();
}

void TFicheConfigurateurRecupDevis::btnAnnulerRecuperationClick()
{
    close();
}
