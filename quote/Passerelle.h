#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class ClientHttp;

// What the gateway token service is asked with: the user's own credentials.
struct DemandeSession
{
    QString AdressePasserelle;
    QString Identifiant;
    QString MotDePasse;
    QString Marque;
    QString DevisId;
};

struct SessionPasserelle
{
    QString Jeton;
    QString UrlConnexion;
    QString UrlRecuperation;

    // A session is obtained only when all three are there.
    bool obtenue() const { return !Jeton.isEmpty() && !UrlConnexion.isEmpty() && !UrlRecuperation.isEmpty(); }
};

namespace Passerelle {

inline constexpr char CheminJeton[] = "/index.php/Services/jeton";

// The token request's address; every value percent-encoded as UTF-8, and
// "&jeton=" only for an existing quote.
QUrl adresseJeton(const DemandeSession& demande);

// Sends the token request and reads its answer. Throws Erreur when the request
// fails or the answer is not an XML document with a Configurateur root.
SessionPasserelle demanderSession(const DemandeSession& demande, ClientHttp& client);

inline const QString LigneSessionManquante =
    QStringLiteral("L'information de connexion n'a pas été obtenue.");

// The text shown when no session was obtained: a header ended by a single LF,
// then each error line ended by CR LF.
QString messageErreurs(const QString& marque, const QStringList& erreurs);

// Only an absolute web address is handed to the browser or fetched.
bool estAdresseWeb(const QUrl& url);

} // namespace Passerelle
