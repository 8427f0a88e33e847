#pragma once

#include "Catalogue.h"

#include <string>

// The pricing pages the user's browser shows: plain HTML forms, UTF-8, no script.
namespace PagePrix {

// The quote form. recordMisAJour names the record being updated (empty for a new
// quote); erreur, when not empty, is shown above the form.
std::string formulaire(const std::string& jeton, const std::string& marque, const Catalogue::Saisie& saisie,
                       const std::string& recordMisAJour, const std::string& erreur);

// Shown once the quote is stored: tells the user to go back to the program.
std::string confirmation(const std::string& marque, const std::string& recordId,
                         const Catalogue::Saisie& saisie, const Catalogue::Prix& prix);

std::string erreur(const std::string& titre, const std::string& message);

} // namespace PagePrix
