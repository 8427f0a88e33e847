#include "Configuration.h"

#include "Texte.h"

#include <QFile>
#include <QFileInfo>
#include <SimpleIni.h>

namespace {

QString lireValeur(const CSimpleIniA& ini, const char* section, const char* cle, const QString& defaut)
{
    const char* valeur = ini.GetValue(section, cle, nullptr);
    return valeur ? QString::fromUtf8(valeur) : defaut;
}

} // namespace

std::optional<Configuration> lireFichierConfiguration(const QString& chemin)
{
    if (chemin.isEmpty() || !QFileInfo(chemin).isFile())
        return std::nullopt;

    QByteArray octets;
    QFile fichier(chemin);
    if (fichier.open(QIODevice::ReadOnly))
        octets = fichier.readAll();

    // Decode once here, then hand SimpleIni UTF-8 without a BOM: it compares names
    // without regard to case and passes values through as bytes.
    const QByteArray utf8 = Texte::versUtf8(Texte::decoderFichierHote(octets));
    CSimpleIniA ini(/*unicode*/ false, /*multiKey*/ true, /*multiLine*/ false);
    ini.LoadData(utf8.constData(), static_cast<size_t>(utf8.size()));

    Configuration config;
    config.Version = lireValeur(ini, "General", "Version", config.Version);
    config.Marque = lireValeur(ini, "General", "Configurateur", config.Marque);
    config.Mode = lireValeur(ini, "General", "Mode", config.Mode);
    config.Identifiant = lireValeur(ini, "Utilisateur", "Identifiant", config.Identifiant);
    config.MotDePasse = lireValeur(ini, "Utilisateur", "MotDePasse", config.MotDePasse);
    config.DevisId = lireValeur(ini, "Update", "DevisId", config.DevisId);
    config.RecordId = lireValeur(ini, "RecordId", "Valeur", config.RecordId);
    config.NumeroCommande = lireValeur(ini, "Commande", "Numero", config.NumeroCommande);
    config.ReferenceCommande = lireValeur(ini, "Commande", "Reference", config.ReferenceCommande);
    return config;
}

QString messageConfigurationManquante(const QString& chemin)
{
    return QStringLiteral("Le configurateur Quelt n'est pas configuré. Le fichier : ") + chemin +
           QStringLiteral(" n'existe pas.");
}
