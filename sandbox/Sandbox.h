#pragma once

#include "Catalogue.h"
#include "Images.h"
#include "Script.h"

#include <condition_variable>
#include <fstream>
#include <httplib.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

struct Compte
{
    std::string email;
    std::string motDePasse;
};

struct Configuration
{
    std::string hote = "127.0.0.1";
    int port = 0;                     // 0: any free port
    Compte service;                   // Basic credentials of the platform
    std::string cle;                  // Rodid-Issuer value of the platform
    std::vector<Compte> utilisateurs; // gateway users
    Images::Format formatImage = Images::Format::Png;
    std::string fichierJournal; // empty: no log file
    std::string certificatTls;  // with cleTls: serve https instead of http
    std::string cleTls;
};

// A gateway session: what the pricing page and the retrieval address work on.
struct Session
{
    std::string jeton;
    std::string marque;
    std::string email;
    std::string recordMisAJour; // existing quote opened for update, or empty
    std::string recordId;       // record priced in this session, empty until then

    // The record the pricing page works on: the one priced here, else the one updated.
    const std::string& recordCourant() const { return recordId.empty() ? recordMisAJour : recordId; }
};

// Stand-in for the quotation platform and the maker's gateway, on one HTTP server,
// with control endpoints under /_sandbox/ to script its answers.
class Sandbox
{
public:
    Sandbox(Configuration configuration, Scenario scenario);

    // False when a log file was asked for and could not be opened.
    bool journalOuvert() const;
    // False when TLS was asked for and its certificate or key could not be loaded.
    bool serveurPret() const;
    // Binds the listening socket; returns the port, or -1.
    int ouvrir();
    // Serves until arreter(); false when the server could not run.
    bool servir();
    // From any thread: wakes stalled answers and stops the server.
    void arreter();

private:
    using Requete = httplib::Request;
    using Reponse = httplib::Response;

    void traiter(const Requete& req, Reponse& res);
    void router(const Requete& req, Reponse& res);

    // Control endpoints (Sandbox.cpp).
    void controle(const Requete& req, Reponse& res);
    void controleRecord(const Requete& req, Reponse& res, const std::string& id);
    void controleCodeErreur(const Requete& req, Reponse& res, const std::string& id);
    void controleSurcharges(const Requete& req, Reponse& res);

    // Quotation platform (Plateforme.cpp).
    int controleAcces(const Requete& req) const; // 0, 401 or 403
    static void refuserAcces(int statut, Reponse& res);
    void lireRecord(const std::string& id, Reponse& res);
    void verifierRecords(const Requete& req, Reponse& res);
    void creerCommande(const Requete& req, Reponse& res);

    // Gateway and pricing page (Passerelle.cpp).
    void ouvrirSession(const Requete& req, Reponse& res);
    void afficherChiffrage(const Requete& req, Reponse& res);
    void enregistrerChiffrage(const Requete& req, Reponse& res);
    void recuperer(const Requete& req, Reponse& res);
    std::string origine(const Requete& req) const;

    // Overrides.
    enum class Acces
    {
        Accorde,
        Refuse
    };
    std::optional<Surcharge> prendreSurcharge(const Requete& req, Acces acces);
    void repondreSurcharge(const Surcharge& surcharge, Reponse& res);
    // Waits up to ms; false when the sandbox is stopping.
    bool attendre(int ms);
    static void couper(Reponse& res, int statut, std::string corps);

    void journaliser(const Requete& req);
    void remettreAZero(); // caller holds mutex_
    std::string aleatoireHex(int octets);

    const Configuration config_;
    const Scenario scenario_;
    std::map<std::string, std::string> recordsDeDepart_;
    std::unique_ptr<httplib::Server> serveur_;

    std::mutex mutex_;
    std::condition_variable reveil_;
    bool arret_ = false;
    std::map<std::string, std::string> records_;     // id -> JSON text, verbatim
    std::map<std::string, std::string> codesErreur_; // id -> JSON value text
    std::vector<Surcharge> surcharges_;              // newest last
    std::map<std::string, Session> sessions_;        // by token
    std::vector<std::string> journal_;               // one JSON object each
    long prochaineCommande_ = 0;
    long prochainRecord_ = 0;
    std::ofstream fichierJournal_;
    std::mt19937_64 alea_;
};
