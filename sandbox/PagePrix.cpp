#include "PagePrix.h"

#include "Http.h"

#include <algorithm>

namespace PagePrix {

namespace {

// Markup and attribute values alike.
std::string echapper(const std::string& texte)
{
    return Http::echapperXml(texte);
}

std::string page(const std::string& titre, const std::string& corps)
{
    return "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           echapper(titre) +
           "</title>\n<style>\n"
           "body{font-family:sans-serif;max-width:42em;margin:2em auto;padding:0 1em;color:#223}\n"
           "h1{font-size:1.4em;border-bottom:2px solid #4a6fa5;padding-bottom:.3em}\n"
           "fieldset{border:1px solid #ccd;margin:1em 0;padding:.6em 1em}\n"
           "label{display:block;margin:.4em 0}\n"
           ".erreur{background:#fde;border:1px solid #c66;padding:.5em 1em}\n"
           ".info{background:#eef4fb;border:1px solid #9bc;padding:.5em 1em}\n"
           "table{border-collapse:collapse}td,th{padding:.2em .8em;text-align:left}\n"
           "button{font-size:1.1em;padding:.4em 1.2em}\n"
           "</style>\n</head>\n<body>\n" +
           corps + "</body>\n</html>\n";
}

std::string nomMarque(const std::string& marque)
{
    std::string nom = marque;
    if (!nom.empty() && nom[0] >= 'a' && nom[0] <= 'z') {
        nom[0] = static_cast<char>(nom[0] - 'a' + 'A');
    }
    return nom;
}

bool coche(const Catalogue::Saisie& saisie, const std::string& code)
{
    return std::find(saisie.options.begin(), saisie.options.end(), code) != saisie.options.end();
}

} // namespace

std::string formulaire(const std::string& jeton, const std::string& marque, const Catalogue::Saisie& saisie,
                       const std::string& recordMisAJour, const std::string& erreur)
{
    std::string c = "<h1>Chiffrage " + echapper(nomMarque(marque)) + "</h1>\n";
    if (!recordMisAJour.empty()) {
        c += "<p class=\"info\">Mise à jour du devis n° " + echapper(recordMisAJour) + ".</p>\n";
    }
    if (!erreur.empty()) {
        c += "<p class=\"erreur\">" + echapper(erreur) + "</p>\n";
    }
    c += "<form method=\"post\" action=\"/chiffrage\">\n<input type=\"hidden\" name=\"jeton\" value=\"" +
         echapper(jeton) +
         "\">\n<fieldset><legend>Produit</legend>\n<label>Produit\n<select name=\"produit\">\n";
    for (const Catalogue::Produit& p : Catalogue::produits()) {
        c += "<option value=\"" + echapper(p.code) + "\"" + (p.code == saisie.produit ? " selected" : "") +
             ">" + echapper(p.nom) + " (" + echapper(Catalogue::montantAffiche(p.prixBaseCentimes)) + " en " +
             std::to_string(p.largeurDefaut) + " × " + std::to_string(p.hauteurDefaut) + " mm)</option>\n";
    }
    const std::string limites = " min=\"" + std::to_string(Catalogue::DimensionMin) + "\" max=\"" +
                                std::to_string(Catalogue::DimensionMax) + "\"";
    c += "</select></label>\n"
         "<label>Largeur (mm) <input type=\"number\" name=\"largeur\" required" +
         limites + " value=\"" + std::to_string(saisie.largeur) +
         "\"></label>\n"
         "<label>Hauteur (mm) <input type=\"number\" name=\"hauteur\" required" +
         limites + " value=\"" + std::to_string(saisie.hauteur) +
         "\"></label>\n"
         "<label>Quantité <input type=\"number\" name=\"quantite\" required min=\"1\" max=\"" +
         std::to_string(Catalogue::QuantiteMax) + "\" value=\"" + std::to_string(saisie.quantite) +
         "\"></label>\n"
         "<label>Repère (pièce, facultatif) <input type=\"text\" name=\"repere\" maxlength=\"60\" value=\"" +
         echapper(saisie.repere.value_or("")) +
         "\"></label>\n</fieldset>\n<fieldset><legend>Options</legend>\n";
    for (const Catalogue::Option& o : Catalogue::options()) {
        c += "<label><input type=\"checkbox\" name=\"options\" value=\"" + echapper(o.code) + "\"" +
             (coche(saisie, o.code) ? " checked" : "") + "> " + echapper(o.nom) + " (+ " +
             echapper(Catalogue::montantAffiche(o.prixCentimes)) + ")</label>\n";
    }
    c += "</fieldset>\n<p>Prix revendeur : remise de " +
         std::to_string(static_cast<int>(Catalogue::RemiseRevendeur * 100 + 0.5)) +
         " % sur le prix public.</p>\n<button type=\"submit\">Valider le chiffrage</button>\n</form>\n";
    return page("Chiffrage " + nomMarque(marque), c);
}

std::string confirmation(const std::string& marque, const std::string& recordId,
                         const Catalogue::Saisie& saisie, const Catalogue::Prix& prix)
{
    const Catalogue::Produit& produit = *Catalogue::produitParCode(saisie.produit);
    std::string c =
        "<h1>Chiffrage enregistré</h1>\n<p>Devis n° " + echapper(recordId) + " : " +
        std::to_string(saisie.quantite) + " × " + echapper(produit.nom) + ", " +
        std::to_string(saisie.largeur) + " × " + std::to_string(saisie.hauteur) + " mm" +
        (saisie.repere ? " (" + echapper(*saisie.repere) + ")" : std::string()) +
        ".</p>\n<table>\n<tr><th>Prix public</th><td>" + echapper(Catalogue::montantAffiche(prix.totalBase)) +
        "</td></tr>\n<tr><th>Prix revendeur</th><td>" + echapper(Catalogue::montantAffiche(prix.totalAchat)) +
        "</td></tr>\n<tr><th>Éco-participation</th><td>" +
        (prix.ecoTaxe ? echapper(Catalogue::montantAffiche(*prix.ecoTaxe)) : std::string("sans objet")) +
        "</td></tr>\n</table>\n<p class=\"info\">Revenez au configurateur " + echapper(nomMarque(marque)) +
        " et cliquez sur « Récupérer le devis ». Vous pouvez fermer cette page.</p>\n";
    return page("Chiffrage enregistré", c);
}

std::string erreur(const std::string& titre, const std::string& message)
{
    return page(titre,
                "<h1>" + echapper(titre) + "</h1>\n<p class=\"erreur\">" + echapper(message) + "</p>\n");
}

} // namespace PagePrix
