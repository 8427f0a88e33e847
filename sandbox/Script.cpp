#include "Script.h"

#include "Json.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

const std::string Marqueur = "@IMAGE@";

bool lireTexte(const rapidjson::Value& v, std::string& cible)
{
    if (!v.IsString()) {
        return false;
    }
    cible.assign(v.GetString(), v.GetStringLength());
    return true;
}

std::optional<Surcharge::Action> lireAction(const std::string& nom)
{
    if (nom == "none") {
        return Surcharge::Action::Aucune;
    }
    if (nom == "stall") {
        return Surcharge::Action::Blocage;
    }
    if (nom == "reset") {
        return Surcharge::Action::Coupure;
    }
    if (nom == "redirect") {
        return Surcharge::Action::Redirection;
    }
    return std::nullopt;
}

std::optional<Images::Taille> lireTaille(const rapidjson::Value& v)
{
    const auto dimension = [&v](const char* nom, int defaut) -> std::optional<int> {
        const auto m = v.FindMember(nom);
        if (m == v.MemberEnd()) {
            return defaut;
        }
        if (!m->value.IsInt() || m->value.GetInt() < 1 || m->value.GetInt() > 4000) {
            return std::nullopt;
        }
        return m->value.GetInt();
    };
    const auto l = dimension("largeur", TailleImageDefaut.largeur);
    const auto h = dimension("hauteur", TailleImageDefaut.hauteur);
    if (!l || !h) {
        return std::nullopt;
    }
    return Images::Taille{*l, *h};
}

} // namespace

