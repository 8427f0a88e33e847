#pragma once

#include "ClientHttp.h"

#include <QString>
#include <functional>

// The service account and issuer key with which the program talks to the platform.
struct IdentifiantsService
{
    QString EmailService;
    QString MotDePasseService;
    QString CleEmetteur;
};

// The platform's API: its origin and the account to use.
struct AccesPlateforme
{
    QString AdresseApiPlateforme;
    IdentifiantsService service;
};

namespace Plateforme {

inline constexpr char CheminEnregistrement[] = "/api/v2.0/quotation-records/";
inline constexpr char CheminVerification[] = "/api/v1.1/createorderprocess/checkquotationrecords";
inline constexpr char CheminCommande[] = "/api/v1.1/createorderprocess/createorder";

// The one platform request set-up: pre-emptive Basic credentials, exactly one
// Rodid-Issuer header and, for a POST, a JSON body declared as UTF-8.
RequeteHttp requeteGet(const AccesPlateforme& acces, const QString& chemin, const QString& objet);
RequeteHttp requetePost(const AccesPlateforme& acces, const QString& chemin, const QByteArray& corpsJson,
                        const QString& objet);

// Path of a quotation record, its id percent-encoded as one path segment.
QString cheminEnregistrement(const QString& id);

// A record id as the platform knows it: a plain decimal number.
bool estIdentifiantValide(const QString& id);

// Status step: a French text the user sees before each blocking request.
using Statut = std::function<void(const QString&)>;

} // namespace Plateforme
