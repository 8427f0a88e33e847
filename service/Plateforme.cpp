#include "Plateforme.h"

#include "Texte.h"

#include <QUrl>

namespace Plateforme {

namespace {

QUrl adresse(const AccesPlateforme& acces, const QString& chemin)
{
    // The path is already encoded; TolerantMode would re-interpret a literal '%'.
    return QUrl(acces.AdresseApiPlateforme + chemin, QUrl::StrictMode);
}

QList<EnTeteHttp> entetesPlateforme(const IdentifiantsService& service)
{
    const QByteArray paire =
        Texte::versUtf8(service.EmailService + QLatin1Char(':') + service.MotDePasseService);
    return {
        {"Authorization", "Basic " + paire.toBase64(), true},
        {"Rodid-Issuer", Texte::versUtf8(service.CleEmetteur), true},
    };
}

} // namespace

RequeteHttp requeteGet(const AccesPlateforme& acces, const QString& chemin, const QString& objet)
{
    RequeteHttp requete;
    requete.methode = "GET";
    requete.url = adresse(acces, chemin);
    requete.entetes = entetesPlateforme(acces.service);
    requete.objet = objet;
    return requete;
}

RequeteHttp requetePost(const AccesPlateforme& acces, const QString& chemin, const QByteArray& corpsJson,
                        const QString& objet)
{
    RequeteHttp requete = requeteGet(acces, chemin, objet);
    requete.methode = "POST";
    requete.entetes.append(EnTeteHttp{"Content-Type", "application/json"});
    requete.entetes.append(EnTeteHttp{"Content-Encoding", "utf-8"});
    requete.corps = corpsJson;
    return requete;
}

QString cheminEnregistrement(const QString& id)
{
    return QLatin1String(CheminEnregistrement) + QString::fromLatin1(QUrl::toPercentEncoding(id));
}

bool estIdentifiantValide(const QString& id)
{
    if (id.isEmpty())
        return false;
    for (const QChar c : id)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace Plateforme
