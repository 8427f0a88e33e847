#pragma once

#include "Images.h"

#include <map>
#include <optional>
#include <rapidjson/document.h>
#include <string>
#include <utility>
#include <vector>

// What tests and demos script: answers that replace the normal ones, and the
// scenario file applied at start.

// A scripted answer for requests of one method and path.
struct Surcharge
{
    enum class Action
    {
        Aucune,     // answer as scripted
        Blocage,    // wait, then answer
        Coupure,    // announce a long body, send part of it, drop the connection
        Redirection // answer with a Location header
    };

    std::string methode;
    std::string chemin; // exact path, query not compared
    std::optional<int> statut;
    std::string corps;
    std::string typeContenu = "application/json; charset=utf-8";
    bool typeContenuDonne = false;
    std::vector<std::pair<std::string, std::string>> entetes;
    int delaiMs = 0;
    Action action = Action::Aucune;
    std::string adresse; // Location of a redirection
    int fois = -1;       // requests still to answer; -1: no limit
    bool sansAuthentification = false;
};

inline constexpr int DelaiMaxMs = 120000;

// Reads an override object; on a wrong member, returns nothing and says why.
std::optional<Surcharge> lireSurcharge(const rapidjson::Value& valeur, std::string& erreur);

struct Scenario
{
    std::map<std::string, std::string> records;     // id -> record JSON text
    std::map<std::string, std::string> codesErreur; // id -> JSON value text
    std::vector<Surcharge> surcharges;              // oldest first
};

// Reads a scenario file; throws std::runtime_error with the reason when it is wrong.
Scenario chargerScenario(const std::string& chemin, Images::Format formatDefaut);

// Puts the Base64 of a picture of that format and size wherever @IMAGE@ stands.
std::string remplacerImage(std::string texte, Images::Format format, Images::Taille taille);

inline constexpr Images::Taille TailleImageDefaut{300, 200};
