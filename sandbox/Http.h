#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// Request pieces that httplib gives only in a form the sandbox cannot use as is.
namespace Http {

inline constexpr char TypeJson[] = "application/json; charset=utf-8";
inline constexpr char TypeHtml[] = "text/html; charset=utf-8";

using Parametres = std::multimap<std::string, std::string>;

// Query string or form body (application/x-www-form-urlencoded): pairs split at
// the first '=', '+' and %XX decoded, repeated keys kept in order. httplib's own
// parser keeps only what follows the last '=' of a pair and drops repeated pairs.
Parametres lireParametres(std::string_view texte);

// First value of a key.
std::optional<std::string> valeur(const Parametres& parametres, const std::string& cle);

// The request target as received, before and after its '?'.
std::string cheminBrut(const std::string& cible);
std::string requeteBrute(const std::string& cible);

std::string echapperXml(std::string_view texte);

} // namespace Http
