#include "Sandbox.h"

#include "Http.h"
#include "Json.h"

#include <QByteArray>
#include <algorithm>
#include <chrono>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <sys/socket.h>

namespace {

constexpr long PremiereCommande = 815;
constexpr long PremierRecordChiffre = 5001;
constexpr int ThreadsServeur = 16; // stalled answers each hold one

const std::string PrefixeControle = "/_sandbox/";

struct RecordDeDepart
{
    const char* id;
    Catalogue::Saisie saisie;
    bool modeIndirect;
};

// A window, a French window without location, and a shutter priced by a user with
// an indirect profile.
const std::vector<RecordDeDepart>& recordsDeDepart()
{
    static const std::vector<RecordDeDepart> liste = {
        {"4711", {"fenetre-pvc", 1200, 1350, 2, "Salon", {"oscillo", "croisillons"}}, false},
        {"812", {"porte-fenetre-alu", 1400, 2150, 1, std::nullopt, {"feuillete"}}, false},
        {"905", {"volet-roulant", 2400, 1500, 3, "Chambre 2", {}}, true},
    };
    return liste;
}

void repondreJson(httplib::Response& res, int statut, const std::string& corps)
{
    res.status = statut;
    res.set_content(corps, Http::TypeJson);
}

void repondreErreur(httplib::Response& res, int statut, const std::string& message)
{
    repondreJson(res, statut, "{\"error\":" + Json::chaine(message) + "}");
}

bool commencePar(const std::string& texte, const std::string& prefixe)
{
    return texte.rfind(prefixe, 0) == 0;
}

// httplib files the peer's and its own socket addresses among the headers.
bool estEnteteAjoute(const std::string& nom)
{
    return nom == "REMOTE_ADDR" || nom == "REMOTE_PORT" || nom == "LOCAL_ADDR" || nom == "LOCAL_PORT";
}

} // namespace

Sandbox::Sandbox(Configuration configuration, Scenario scenario)
    : config_(std::move(configuration)), scenario_(std::move(scenario)), alea_(std::random_device{}())
{
    for (const RecordDeDepart& r : recordsDeDepart()) {
        recordsDeDepart_[r.id] =
            Catalogue::construireRecord(r.id, r.saisie, r.modeIndirect, config_.formatImage);
    }
    if (!config_.fichierJournal.empty()) {
        fichierJournal_.open(config_.fichierJournal, std::ios::app | std::ios::binary);
    }
    remettreAZero();

    if (!config_.certificatTls.empty())
        serveur_ =
            std::make_unique<httplib::SSLServer>(config_.certificatTls.c_str(), config_.cleTls.c_str());
    else
        serveur_ = std::make_unique<httplib::Server>();
    serveur_->new_task_queue = [] { return new httplib::ThreadPool(ThreadsServeur); };
    // httplib's default is SO_REUSEPORT, which lets a second sandbox share the port
    // and take half of the connections; a busy port must be an error instead.
    serveur_->set_socket_options([](socket_t socket) {
        const int oui = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &oui, sizeof oui);
    });
    const auto gestionnaire = [this](const Requete& req, Reponse& res) { traiter(req, res); };
    serveur_->Get(".*", gestionnaire);
    serveur_->Post(".*", gestionnaire);
    serveur_->Put(".*", gestionnaire);
    serveur_->Patch(".*", gestionnaire);
    serveur_->Delete(".*", gestionnaire);
    serveur_->Options(".*", gestionnaire);
    serveur_->set_exception_handler([](const Requete&, Reponse& res, std::exception_ptr ep) {
        std::string message = "internal error";
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            message = e.what();
        } catch (...) {
        }
        repondreErreur(res, 500, message);
    });
}

bool Sandbox::journalOuvert() const
{
    return config_.fichierJournal.empty() || fichierJournal_.is_open();
}

bool Sandbox::serveurPret() const
{
    return serveur_->is_valid();
}

int Sandbox::ouvrir()
{
    if (config_.port == 0) {
        return serveur_->bind_to_any_port(config_.hote);
    }
    return serveur_->bind_to_port(config_.hote, config_.port) ? config_.port : -1;
}

bool Sandbox::servir()
{
    return serveur_->listen_after_bind();
}

void Sandbox::arreter()
{
    {
        std::lock_guard verrou(mutex_);
        arret_ = true;
    }
    reveil_.notify_all();
    serveur_->stop();
}

