// The quotation platform: records, their check, and orders.
#include "Http.h"
#include "Json.h"
#include "Sandbox.h"

#include <QByteArray>
#include <cctype>

namespace {

void repondreJson(httplib::Response& res, int statut, const std::string& corps)
{
    res.status = statut;
    res.set_content(corps, Http::TypeJson);
}

void repondreErreur(httplib::Response& res, int statut, const char* code, const std::string& message)
{
    repondreJson(res, statut,
                 std::string("{\"errorCode\":\"") + code + "\",\"message\":" + Json::chaine(message) + "}");
}

bool commenceSansCasse(const std::string& texte, const std::string& prefixe)
{
    if (texte.size() < prefixe.size()) {
        return false;
    }
    for (size_t i = 0; i < prefixe.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(texte[i])) !=
            std::tolower(static_cast<unsigned char>(prefixe[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

int Sandbox::controleAcces(const Requete& req) const
{
    if (req.get_header_value_count("Authorization") != 1) {
        return 401;
    }
    const std::string autorisation = req.get_header_value("Authorization");
    if (!commenceSansCasse(autorisation, "Basic ")) {
        return 401;
    }
    const auto decode = QByteArray::fromBase64Encoding(
        QByteArray::fromStdString(autorisation.substr(6)).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decode || decode.decoded.toStdString() != config_.service.email + ":" + config_.service.motDePasse) {
        return 401;
    }
    // The key must come once: a client that adds it on every request without
    // clearing its headers sends it twice.
    if (req.get_header_value_count("Rodid-Issuer") != 1 ||
        req.get_header_value("Rodid-Issuer") != config_.cle) {
        return 403;
    }
    return 0;
}

void Sandbox::refuserAcces(int statut, Reponse& res)
{
    if (statut == 401) {
        res.set_header("WWW-Authenticate", "Basic realm=\"quelt\"");
        repondreErreur(res, 401, "UNAUTHORIZED", "Basic credentials of the service account expected");
    } else {
        repondreErreur(res, 403, "FORBIDDEN", "one Rodid-Issuer header with the issuer key expected");
    }
}

void Sandbox::lireRecord(const std::string& id, Reponse& res)
{
    res.set_header("Set-Cookie", "quelt_session=" + aleatoireHex(16) + "; Path=/");
    std::lock_guard verrou(mutex_);
    const auto it = records_.find(id);
    if (it == records_.end()) {
        repondreErreur(res, 404, "NOT_FOUND", "no quotation record " + id);
        return;
    }
    repondreJson(res, 200, it->second);
}

void Sandbox::verifierRecords(const Requete& req, Reponse& res)
{
    rapidjson::Document doc;
    doc.Parse(req.body.c_str(), req.body.size());
    if (doc.HasParseError() || !doc.IsArray()) {
        repondreErreur(res, 400, "BAD_REQUEST",
                       doc.HasParseError() ? Json::erreur(doc) : "a JSON array of record ids expected");
        return;
    }
    std::string corps = "[";
    std::lock_guard verrou(mutex_);
    for (const rapidjson::Value& element : doc.GetArray()) {
        const std::string id = Json::texteSimple(element);
        std::string code = "null";
        if (const auto script = codesErreur_.find(id); script != codesErreur_.end()) {
            code = script->second;
        } else if (records_.count(id) == 0) {
            code = "\"NOT_FOUND\"";
        }
        corps += (corps.size() == 1 ? "" : ",") + std::string("{\"quotationRecordId\":") +
                 Json::ecrire(element) + ",\"errorCode\":" + code + "}";
    }
    repondreJson(res, 200, corps + "]");
}

void Sandbox::creerCommande(const Requete& req, Reponse& res)
{
    rapidjson::Document doc;
    doc.Parse(req.body.c_str(), req.body.size());
    if (doc.HasParseError() || !doc.IsObject()) {
        repondreErreur(res, 400, "BAD_REQUEST",
                       doc.HasParseError() ? Json::erreur(doc) : "a JSON object expected");
        return;
    }
    std::lock_guard verrou(mutex_);
    repondreJson(res, 200, "{\"reference\":\"CDE-" + std::to_string(prochaineCommande_++) + "\"}");
}
