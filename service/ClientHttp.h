#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

struct EnTeteHttp
{
    QByteArray nom;
    QByteArray valeur;
    // Credentials: never carried over to another origin by a redirect.
    bool confidentiel = false;
};

struct RequeteHttp
{
    QByteArray methode = "GET";
    QUrl url;
    QList<EnTeteHttp> entetes;
    QByteArray corps;
    // What the request is for, in French, for the failure message ("la vérification").
    QString objet;
};

struct ReponseHttp
{
    int statut = 0;
    QByteArray corps;
    QByteArray typeContenu;
    // Where a redirection points, resolved against the request's address.
    QUrl emplacement;

    QString texte() const;
};

// One HTTP client per dialog: its own cookies for the dialog's life, redirects
// followed by hand (credentials dropped across origins, https never downgraded),
// a connect and inactivity time-out, and a wait that keeps the window painting
// while no user input acts. A failed transfer or a status of 400 or more throws
// Erreur with a French text naming the request.
class ClientHttp : public QObject
{
    Q_OBJECT

public:
    explicit ClientHttp(QObject* parent = nullptr);

    ReponseHttp envoyer(const RequeteHttp& requete);

    void setDelaiMs(int delai) { m_delaiMs = delai; }
    int delaiMs() const { return m_delaiMs; }
    QNetworkAccessManager& acces() { return m_acces; }

private:
    ReponseHttp envoyerUneFois(const RequeteHttp& requete);

    QNetworkAccessManager m_acces;
    int m_delaiMs;
};

namespace Http {

// What every request of the program carries.
inline constexpr char Accept[] = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
inline constexpr char UserAgent[] = "Mozilla/3.0 (compatible; Indy Library)";
inline constexpr int RedirectionsMax = 10;

// The address as it may be shown to a user: no query (it can hold a password), no user info.
QString adresseAffichable(const QUrl& url);

} // namespace Http
