// The maker's gateway: sessions, the pricing page and the retrieval address.
#include "Http.h"
#include "PagePrix.h"
#include "Sandbox.h"

#include <QString>
#include <algorithm>
#include <array>

namespace {

constexpr std::array MarquesConnues = {"olka", "trun", "pavesc"};

constexpr char TypeXmlUtf8[] = "application/xml; charset=utf-8";

std::string refus(const std::string& raison)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Configurateur><Erreur>" + Http::echapperXml(raison) +
           "</Erreur></Configurateur>";
}

void repondrePage(httplib::Response& res, int statut, const std::string& page)
{
    res.status = statut;
    res.set_content(page, Http::TypeHtml);
}

std::optional<int> entier(const Http::Parametres& p, const std::string& cle)
{
    const auto texte = Http::valeur(p, cle);
    if (!texte || texte->empty() || texte->size() > 6 ||
        !std::all_of(texte->begin(), texte->end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(*texte);
}

void repondreSessionInconnue(httplib::Response& res)
{
    repondrePage(res, 404,
                 PagePrix::erreur("Session inconnue", "Ce lien de chiffrage n'est pas ou plus valable. "
                                                      "Relancez le chiffrage depuis le configurateur."));
}

} // namespace

std::string Sandbox::origine(const Requete& req) const
{
    const std::string hote = req.get_header_value("Host");
    if (!hote.empty()) {
        return "http://" + hote;
    }
    return "http://" + config_.hote + ":" + std::to_string(req.local_port);
}

void Sandbox::ouvrirSession(const Requete& req, Reponse& res)
{
    const Http::Parametres p = Http::lireParametres(Http::requeteBrute(req.target));
    const std::string email = Http::valeur(p, "email").value_or("");
    const std::string motDePasse = Http::valeur(p, "mdp").value_or("");
    const std::string marque = Http::valeur(p, "passerelle").value_or("");
    const std::string devis = Http::valeur(p, "jeton").value_or("");
    res.status = 200;

    const auto compte = std::find_if(config_.utilisateurs.begin(), config_.utilisateurs.end(),
                                     [&email](const Compte& c) { return c.email == email; });
    if (compte == config_.utilisateurs.end()) {
        res.set_content(refus("Utilisateur inconnu : " + email), TypeXmlUtf8);
        return;
    }
    if (compte->motDePasse != motDePasse) {
        res.set_content(refus("Mot de passe incorrect pour " + email), TypeXmlUtf8);
        return;
    }
    if (std::find(MarquesConnues.begin(), MarquesConnues.end(), marque) == MarquesConnues.end()) {
        res.set_content(refus("Passerelle inconnue : " + marque), TypeXmlUtf8);
        return;
    }
    Session session{aleatoireHex(16), marque, email, devis, {}};
    {
        std::lock_guard verrou(mutex_);
        if (!devis.empty() && records_.count(devis) == 0) {
            res.set_content(refus("Devis inconnu : " + devis), TypeXmlUtf8);
            return;
        }
        sessions_[session.jeton] = session;
    }
    const std::string base = Http::echapperXml(origine(req));
    res.set_content("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Configurateur><Jeton>" + session.jeton +
                        "</Jeton><UrlConnexion>" + base + "/chiffrage?jeton=" + session.jeton +
                        "</UrlConnexion><UrlRecuperation>" + base + "/recuperation?jeton=" + session.jeton +
                        "</UrlRecuperation></Configurateur>",
                    TypeXmlUtf8);
}

void Sandbox::afficherChiffrage(const Requete& req, Reponse& res)
{
    const Http::Parametres p = Http::lireParametres(Http::requeteBrute(req.target));
    const std::string jeton = Http::valeur(p, "jeton").value_or("");
    Session session;
    std::string record;
    {
        std::lock_guard verrou(mutex_);
        const auto it = sessions_.find(jeton);
        if (it == sessions_.end()) {
            repondreSessionInconnue(res);
            return;
        }
        session = it->second;
        const std::string& existant = session.recordCourant();
        if (const auto r = records_.find(existant); r != records_.end()) {
            record = r->second;
        }
    }
    Catalogue::Saisie saisie;
    if (!record.empty()) {
        saisie = Catalogue::saisieDepuisRecord(record);
    } else {
        const Catalogue::Produit& premier = Catalogue::produits().front();
        saisie.produit = premier.code;
        saisie.largeur = premier.largeurDefaut;
        saisie.hauteur = premier.hauteurDefaut;
    }
    const std::string& misAJour = session.recordCourant();
    repondrePage(res, 200, PagePrix::formulaire(session.jeton, session.marque, saisie, misAJour, {}));
}

void Sandbox::enregistrerChiffrage(const Requete& req, Reponse& res)
{
    const Http::Parametres p = Http::lireParametres(req.body);
    const std::string jeton = Http::valeur(p, "jeton").value_or("");

    Catalogue::Saisie saisie;
    saisie.produit = Http::valeur(p, "produit").value_or("");
    saisie.largeur = entier(p, "largeur").value_or(0);
    saisie.hauteur = entier(p, "hauteur").value_or(0);
    saisie.quantite = entier(p, "quantite").value_or(0);
    const std::string repere =
        QString::fromStdString(Http::valeur(p, "repere").value_or("")).trimmed().toStdString();
    if (!repere.empty()) {
        saisie.repere = repere;
    }
    for (auto [it, fin] = p.equal_range("options"); it != fin; ++it) {
        if (std::find(saisie.options.begin(), saisie.options.end(), it->second) == saisie.options.end()) {
            saisie.options.push_back(it->second);
        }
    }

    Session session;
    {
        std::lock_guard verrou(mutex_);
        const auto it = sessions_.find(jeton);
        if (it == sessions_.end()) {
            repondreSessionInconnue(res);
            return;
        }
        session = it->second;
    }
    const std::string misAJour = session.recordCourant();
    if (const std::string probleme = Catalogue::verifier(saisie); !probleme.empty()) {
        repondrePage(res, 400,
                     PagePrix::formulaire(session.jeton, session.marque, saisie, misAJour, probleme));
        return;
    }

    std::string id = misAJour;
    if (id.empty()) {
        std::lock_guard verrou(mutex_);
        id = std::to_string(prochainRecord_++);
    }
    // Drawing takes a while; the state is not held meanwhile.
    std::string record = Catalogue::construireRecord(id, saisie, false, config_.formatImage);
    {
        std::lock_guard verrou(mutex_);
        records_[id] = std::move(record);
        if (const auto it = sessions_.find(jeton); it != sessions_.end()) {
            it->second.recordId = id;
        }
    }
    repondrePage(res, 200, PagePrix::confirmation(session.marque, id, saisie, Catalogue::chiffrer(saisie)));
}

void Sandbox::recuperer(const Requete& req, Reponse& res)
{
    const Http::Parametres p = Http::lireParametres(Http::requeteBrute(req.target));
    const std::string jeton = Http::valeur(p, "jeton").value_or("");
    Session session;
    {
        std::lock_guard verrou(mutex_);
        const auto it = sessions_.find(jeton);
        if (it == sessions_.end()) {
            res.status = 404;
            res.set_content(refus("Session inconnue"), TypeXmlUtf8);
            return;
        }
        session = it->second;
    }
    const QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Configurateur><Jeton>%1</Jeton>"
                       "<Passerelle>%2</Passerelle><Project>%3</Project></Configurateur>")
            .arg(QString::fromStdString(Http::echapperXml(session.jeton)),
                 QString::fromStdString(Http::echapperXml(session.marque)),
                 QString::fromStdString(Http::echapperXml(session.recordId)));
    res.status = 200;
    res.set_content(xml.toLatin1().toStdString(), "application/xml; charset=ISO-8859-1");
}
