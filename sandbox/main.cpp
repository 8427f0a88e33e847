// quelt-sandbox: a stand-in for the quotation platform and the maker's gateway, on
// the loopback, for tests and demos. See docs/sandbox.md.
#include "ConstantesConstruction.h"
#include "Sandbox.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <atomic>
#include <csignal>
#include <iostream>
#include <pthread.h>
#include <thread>

namespace {

constexpr char EmailDemo[] = "demo@quelt.example";
// Full of characters that a query string must escape.
constexpr char MotDePasseDemo[] = "d&mo #pass=+";

std::string texte(const QString& s)
{
    return s.toStdString();
}

int echouer(const std::string& message)
{
    std::cerr << "quelt-sandbox: " << message << std::endl;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // One thread takes SIGTERM and SIGINT with sigwait(); they are blocked before
    // any other thread starts so that none of them gets the signal instead.
    sigset_t signaux;
    sigemptyset(&signaux);
    sigaddset(&signaux, SIGTERM);
    sigaddset(&signaux, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signaux, nullptr);
    // A client that hangs up must not kill the server on its next write.
    std::signal(SIGPIPE, SIG_IGN);

    // Pictures are drawn on QImage with shapes only: no platform plugin, no fonts.
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quelt-sandbox"));

    QCommandLineParser parseur;
    parseur.setApplicationDescription(
        QStringLiteral("Stand-in quotation platform and gateway token service for tests and demos."));
    parseur.addHelpOption();
    const auto option = [&parseur](const char* nom, const char* aide, const char* valeur,
                                   QString defaut = {}) {
        QCommandLineOption o(QString::fromLatin1(nom), QString::fromLatin1(aide), QString::fromLatin1(valeur),
                             defaut);
        parseur.addOption(o);
        return o;
    };
    const auto hote = option("host", "Address to listen on.", "address", QStringLiteral("127.0.0.1"));
    const auto port = option("port", "Port to listen on; 0 picks a free one.", "port",
                             QString::number(Constantes::PortSandbox));
    const auto scenario = option("scenario", "JSON scenario applied at start and on each reset.", "file");
    const auto journal = option("log", "Also append each request, as one JSON line, to this file.", "file");
    const auto email = option("email", "Service account login (Basic user name).", "email",
                              QString::fromUtf8(Constantes::EmailService));
    const auto motDePasse = option("mot-de-passe", "Service account password.", "password",
                                   QString::fromUtf8(Constantes::MotDePasseService));
    const auto cle = option("cle", "Issuer key expected in Rodid-Issuer.", "key",
                            QString::fromUtf8(Constantes::CleEmetteur));
    const auto utilisateur =
        option("utilisateur", "Another gateway user, email:password (repeatable).", "email:password");
    const auto format = option("format-image", "Picture format of the records: png, jpeg or bmp.", "format",
                               QStringLiteral("png"));
    const auto certificat =
        option("tls-cert", "Serve https with this PEM certificate (needs --tls-key).", "file");
    const auto cleTls = option("tls-key", "PEM private key of --tls-cert.", "file");
    parseur.process(application);

    Configuration configuration;
    configuration.hote = texte(parseur.value(hote));
    bool portLu = false;
    configuration.port = parseur.value(port).toInt(&portLu);
    if (!portLu || configuration.port < 0 || configuration.port > 65535) {
        return echouer("--port needs a number from 0 to 65535");
    }
    configuration.service = {texte(parseur.value(email)), texte(parseur.value(motDePasse))};
    configuration.cle = texte(parseur.value(cle));
    configuration.utilisateurs.push_back({EmailDemo, MotDePasseDemo});
    for (const QString& u : parseur.values(utilisateur)) {
        const qsizetype deuxPoints = u.indexOf(QLatin1Char(':'));
        if (deuxPoints <= 0) {
            return echouer("--utilisateur needs email:password, got " + texte(u));
        }
        configuration.utilisateurs.push_back({texte(u.left(deuxPoints)), texte(u.mid(deuxPoints + 1))});
    }
    const auto formatLu = Images::lireFormat(texte(parseur.value(format)));
    if (!formatLu) {
        return echouer("--format-image needs png, jpeg or bmp");
    }
    configuration.formatImage = *formatLu;
    configuration.fichierJournal = texte(parseur.value(journal));
    if (parseur.isSet(certificat) != parseur.isSet(cleTls)) {
        return echouer("--tls-cert and --tls-key go together");
    }
    configuration.certificatTls = texte(parseur.value(certificat));
    configuration.cleTls = texte(parseur.value(cleTls));
    const bool tls = parseur.isSet(certificat);

    Scenario script;
    if (parseur.isSet(scenario)) {
        try {
            script = chargerScenario(texte(parseur.value(scenario)), configuration.formatImage);
        } catch (const std::exception& e) {
            return echouer(e.what());
        }
    }

    const std::string adresse = configuration.hote;
    Sandbox sandbox(std::move(configuration), std::move(script));
    if (!sandbox.journalOuvert()) {
        return echouer("cannot open the log file " + texte(parseur.value(journal)));
    }
    if (!sandbox.serveurPret()) {
        return echouer("cannot load the TLS certificate or key");
    }
    const int portOuvert = sandbox.ouvrir();
    if (portOuvert < 0) {
        std::cerr << "quelt-sandbox: cannot listen on " << adresse << ":" << texte(parseur.value(port))
                  << std::endl;
        return 1;
    }
    std::cout << (tls ? "https://" : "http://") << adresse << ":" << portOuvert << std::endl;

    std::atomic<bool> signale = false;
    std::thread gardien([&] {
        int recu = 0;
        sigwait(&signaux, &recu);
        signale = true;
        sandbox.arreter();
    });
    const bool servi = sandbox.servir();
    if (!signale) {
        // The server ended by itself: release the waiting thread.
        pthread_kill(gardien.native_handle(), SIGTERM);
    }
    gardien.join();
    return servi || signale ? 0 : 1;
}
