#include "FicheEtapeAutomatique.h"

#include "ClientHttp.h"
#include "ConstantesConstruction.h"

#include <QApplication>
#include <QLabel>

FicheEtapeAutomatique::FicheEtapeAutomatique(QWidget* proprietaire, const char* nomMinuterie,
                                             const char* nomClient)
    : FicheQuelt(proprietaire), m_client(new ClientHttp(this))
{
    m_acces.AdresseApiPlateforme = QString::fromUtf8(Constantes::AdresseApiPlateforme);
    m_client->setObjectName(QLatin1String(nomClient));
    m_minuterie.setObjectName(QLatin1String(nomMinuterie));
    m_minuterie.setTimerType(Qt::PreciseTimer);
    m_minuterie.setInterval(1000);
    m_minuterie.setSingleShot(true);
    connect(&m_minuterie, &QTimer::timeout, this, &FicheEtapeAutomatique::minuterieEchue);
}

void FicheEtapeAutomatique::brancher(const LogosMarque& logos, QLabel* lblInfos, QString suffixeMarque)
{
    m_logos = logos;
    m_lblInfos = lblInfos;
    m_suffixeMarque = std::move(suffixeMarque);
    masquerLogos(m_logos);
    m_lblInfos->clear();
}

QString FicheEtapeAutomatique::statut() const
{
    return m_lblInfos->text();
}

void FicheEtapeAutomatique::FormActivate()
{
    appliquerMarque(*this, m_marque, m_suffixeMarque, m_logos);
    m_minuterie.start();
}

void FicheEtapeAutomatique::hideEvent(QHideEvent* evenement)
{
    // Closed before the tick: the step does not run.
    m_minuterie.stop();
    FicheQuelt::hideEvent(evenement);
}

void FicheEtapeAutomatique::minuterieEchue()
{
    m_minuterie.stop();
    executer([this] {
        executerEtape();
        // Reached only when the step wrote its result.
        close();
    });
}

void FicheEtapeAutomatique::afficherStatut(const QString& texte)
{
    m_lblInfos->setText(texte);
    m_lblInfos->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
