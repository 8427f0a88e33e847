#pragma once

#include <map>
#include <rapidjson/document.h>
#include <string>
#include <string_view>

// Small JSON helpers. Records are kept as text, so most of the sandbox writes JSON by
// hand from pieces; these make each piece right.
namespace Json {

// A JSON string literal: quotes and escapes included.
std::string chaine(std::string_view texte);

// The value written back as compact JSON text.
std::string ecrire(const rapidjson::Value& valeur);

// The value as a person reads it: a string without quotes, a number as written,
// null as "null".
std::string texteSimple(const rapidjson::Value& valeur);

// Parse error of a document, in words, with its byte offset.
std::string erreur(const rapidjson::Document& document);

// The source text of each member's value of the top-level object member `membre`,
// byte for byte as written (numbers such as 12.50 keep their digits).
// Throws std::runtime_error when the text is not JSON.
std::map<std::string, std::string> membresBruts(const std::string& texte, const std::string& membre);

} // namespace Json