std::optional<Surcharge> lireSurcharge(const rapidjson::Value& valeur, std::string& erreur)
{
    if (!valeur.IsObject()) {
        erreur = "an override is a JSON object";
        return std::nullopt;
    }
    Surcharge s;
    bool methode = false;
    bool chemin = false;
    for (const auto& membre : valeur.GetObject()) {
        const std::string nom(membre.name.GetString(), membre.name.GetStringLength());
        const rapidjson::Value& v = membre.value;
        bool bon = true;
        if (nom == "method") {
            bon = methode = lireTexte(v, s.methode);
            std::transform(s.methode.begin(), s.methode.end(), s.methode.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        } else if (nom == "path") {
            bon = chemin = lireTexte(v, s.chemin) && s.chemin.rfind('/', 0) == 0;
        } else if (nom == "status") {
            bon = v.IsInt() && v.GetInt() >= 100 && v.GetInt() <= 599;
            if (bon) {
                s.statut = v.GetInt();
            }
        } else if (nom == "body") {
            // A JSON value other than a string is sent as its JSON text.
            if (!lireTexte(v, s.corps)) {
                s.corps = Json::ecrire(v);
            }
        } else if (nom == "contentType") {
            bon = s.typeContenuDonne = lireTexte(v, s.typeContenu);
        } else if (nom == "headers") {
            bon = v.IsObject();
            if (bon) {
                for (const auto& entete : v.GetObject()) {
                    std::string texte;
                    if (!lireTexte(entete.value, texte)) {
                        bon = false;
                        break;
                    }
                    s.entetes.emplace_back(entete.name.GetString(), texte);
                }
            }
        } else if (nom == "delayMs") {
            bon = v.IsInt() && v.GetInt() >= 0;
            if (bon) {
                s.delaiMs = std::min(v.GetInt(), DelaiMaxMs);
            }
        } else if (nom == "action") {
            std::string texte;
            const auto action = lireTexte(v, texte) ? lireAction(texte) : std::nullopt;
            bon = action.has_value();
            if (bon) {
                s.action = *action;
            }
        } else if (nom == "location") {
            bon = lireTexte(v, s.adresse);
        } else if (nom == "times") {
            bon = v.IsInt() && (v.GetInt() == -1 || v.GetInt() > 0);
            if (bon) {
                s.fois = v.GetInt();
            }
        } else if (nom == "skipAuth") {
            bon = v.IsBool();
            if (bon) {
                s.sansAuthentification = v.GetBool();
            }
        } else {
            erreur = "unknown override member \"" + nom + "\"";
            return std::nullopt;
        }
        if (!bon) {
            erreur = "wrong value for override member \"" + nom + "\"";
            return std::nullopt;
        }
    }
    if (!methode || !chemin) {
        erreur = "an override needs \"method\" and \"path\" (starting with /)";
        return std::nullopt;
    }
    if (s.action == Surcharge::Action::Redirection && s.adresse.empty()) {
        erreur = "a redirect override needs \"location\"";
        return std::nullopt;
    }
    return s;
}

std::string remplacerImage(std::string texte, Images::Format format, Images::Taille taille)
{
    if (texte.find(Marqueur) == std::string::npos) {
        return texte;
    }
    const std::string image = Images::dessinerBase64(Images::Dessin::Fenetre, {}, taille, format);
    for (auto pos = texte.find(Marqueur); pos != std::string::npos;
         pos = texte.find(Marqueur, pos + image.size())) {
        texte.replace(pos, Marqueur.size(), image);
    }
    return texte;
}

Scenario chargerScenario(const std::string& chemin, Images::Format formatDefaut)
{
    std::ifstream fichier(chemin, std::ios::binary);
    if (!fichier) {
        throw std::runtime_error("cannot read scenario file " + chemin);
    }
    std::ostringstream contenu;
    contenu << fichier.rdbuf();
    const std::string texte = contenu.str();

    rapidjson::Document doc;
    doc.Parse(texte.c_str(), texte.size());
    if (doc.HasParseError()) {
        throw std::runtime_error("scenario " + chemin + ": " + Json::erreur(doc));
    }
    if (!doc.IsObject()) {
        throw std::runtime_error("scenario " + chemin + ": the top level is not an object");
    }
    const auto objet = [&doc, &chemin](const char* nom) -> const rapidjson::Value* {
        const auto m = doc.FindMember(nom);
        if (m == doc.MemberEnd()) {
            return nullptr;
        }
        if (!m->value.IsObject()) {
            throw std::runtime_error("scenario " + chemin + ": \"" + nom + "\" is not an object");
        }
        return &m->value;
    };

    Scenario scenario;
    const rapidjson::Value* images = objet("images");
    if (const rapidjson::Value* records = objet("records")) {
        // Records keep their exact source text; a record given as a string is that
        // string's content, so a scenario can hold a record that is not even JSON.
        const auto bruts = Json::membresBruts(texte, "records");
        for (const auto& membre : records->GetObject()) {
            const std::string id = membre.name.GetString();
            std::string record;
            if (!lireTexte(membre.value, record)) {
                record = bruts.at(id);
            }
            Images::Format format = formatDefaut;
            Images::Taille taille = TailleImageDefaut;
            if (images != nullptr) {
                if (const auto img = images->FindMember(id.c_str()); img != images->MemberEnd()) {
                    const auto f =
                        img->value.IsObject() ? img->value.FindMember("format") : img->value.MemberEnd();
                    std::string nomFormat;
                    if (f != img->value.MemberEnd()) {
                        const auto lu =
                            lireTexte(f->value, nomFormat) ? Images::lireFormat(nomFormat) : std::nullopt;
                        if (!lu) {
                            throw std::runtime_error("scenario " + chemin + ": wrong picture format for " +
                                                     id);
                        }
                        format = *lu;
                    }
                    const auto t = img->value.IsObject() ? lireTaille(img->value) : std::nullopt;
                    if (!t) {
                        throw std::runtime_error("scenario " + chemin + ": wrong picture for " + id);
                    }
                    taille = *t;
                }
            }
            scenario.records[id] = remplacerImage(record, format, taille);
        }
    }
    if (objet("errorCodes") != nullptr) {
        scenario.codesErreur = Json::membresBruts(texte, "errorCodes");
    }
    if (const auto m = doc.FindMember("overrides"); m != doc.MemberEnd()) {
        if (!m->value.IsArray()) {
            throw std::runtime_error("scenario " + chemin + ": \"overrides\" is not an array");
        }
        int rang = 0;
        for (const rapidjson::Value& v : m->value.GetArray()) {
            std::string erreur;
            auto s = lireSurcharge(v, erreur);
            if (!s) {
                throw std::runtime_error("scenario " + chemin + ", override " + std::to_string(rang) + ": " +
                                         erreur);
            }
            scenario.surcharges.push_back(std::move(*s));
            ++rang;
        }
    }
    return scenario;
}
