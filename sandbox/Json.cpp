#include "Json.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <stdexcept>

namespace Json {

std::string chaine(std::string_view texte)
{
    rapidjson::StringBuffer tampon;
    rapidjson::Writer<rapidjson::StringBuffer> ecrivain(tampon);
    ecrivain.String(texte.data(), static_cast<rapidjson::SizeType>(texte.size()));
    return {tampon.GetString(), tampon.GetSize()};
}

std::string ecrire(const rapidjson::Value& valeur)
{
    rapidjson::StringBuffer tampon;
    rapidjson::Writer<rapidjson::StringBuffer> ecrivain(tampon);
    valeur.Accept(ecrivain);
    return {tampon.GetString(), tampon.GetSize()};
}

std::string texteSimple(const rapidjson::Value& valeur)
{
    if (valeur.IsString()) {
        return {valeur.GetString(), valeur.GetStringLength()};
    }
    return ecrire(valeur);
}

std::string erreur(const rapidjson::Document& document)
{
    return std::string(rapidjson::GetParseError_En(document.GetParseError())) + " (offset " +
           std::to_string(document.GetErrorOffset()) + ")";
}

namespace {

// A string stream the reader cannot copy: rapidjson parses strings and numbers on a
// local copy of a copyable stream, so its position would lag during the callbacks.
class FluxSuivi
{
public:
    using Ch = char;

    explicit FluxSuivi(const char* texte) : debut_(texte), courant_(texte) {}

    Ch Peek() const { return *courant_; }
    Ch Take() { return *courant_++; }
    size_t Tell() const { return static_cast<size_t>(courant_ - debut_); }

    // Read only.
    Ch* PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    size_t PutEnd(Ch*) { return 0; }

private:
    const char* debut_;
    const char* courant_;
};

// Follows the reader through the text and cuts out the values it wants: a value
// starts after the key that names it and ends where the reader has consumed it.
class Decoupeur : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Decoupeur>
{
public:
    Decoupeur(const std::string& texte, const FluxSuivi& flux, const std::string& membre,
              std::map<std::string, std::string>& sortie)
        : texte_(texte), flux_(flux), membre_(membre), sortie_(sortie)
    {
    }

    bool Key(const char* nom, rapidjson::SizeType longueur, bool)
    {
        if (profondeur_ == 1) {
            dansMembre_ = std::string_view(nom, longueur) == membre_;
        } else if (profondeur_ == 2 && dansMembre_) {
            cle_.assign(nom, longueur);
            debut_ = flux_.Tell();
        }
        return true;
    }
    bool StartObject() { return ouvrir(); }
    bool StartArray() { return ouvrir(); }
    bool EndObject(rapidjson::SizeType) { return fermer(); }
    bool EndArray(rapidjson::SizeType) { return fermer(); }
    bool Default() { return valeurFinie(); }

private:
    bool ouvrir()
    {
        ++profondeur_;
        return true;
    }
    bool fermer()
    {
        --profondeur_;
        return valeurFinie();
    }
    bool valeurFinie()
    {
        if (profondeur_ == 2 && dansMembre_) {
            std::string valeur = texte_.substr(debut_, flux_.Tell() - debut_);
            const auto premier = valeur.find_first_not_of(" \t\r\n:");
            sortie_[cle_] = premier == std::string::npos ? std::string() : valeur.substr(premier);
        }
        return true;
    }

    const std::string& texte_;
    const FluxSuivi& flux_;
    const std::string& membre_;
    std::map<std::string, std::string>& sortie_;
    int profondeur_ = 0;
    bool dansMembre_ = false;
    std::string cle_;
    size_t debut_ = 0;
};

} // namespace

std::map<std::string, std::string> membresBruts(const std::string& texte, const std::string& membre)
{
    std::map<std::string, std::string> sortie;
    FluxSuivi flux(texte.c_str());
    Decoupeur decoupeur(texte, flux, membre, sortie);
    rapidjson::Reader lecteur;
    const rapidjson::ParseResult resultat = lecteur.Parse(flux, decoupeur);
    if (resultat.IsError()) {
        throw std::runtime_error(std::string(rapidjson::GetParseError_En(resultat.Code())) + " (offset " +
                                 std::to_string(resultat.Offset()) + ")");
    }
    return sortie;
}

} // namespace Json
