#include "ClientHttp.h"

#include "ConstantesConstruction.h"
#include "Erreur.h"
#include "Texte.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace Http {

QString adresseAffichable(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveQuery | QUrl::RemoveUserInfo | QUrl::RemoveFragment).toString();
}

} // namespace Http

namespace {

bool memeOrigine(const QUrl& a, const QUrl& b)
{
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == QLatin1String("https") ? 443 : 80) ==
               b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

QString cause(QNetworkReply::NetworkError code, bool delaiDepasse, int delaiMs)
{
    if (delaiDepasse)
        return QStringLiteral("aucune réponse du serveur depuis %1 s").arg(delaiMs / 1000.0, 0, 'f', 1);
    switch (code) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("connexion refusée");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("connexion fermée par le serveur avant la fin de la réponse");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("serveur introuvable");
    case QNetworkReply::TimeoutError:
        return QStringLiteral("délai de connexion dépassé");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("connexion sécurisée impossible (certificat refusé)");
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("protocole non pris en charge");
    default:
        return QStringLiteral("erreur réseau");
    }
}

[[noreturn]] void echouer(const RequeteHttp& requete, const QString& detail)
{
    const QString objet = requete.objet.isEmpty() ? QStringLiteral("la requête") : requete.objet;
    throw Erreur(
        QStringLiteral("Échec de %1.\n%2 %3 : %4.")
            .arg(objet, QString::fromLatin1(requete.methode), Http::adresseAffichable(requete.url), detail));
}

} // namespace

QString ReponseHttp::texte() const
{
    return Texte::decoderCorpsHttp(corps, typeContenu);
}

ClientHttp::ClientHttp(QObject* parent) : QObject(parent), m_acces(this), m_delaiMs(Constantes::DelaiReseauMs)
{
    // Cookies live with the client, that is with its dialog.
    m_acces.setCookieJar(new QNetworkCookieJar(&m_acces));
    m_acces.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

ReponseHttp ClientHttp::envoyer(const RequeteHttp& requete)
{
    RequeteHttp courante = requete;
    for (int saut = 0;; ++saut) {
        const QString schema = courante.url.scheme().toLower();
        if (schema != QLatin1String("http") && schema != QLatin1String("https"))
            echouer(courante, QStringLiteral("adresse non prise en charge"));

        ReponseHttp reponse = envoyerUneFois(courante);
        const bool redirection = reponse.statut == 301 || reponse.statut == 302 || reponse.statut == 303 ||
                                 reponse.statut == 307 || reponse.statut == 308;
        if (!redirection || !reponse.emplacement.isValid())
            return reponse;
        if (saut >= Http::RedirectionsMax)
            echouer(courante, QStringLiteral("trop de redirections"));

        const QUrl cible = reponse.emplacement;
        if (courante.url.scheme() == QLatin1String("https") && cible.scheme() != QLatin1String("https"))
            echouer(courante, QStringLiteral("redirection refusée vers une adresse non sécurisée (%1)")
                                  .arg(Http::adresseAffichable(cible)));
        if (!memeOrigine(courante.url, cible))
            courante.entetes.removeIf([](const EnTeteHttp& e) { return e.confidentiel; });
        // As browsers do: 303, and 301/302 after a POST, continue as a GET without body.
        if (reponse.statut == 303 ||
            ((reponse.statut == 301 || reponse.statut == 302) && courante.methode == "POST")) {
            courante.methode = "GET";
            courante.corps.clear();
            courante.entetes.removeIf([](const EnTeteHttp& e) {
                return e.nom.compare("Content-Type", Qt::CaseInsensitive) == 0 ||
                       e.nom.compare("Content-Encoding", Qt::CaseInsensitive) == 0;
            });
        }
        courante.url = cible;
    }
}

ReponseHttp ClientHttp::envoyerUneFois(const RequeteHttp& requete)
{
    QNetworkRequest demande(requete.url);
    demande.setRawHeader("Accept", Http::Accept);
    demande.setRawHeader("User-Agent", Http::UserAgent);
    for (const EnTeteHttp& entete : requete.entetes)
        demande.setRawHeader(entete.nom, entete.valeur);
    demande.setTransferTimeout(m_delaiMs);
    demande.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);

    QNetworkReply* reponseQt = requete.methode == "GET"
                                   ? m_acces.get(demande)
                                   : m_acces.sendCustomRequest(demande, requete.methode, requete.corps);
    QElapsedTimer chrono;
    chrono.start();
    QEventLoop attente;
    connect(reponseQt, &QNetworkReply::finished, &attente, &QEventLoop::quit);
    if (!reponseQt->isFinished())
        attente.exec(QEventLoop::ExcludeUserInputEvents);

    ReponseHttp reponse;
    reponse.statut = reponseQt->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reponse.corps = reponseQt->readAll();
    reponse.typeContenu = reponseQt->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    if (reponseQt->hasRawHeader("Location"))
        reponse.emplacement = requete.url.resolved(QUrl::fromEncoded(reponseQt->rawHeader("Location")));
    const QNetworkReply::NetworkError code = reponseQt->error();
    const QString texteQt = reponseQt->errorString();
    const QByteArray raison = reponseQt->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    reponseQt->deleteLater();

    if (reponse.statut >= 400) {
        QString detail = QStringLiteral("le serveur a répondu par le statut HTTP %1").arg(reponse.statut);
        if (!raison.isEmpty())
            detail += QStringLiteral(" (%1)").arg(QString::fromLatin1(raison));
        echouer(requete, detail);
    }
    // Content errors (a body cut short) come with a status: the status alone is not enough.
    if (code != QNetworkReply::NoError) {
        const bool delaiDepasse =
            code == QNetworkReply::OperationCanceledError && chrono.elapsed() >= m_delaiMs - 50;
        echouer(requete,
                cause(code, delaiDepasse, m_delaiMs) + QStringLiteral(" [") + texteQt + QLatin1Char(']'));
    }
    if (reponse.statut == 0)
        echouer(requete, QStringLiteral("réponse sans statut HTTP"));
    return reponse;
}
