#include "Catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace Catalogue {

const std::vector<Produit>& produits()
{
    static const std::vector<Produit> liste = {
        {"fenetre-pvc",
         "Fenêtre PVC",
         Images::Dessin::Fenetre,
         48500,
         1200,
         1350,
         625,
         {"Fenêtre PVC 2 vantaux, dormant 70 mm", "Double vitrage 4/20/4 argon, Uw 1,3 W/m².K",
          "Classement AEV A*3 E*7B V*A2"},
         {}},
        {"porte-fenetre-alu",
         "Porte-fenêtre aluminium",
         Images::Dessin::PorteFenetre,
         129000,
         1400,
         2150,
         980,
         {"Porte-fenêtre aluminium 2 vantaux à rupture de pont thermique",
          "Soubassement panneau isolant 24 mm"},
         {"Seuil PMR aluminium 20 mm"}},
        {"porte-entree-acier",
         "Porte d'entrée acier",
         Images::Dessin::Porte,
         164000,
         900,
         2150,
         740,
         {"Porte d'entrée acier isolée 48 mm, serrure 5 points", "Oculus en vitrage feuilleté sablé"},
         {"Pose en rénovation sur dormant existant"}},
        {"volet-roulant",
         "Volet roulant électrique",
         Images::Dessin::Volet,
         42000,
         1200,
         1350,
         std::nullopt,
         {"Volet roulant à lames aluminium 39 mm, coffre intérieur", "Moteur filaire avec inverseur"},
         {"Garantie moteur 7 ans"}},
    };
    return liste;
}

const std::vector<Option>& options()
{
    static const std::vector<Option> liste = {
        {"oscillo", "Ouverture oscillo-battante",
         "Ouverture à la française et en soufflet sur le vantail principal", 6800},
        {"feuillete", "Vitrage feuilleté 44.2", "Vitrage retardateur d'effraction côté extérieur", 12400},
        {"croisillons", "Croisillons laiton incorporés", "Croisillons de 10 mm intégrés au double vitrage",
         5200},
        {"bois", "Teinte chêne doré deux faces", "Film décoratif plaxé intérieur et extérieur", 9600},
    };
    return liste;
}

