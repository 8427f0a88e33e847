#pragma once

#include "Images.h"

#include <optional>
#include <string>
#include <vector>

// What the pricing page sells, how it prices it, and the quotation record that a
// priced quote becomes.
namespace Catalogue {

struct Option
{
    std::string code; // form value
    std::string nom;
    std::string description;
    long prixCentimes;
};

struct Produit
{
    std::string code; // form value
    std::string nom;
    Images::Dessin dessin;
    long prixBaseCentimes;               // for the default dimensions
    int largeurDefaut;                   // mm
    int hauteurDefaut;                   // mm
    std::optional<long> ecoTaxeCentimes; // per unit; none for products without eco-participation
    std::vector<std::string> descriptions;
    std::vector<std::string> informations;
};

const std::vector<Produit>& produits();
const std::vector<Option>& options();
const Produit* produitParCode(const std::string& code);
const Produit* produitParNom(const std::string& nom);
const Option* optionParCode(const std::string& code);
const Option* optionParNom(const std::string& nom);

inline constexpr int DimensionMin = 300;  // mm
inline constexpr int DimensionMax = 4000; // mm
inline constexpr int QuantiteMax = 99;

// A quote as the user fills it in on the pricing page.
struct Saisie
{
    std::string produit; // product code
    int largeur = 1200;  // mm
    int hauteur = 1350;  // mm
    int quantite = 1;
    std::optional<std::string> repere; // none: the record's location is null
    std::vector<std::string> options;  // option codes
};

// Empty when the quote can be priced, else what is wrong, in French.
std::string verifier(const Saisie& saisie);

struct Prix
{
    long unitaire;   // one unit at list price, options included
    long totalBase;  // list price, all units
    long totalAchat; // dealer price, all units
    std::optional<long> ecoTaxe;
};

inline constexpr double RemiseRevendeur = 0.22;

// Prices in cents; the quote must have passed verifier().
Prix chiffrer(const Saisie& saisie);

// "1250.00": cents as a JSON number text with two decimals.
std::string montant(long centimes);
// "1 250,00 €": the same for a French reader.
std::string montantAffiche(long centimes);

Images::Apparence apparence(const Saisie& saisie);

// The record JSON of a priced quote, with its picture drawn in the given format.
std::string construireRecord(const std::string& id, const Saisie& saisie, bool modeIndirect,
                             Images::Format format);

// Reads a stored record back into a quote to pre-fill the page when it is updated;
// whatever cannot be read keeps its default.
Saisie saisieDepuisRecord(const std::string& record);

} // namespace Catalogue
