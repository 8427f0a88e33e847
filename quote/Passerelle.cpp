#include "Passerelle.h"

#include "ClientHttp.h"
#include "DocumentResultat.h"
#include "Erreur.h"

namespace Passerelle {

namespace {

QString encoder(const QString& valeur)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(valeur));
}

QString texteEnfant(const pugi::xml_node& parent, const char* nom)
{
    return QString::fromUtf8(parent.child(nom).text().get());
}

} // namespace

QUrl adresseJeton(const DemandeSession& demande)
{
    QString requete = QStringLiteral("email=") + encoder(demande.Identifiant) + QStringLiteral("&mdp=") +
                      encoder(demande.MotDePasse) + QStringLiteral("&passerelle=") + encoder(demande.Marque);
    if (!demande.DevisId.isEmpty())
        requete += QStringLiteral("&jeton=") + encoder(demande.DevisId);
    QUrl adresse(demande.AdressePasserelle + QLatin1String(CheminJeton), QUrl::StrictMode);
    adresse.setQuery(requete, QUrl::StrictMode);
    return adresse;
}

SessionPasserelle demanderSession(const DemandeSession& demande, ClientHttp& client)
{
    RequeteHttp requete;
    requete.url = adresseJeton(demande);
    requete.objet = QStringLiteral("la demande de session au service de connexion");
    const ReponseHttp reponse = client.envoyer(requete);

    const DocumentResultat document(reponse.corps);
    const pugi::xml_node racine = document.racine();
    if (!racine)
        throw Erreur(QStringLiteral("La réponse du service de connexion n’a pas d’élément Configurateur."));
    SessionPasserelle session;
    session.Jeton = texteEnfant(racine, "Jeton");
    session.UrlConnexion = texteEnfant(racine, "UrlConnexion");
    session.UrlRecuperation = texteEnfant(racine, "UrlRecuperation");
    return session;
}

QString messageErreurs(const QString& marque, const QStringList& erreurs)
{
    QString message =
        QStringLiteral("Configurateur ") + marque + QStringLiteral(" : GetJetonEtUrlsErreurs \n");
    for (const QString& ligne : erreurs)
        message += ligne + QStringLiteral("\r\n");
    return message;
}

bool estAdresseWeb(const QUrl& url)
{
    const QString schema = url.scheme().toLower();
    return url.isValid() && !url.isRelative() && !url.host().isEmpty() &&
           (schema == QLatin1String("http") || schema == QLatin1String("https"));
}

} // namespace Passerelle
