#pragma once

#include "Plateforme.h"
#include "VerifierDevis.h"

#include <QDateTime>

class ClientHttp;

struct EntreesCommande
{
    AccesPlateforme acces;
    QString RecordId;
    QString NumeroCommande;
    QString ReferenceCommande;
    QString FichierTemp;
};

// Milliseconds from 1970-01-01 00:00 to the local clock's reading, both taken as
// local times: what the platform expects before its fixed "+0100".
qint64 compteDate(const QDateTime& horlogeLocale);

// The order body, one line of UTF-8 JSON; the two texts are JSON-escaped.
QByteArray corpsCommande(const EntreesCommande& entrees, const QDateTime& horlogeLocale);

// The order run: posts the order, writes the Commande result document and returns
// the outcome. Throws Erreur (nothing written) when the id is not a number, the
// request fails or the answer is unreadable.
IssueEtape EnvoyerCommande(const EntreesCommande& entrees, ClientHttp& client,
                           const Plateforme::Statut& statut,
                           const QDateTime& horlogeLocale = QDateTime::currentDateTime());
