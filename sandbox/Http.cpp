#include "Http.h"

#include <QByteArray>

namespace Http {

namespace {

std::string decoder(std::string_view texte)
{
    QByteArray octets(texte.data(), static_cast<qsizetype>(texte.size()));
    octets.replace('+', ' ');
    return QByteArray::fromPercentEncoding(octets).toStdString();
}

} // namespace

Parametres lireParametres(std::string_view texte)
{
    Parametres parametres;
    while (!texte.empty()) {
        const size_t fin = texte.find('&');
        const std::string_view paire = texte.substr(0, fin);
        texte = fin == std::string_view::npos ? std::string_view() : texte.substr(fin + 1);
        if (paire.empty()) {
            continue;
        }
        const size_t egal = paire.find('=');
        if (egal == std::string_view::npos) {
            parametres.emplace(decoder(paire), std::string());
        } else {
            parametres.emplace(decoder(paire.substr(0, egal)), decoder(paire.substr(egal + 1)));
        }
    }
    return parametres;
}

std::optional<std::string> valeur(const Parametres& parametres, const std::string& cle)
{
    const auto it = parametres.lower_bound(cle);
    if (it == parametres.end() || it->first != cle) {
        return std::nullopt;
    }
    return it->second;
}

std::string cheminBrut(const std::string& cible)
{
    return cible.substr(0, cible.find('?'));
}

std::string requeteBrute(const std::string& cible)
{
    const size_t pos = cible.find('?');
    return pos == std::string::npos ? std::string() : cible.substr(pos + 1);
}

std::string echapperXml(std::string_view texte)
{
    std::string sortie;
    sortie.reserve(texte.size());
    for (const char c : texte) {
        switch (c) {
        case '&':
            sortie += "&amp;";
            break;
        case '<':
            sortie += "&lt;";
            break;
        case '>':
            sortie += "&gt;";
            break;
        case '"':
            sortie += "&quot;";
            break;
        case '\'':
            sortie += "&#39;";
            break;
        default:
            sortie += c;
        }
    }
    return sortie;
}

} // namespace Http
