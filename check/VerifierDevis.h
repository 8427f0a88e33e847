#pragma once

#include "Plateforme.h"

class ClientHttp;

struct EntreesVerification
{
    AccesPlateforme acces;
    QString RecordId;
    QString FichierTemp;
};

struct IssueEtape
{
    QString Code;
    QString Libelle;
};

// The check run: asks the platform whether the quotation record can be ordered,
// writes the Verification result document and returns the outcome. Throws Erreur
// (nothing written) when the id is not a number, a request fails or an answer is
// unreadable.
IssueEtape VerifierDevis(const EntreesVerification& entrees, ClientHttp& client,
                         const Plateforme::Statut& statut);

// The platform's error codes in French; rows compared exactly. Unknown codes change nothing.
void appliquerTableErreurs(IssueEtape& issue, const QString& recordId);