namespace {

template <typename T, typename Champ>
const T* chercher(const std::vector<T>& liste, Champ champ, const std::string& valeur)
{
    const auto it = std::find_if(liste.begin(), liste.end(), [&](const T& t) { return t.*champ == valeur; });
    return it == liste.end() ? nullptr : &*it;
}

bool contient(const std::vector<std::string>& liste, const std::string& valeur)
{
    return std::find(liste.begin(), liste.end(), valeur) != liste.end();
}

using Ecrivain = rapidjson::Writer<rapidjson::StringBuffer>;

void texte(Ecrivain& e, const std::string& s)
{
    e.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
}

void nombreBrut(Ecrivain& e, const std::string& s)
{
    e.RawValue(s.data(), s.size(), rapidjson::kNumberType);
}

void dimension(Ecrivain& e, const char* libelle, int valeur)
{
    e.StartObject();
    e.Key("label");
    e.String(libelle);
    e.Key("value");
    e.Int(valeur);
    e.Key("unit");
    e.String("mm");
    e.EndObject();
}

bool estEntier(const std::string& s)
{
    return !s.empty() && s.size() < 19 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

const Produit* produitParCode(const std::string& code)
{
    return chercher(produits(), &Produit::code, code);
}
const Produit* produitParNom(const std::string& nom)
{
    return chercher(produits(), &Produit::nom, nom);
}
const Option* optionParCode(const std::string& code)
{
    return chercher(options(), &Option::code, code);
}
const Option* optionParNom(const std::string& nom)
{
    return chercher(options(), &Option::nom, nom);
}

std::string verifier(const Saisie& saisie)
{
    if (produitParCode(saisie.produit) == nullptr) {
        return "Choisissez un produit de la liste.";
    }
    const auto horsLimites = [](int mm) { return mm < DimensionMin || mm > DimensionMax; };
    if (horsLimites(saisie.largeur) || horsLimites(saisie.hauteur)) {
        return "La largeur et la hauteur doivent être comprises entre " + std::to_string(DimensionMin) +
               " et " + std::to_string(DimensionMax) + " mm.";
    }
    if (saisie.quantite < 1 || saisie.quantite > QuantiteMax) {
        return "La quantité doit être comprise entre 1 et " + std::to_string(QuantiteMax) + ".";
    }
    for (const std::string& code : saisie.options) {
        if (optionParCode(code) == nullptr) {
            return "Option inconnue : " + code + ".";
        }
    }
    return {};
}

Prix chiffrer(const Saisie& saisie)
{
    const Produit& produit = *produitParCode(saisie.produit);
    // The list price is for the default size; it follows the area, with a floor so
    // that a small frame still costs its fittings.
    const double surface = static_cast<double>(saisie.largeur) * saisie.hauteur;
    const double surfaceReference = static_cast<double>(produit.largeurDefaut) * produit.hauteurDefaut;
    const double facteur = std::max(0.6, surface / surfaceReference);
    long unitaire = std::lround(static_cast<double>(produit.prixBaseCentimes) * facteur);
    for (const Option& option : options()) {
        if (contient(saisie.options, option.code)) {
            unitaire += option.prixCentimes;
        }
    }
    Prix prix{};
    prix.unitaire = unitaire;
    prix.totalBase = unitaire * saisie.quantite;
    prix.totalAchat = std::lround(static_cast<double>(prix.totalBase) * (1.0 - RemiseRevendeur));
    if (produit.ecoTaxeCentimes) {
        prix.ecoTaxe = *produit.ecoTaxeCentimes * saisie.quantite;
    }
    return prix;
}

std::string montant(long centimes)
{
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%ld.%02ld", centimes / 100, centimes % 100);
    return tampon;
}

std::string montantAffiche(long centimes)
{
    std::string euros = std::to_string(centimes / 100);
    for (auto i = static_cast<long>(euros.size()) - 3; i > 0; i -= 3) {
        euros.insert(static_cast<size_t>(i), " ");
    }
    char decimales[8];
    std::snprintf(decimales, sizeof decimales, ",%02ld", centimes % 100);
    return euros + decimales + " €";
}

Images::Apparence apparence(const Saisie& saisie)
{
    Images::Apparence a;
    a.croisillons = contient(saisie.options, "croisillons");
    a.teinteBois = contient(saisie.options, "bois");
    return a;
}

std::string construireRecord(const std::string& id, const Saisie& saisie, bool modeIndirect,
                             Images::Format format)
{
    const Produit& produit = *produitParCode(saisie.produit);
    const Prix prix = chiffrer(saisie);
    const std::string image =
        Images::dessinerBase64(produit.dessin, apparence(saisie),
                               Images::tailleProportionnelle(saisie.largeur, saisie.hauteur), format);

    rapidjson::StringBuffer tampon;
    Ecrivain e(tampon);
    e.StartObject();
    e.Key("id");
    if (estEntier(id)) {
        nombreBrut(e, id);
    } else {
        texte(e, id);
    }
    e.Key("indirectMode");
    e.Bool(modeIndirect);
    e.Key("location");
    if (saisie.repere) {
        texte(e, *saisie.repere);
    } else {
        e.Null();
    }
    e.Key("product");
    e.StartObject();
    e.Key("name");
    texte(e, produit.nom);
    e.Key("quantity");
    e.Int(saisie.quantite);
    e.Key("descriptions");
    e.StartArray();
    for (const std::string& d : produit.descriptions) {
        texte(e, d);
    }
    e.EndArray();
    e.Key("dimension1");
    dimension(e, "Largeur", saisie.largeur);
    e.Key("dimension2");
    dimension(e, "Hauteur", saisie.hauteur);
    e.Key("options");
    e.StartArray();
    for (const Option& option : options()) {
        if (contient(saisie.options, option.code)) {
            e.StartObject();
            e.Key("name");
            texte(e, option.nom);
            e.EndObject();
        }
    }
    e.EndArray();
    e.Key("optionDescriptions");
    e.StartArray();
    for (const Option& option : options()) {
        if (contient(saisie.options, option.code)) {
            texte(e, option.description);
        }
    }
    e.EndArray();
    e.Key("informations");
    e.StartArray();
    for (const std::string& i : produit.informations) {
        texte(e, i);
    }
    e.EndArray();
    e.EndObject();
    e.Key("pricing");
    e.StartObject();
    e.Key("totalPurchaseBasePrice");
    nombreBrut(e, montant(prix.totalBase));
    e.Key("totalPurchasePrice");
    nombreBrut(e, montant(prix.totalAchat));
    e.Key("ecoTax");
    if (prix.ecoTaxe) {
        nombreBrut(e, montant(*prix.ecoTaxe));
    } else {
        e.Null();
    }
    e.EndObject();
    e.Key("printImage");
    e.StartObject();
    e.Key("value");
    texte(e, image);
    e.EndObject();
    e.EndObject();
    return {tampon.GetString(), tampon.GetSize()};
}

Saisie saisieDepuisRecord(const std::string& record)
{
    Saisie saisie;
    saisie.produit = produits().front().code;
    rapidjson::Document doc;
    doc.Parse(record.c_str(), record.size());
    if (doc.HasParseError() || !doc.IsObject()) {
        return saisie;
    }
    if (const auto lieu = doc.FindMember("location"); lieu != doc.MemberEnd() && lieu->value.IsString()) {
        saisie.repere = lieu->value.GetString();
    }
    const auto prod = doc.FindMember("product");
    if (prod == doc.MemberEnd() || !prod->value.IsObject()) {
        return saisie;
    }
    const rapidjson::Value& p = prod->value;
    const auto entier = [&p](const char* membre, int& cible) {
        const auto m = p.FindMember(membre);
        if (m != p.MemberEnd() && m->value.IsInt()) {
            cible = m->value.GetInt();
        }
    };
    const auto cote = [&p](const char* membre, int& cible) {
        const auto m = p.FindMember(membre);
        if (m != p.MemberEnd() && m->value.IsObject()) {
            const auto v = m->value.FindMember("value");
            if (v != m->value.MemberEnd() && v->value.IsNumber()) {
                cible = static_cast<int>(std::lround(v->value.GetDouble()));
            }
        }
    };
    if (const auto nom = p.FindMember("name"); nom != p.MemberEnd() && nom->value.IsString()) {
        if (const Produit* produit = produitParNom(nom->value.GetString())) {
            saisie.produit = produit->code;
        }
    }
    entier("quantity", saisie.quantite);
    cote("dimension1", saisie.largeur);
    cote("dimension2", saisie.hauteur);
    if (const auto opts = p.FindMember("options"); opts != p.MemberEnd() && opts->value.IsArray()) {
        for (const rapidjson::Value& o : opts->value.GetArray()) {
            if (!o.IsObject()) {
                continue;
            }
            const auto nom = o.FindMember("name");
            if (nom != o.MemberEnd() && nom->value.IsString()) {
                if (const Option* option = optionParNom(nom->value.GetString())) {
                    saisie.options.push_back(option->code);
                }
            }
        }
    }
    return saisie;
}

} // namespace Catalogue