void Sandbox::remettreAZero()
{
    records_ = recordsDeDepart_;
    for (const auto& [id, record] : scenario_.records) {
        records_[id] = record;
    }
    codesErreur_ = scenario_.codesErreur;
    surcharges_ = scenario_.surcharges;
    sessions_.clear();
    journal_.clear();
    prochaineCommande_ = PremiereCommande;
    prochainRecord_ = PremierRecordChiffre;
}

std::string Sandbox::aleatoireHex(int octets)
{
    static constexpr char Chiffres[] = "0123456789abcdef";
    std::string texte;
    std::lock_guard verrou(mutex_);
    for (int i = 0; i < octets; ++i) {
        const auto octet = static_cast<unsigned>(alea_() & 0xffu);
        texte += Chiffres[octet >> 4];
        texte += Chiffres[octet & 0xfu];
    }
    return texte;
}

void Sandbox::traiter(const Requete& req, Reponse& res)
{
    if (commencePar(req.path, PrefixeControle)) {
        controle(req, res);
        return;
    }
    journaliser(req);
    const bool plateforme = commencePar(req.path, "/api/");
    const int refus = plateforme ? controleAcces(req) : 0;
    if (auto surcharge = prendreSurcharge(req, refus == 0 ? Acces::Accorde : Acces::Refuse)) {
        repondreSurcharge(*surcharge, res);
    } else if (refus != 0) {
        refuserAcces(refus, res);
    } else {
        router(req, res);
    }
}

void Sandbox::router(const Requete& req, Reponse& res)
{
    static const std::string Records = "/api/v2.0/quotation-records/";
    const std::string& chemin = req.path;
    const auto methode = [&req, &res](const char* attendue) {
        if (req.method == attendue || (req.method == "HEAD" && std::string(attendue) == "GET")) {
            return true;
        }
        res.set_header("Allow", attendue);
        repondreErreur(res, 405, "method not allowed");
        return false;
    };
    if (commencePar(chemin, Records) && chemin.size() > Records.size()) {
        if (methode("GET")) {
            lireRecord(chemin.substr(Records.size()), res);
        }
    } else if (chemin == "/api/v1.1/createorderprocess/checkquotationrecords") {
        if (methode("POST")) {
            verifierRecords(req, res);
        }
    } else if (chemin == "/api/v1.1/createorderprocess/createorder") {
        if (methode("POST")) {
            creerCommande(req, res);
        }
    } else if (chemin == "/index.php/Services/jeton") {
        if (methode("GET")) {
            ouvrirSession(req, res);
        }
    } else if (chemin == "/chiffrage") {
        if (req.method == "POST") {
            enregistrerChiffrage(req, res);
        } else if (methode("GET")) {
            afficherChiffrage(req, res);
        }
    } else if (chemin == "/recuperation") {
        if (methode("GET")) {
            recuperer(req, res);
        }
    } else {
        repondreErreur(res, 404, "no such endpoint: " + chemin);
    }
}

// --- Overrides ---------------------------------------------------------------

std::optional<Surcharge> Sandbox::prendreSurcharge(const Requete& req, Acces acces)
{
    const std::string brut = Http::cheminBrut(req.target);
    std::lock_guard verrou(mutex_);
    const auto it = std::find_if(surcharges_.rbegin(), surcharges_.rend(), [&](const Surcharge& s) {
        return s.methode == req.method && (s.chemin == req.path || s.chemin == brut);
    });
    if (it == surcharges_.rend() || (acces == Acces::Refuse && !it->sansAuthentification)) {
        return std::nullopt;
    }
    Surcharge surcharge = *it;
    if (it->fois > 0 && --it->fois == 0) {
        surcharges_.erase(std::next(it).base());
    }
    return surcharge;
}

bool Sandbox::attendre(int ms)
{
    std::unique_lock verrou(mutex_);
    return !reveil_.wait_for(verrou, std::chrono::milliseconds(ms), [this] { return arret_; });
}

void Sandbox::couper(Reponse& res, int statut, std::string corps)
{
    // Announce far more than is sent, then make the provider fail: httplib gives
    // up on the connection with the body cut short.
    res.status = statut;
    const size_t annonce = corps.size() + 65536;
    auto envoye = std::make_shared<std::string>(std::move(corps));
    const std::string type =
        res.get_header_value("Content-Type").empty() ? Http::TypeJson : res.get_header_value("Content-Type");
    res.set_content_provider(annonce, type, [envoye](size_t offset, size_t, httplib::DataSink& sink) {
        if (offset == 0 && !envoye->empty()) {
            sink.write(envoye->data(), envoye->size());
        }
        return false;
    });
}

