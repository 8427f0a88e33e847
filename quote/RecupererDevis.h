#pragma once

#include "DocumentResultat.h"
#include "Json.h"
#include "Plateforme.h"

class ClientHttp;

// The eight quote elements, in the order they are written.
struct ElementsDevis
{
    QString Libelle;
    QString Detail;
    QString Repere;
    QString EcoTaxe;
    QString Quantite;
    QString PrixPublic;
    QString PrixAchat;
    QString Image;
};

namespace Devis {

// The product's detail text: six blocks, LF line breaks, absent members adding nothing.
QString composerDetail(const ValeurJson& produit);

// Where the picture goes: next to the result file, named after the record.
QString cheminImage(const QString& fichierTemp, const QString& project);

// A record id usable as a file name: no separator, not "." or "..", no control character.
bool estNomDeFichierSimple(const QString& project);

// Reads Project from the retrieval answer; throws Erreur when it is not an XML
// document with a Configurateur root.
QString lireProject(const QByteArray& reponseRecuperation);

// The record's JSON to the eight elements, saving the picture on the way. Throws
// Erreur when the record is no JSON object with an id, or the picture is unreadable.
ElementsDevis convertirEnregistrement(const QByteArray& enregistrementJson, const QString& cheminImage);

// The result document: the retrieval answer with the eight elements appended.
DocumentResultat documentDevis(const QByteArray& reponseRecuperation, const ElementsDevis& elements);

} // namespace Devis

struct EntreesRecuperation
{
    AccesPlateforme acces;
    QString UrlRecuperation;
    QString FichierTemp;
};

// "Récupérer le devis": the retrieval answer (client2, nothing prepared), the
// priced record (client1, platform set-up), the picture and the result document.
// Throws Erreur and writes no result document on any failure.
ElementsDevis RecupererDevis(const EntreesRecuperation& entrees, ClientHttp& client1, ClientHttp& client2);