void Sandbox::repondreSurcharge(const Surcharge& s, Reponse& res)
{
    int delai = s.delaiMs;
    if (s.action == Surcharge::Action::Blocage && delai == 0) {
        delai = DelaiMaxMs;
    }
    if (delai > 0 && !attendre(delai)) {
        couper(res, 503, {});
        return;
    }
    for (const auto& [nom, valeur] : s.entetes) {
        res.set_header(nom, valeur);
    }
    switch (s.action) {
    case Surcharge::Action::Redirection:
        res.status = s.statut.value_or(302);
        res.set_header("Location", s.adresse);
        break;
    case Surcharge::Action::Coupure:
        if (s.typeContenuDonne) {
            res.set_header("Content-Type", s.typeContenu);
        }
        couper(res, s.statut.value_or(200),
               s.corps.empty() ? std::string("{\"id\":4711,\"product\":{\"name\":\"Fen") : s.corps);
        return;
    case Surcharge::Action::Aucune:
    case Surcharge::Action::Blocage:
        res.status = s.statut.value_or(200);
        break;
    }
    if (!s.corps.empty()) {
        res.set_content(s.corps, s.typeContenu);
    } else if (s.typeContenuDonne) {
        res.set_header("Content-Type", s.typeContenu);
    }
}

// --- Log -----------------------------------------------------------------------

void Sandbox::journaliser(const Requete& req)
{
    rapidjson::StringBuffer tampon;
    rapidjson::Writer<rapidjson::StringBuffer> e(tampon);
    const auto texte = [&e](const std::string& s) {
        e.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
    };
    e.StartObject();
    e.Key("method");
    texte(req.method);
    e.Key("path");
    texte(Http::cheminBrut(req.target));
    e.Key("query");
    texte(Http::requeteBrute(req.target));
    e.Key("headers");
    e.StartArray();
    for (const auto& [nom, valeur] : req.headers) {
        if (estEnteteAjoute(nom)) {
            continue;
        }
        e.StartArray();
        texte(nom);
        texte(valeur);
        e.EndArray();
    }
    e.EndArray();
    e.Key("bodyBase64");
    texte(QByteArray::fromStdString(req.body).toBase64().toStdString());
    e.EndObject();

    std::string entree(tampon.GetString(), tampon.GetSize());
    std::lock_guard verrou(mutex_);
    if (fichierJournal_.is_open()) {
        fichierJournal_ << entree << '\n';
        fichierJournal_.flush();
    }
    journal_.push_back(std::move(entree));
}

// --- Control endpoints -----------------------------------------------------------

void Sandbox::controle(const Requete& req, Reponse& res)
{
    static const std::string Records = PrefixeControle + "records/";
    static const std::string SuffixeCode = "/errorCode";
    const std::string& chemin = req.path;

    if (commencePar(chemin, Records) && chemin.size() > Records.size()) {
        std::string id = chemin.substr(Records.size());
        if (id.size() > SuffixeCode.size() &&
            id.compare(id.size() - SuffixeCode.size(), SuffixeCode.size(), SuffixeCode) == 0) {
            controleCodeErreur(req, res, id.substr(0, id.size() - SuffixeCode.size()));
        } else {
            controleRecord(req, res, id);
        }
    } else if (chemin == PrefixeControle + "overrides") {
        controleSurcharges(req, res);
    } else if (chemin == PrefixeControle + "reset" && req.method == "POST") {
        std::lock_guard verrou(mutex_);
        remettreAZero();
        repondreJson(res, 200, "{\"ok\":true}");
    } else if (chemin == PrefixeControle + "log" && req.method == "GET") {
        std::string corps = "[";
        std::lock_guard verrou(mutex_);
        for (size_t i = 0; i < journal_.size(); ++i) {
            corps += (i == 0 ? "" : ",") + journal_[i];
        }
        repondreJson(res, 200, corps + "]");
    } else if (chemin == PrefixeControle + "log" && req.method == "DELETE") {
        std::lock_guard verrou(mutex_);
        journal_.clear();
        repondreJson(res, 200, "{\"ok\":true}");
    } else if (chemin == PrefixeControle + "sessions" && req.method == "GET") {
        std::string corps = "[";
        std::lock_guard verrou(mutex_);
        for (const auto& [jeton, s] : sessions_) {
            corps += (corps.size() == 1 ? "" : ",") + std::string("{\"token\":") + Json::chaine(s.jeton) +
                     ",\"brand\":" + Json::chaine(s.marque) + ",\"email\":" + Json::chaine(s.email) +
                     ",\"updatedRecordId\":" + Json::chaine(s.recordMisAJour) +
                     ",\"recordId\":" + Json::chaine(s.recordId) + "}";
        }
        repondreJson(res, 200, corps + "]");
    } else {
        repondreErreur(res, 404, "no such control endpoint: " + req.method + " " + chemin);
    }
}

void Sandbox::controleRecord(const Requete& req, Reponse& res, const std::string& id)
{
    if (req.method == "PUT") {
        const Http::Parametres p = Http::lireParametres(Http::requeteBrute(req.target));
        Images::Format format = config_.formatImage;
        Images::Taille taille = TailleImageDefaut;
        if (const auto nom = Http::valeur(p, "image")) {
            const auto lu = Images::lireFormat(*nom);
            if (!lu) {
                repondreErreur(res, 400, "image must be png, jpeg or bmp");
                return;
            }
            format = *lu;
        }
        for (const auto& [cle, cible] :
             {std::pair{"largeur", &taille.largeur}, std::pair{"hauteur", &taille.hauteur}}) {
            if (const auto texte = Http::valeur(p, cle)) {
                const int v = std::atoi(texte->c_str());
                if (v < 1 || v > 4000 || std::to_string(v) != *texte) {
                    repondreErreur(res, 400, std::string(cle) + " must be a number of pixels from 1 to 4000");
                    return;
                }
                *cible = v;
            }
        }
        std::string record = remplacerImage(req.body, format, taille);
        const size_t taille_octets = record.size();
        {
            std::lock_guard verrou(mutex_);
            records_[id] = std::move(record);
        }
        repondreJson(res, 200,
                     "{\"ok\":true,\"id\":" + Json::chaine(id) +
                         ",\"bytes\":" + std::to_string(taille_octets) + "}");
    } else if (req.method == "GET") {
        std::lock_guard verrou(mutex_);
        const auto it = records_.find(id);
        if (it == records_.end()) {
            repondreErreur(res, 404, "no record " + id);
        } else {
            repondreJson(res, 200, it->second);
        }
    } else if (req.method == "DELETE") {
        std::lock_guard verrou(mutex_);
        const bool present = records_.erase(id) > 0;
        repondreJson(res, present ? 200 : 404, present ? "{\"ok\":true}" : "{\"error\":\"no such record\"}");
    } else {
        repondreErreur(res, 405, "use PUT, GET or DELETE");
    }
}

void Sandbox::controleCodeErreur(const Requete& req, Reponse& res, const std::string& id)
{
    std::lock_guard verrou(mutex_);
    if (req.method == "PUT") {
        codesErreur_[id] = req.body;
        repondreJson(res, 200, "{\"ok\":true}");
    } else if (req.method == "DELETE") {
        codesErreur_.erase(id);
        repondreJson(res, 200, "{\"ok\":true}");
    } else {
        repondreErreur(res, 405, "use PUT or DELETE");
    }
}

void Sandbox::controleSurcharges(const Requete& req, Reponse& res)
{
    if (req.method == "DELETE") {
        std::lock_guard verrou(mutex_);
        surcharges_.clear();
        repondreJson(res, 200, "{\"ok\":true}");
        return;
    }
    if (req.method != "POST") {
        repondreErreur(res, 405, "use POST or DELETE");
        return;
    }
    rapidjson::Document doc;
    doc.Parse(req.body.c_str(), req.body.size());
    if (doc.HasParseError()) {
        repondreErreur(res, 400, Json::erreur(doc));
        return;
    }
    std::string erreur;
    auto surcharge = lireSurcharge(doc, erreur);
    if (!surcharge) {
        repondreErreur(res, 400, erreur);
        return;
    }
    std::lock_guard verrou(mutex_);
    surcharges_.push_back(std::move(*surcharge));
    repondreJson(res, 200, "{\"ok\":true,\"overrides\":" + std::to_string(surcharges_.size()) + "}");
}
