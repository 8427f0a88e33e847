#pragma once

#include <QString>
#include <optional>

// The nine values the host writes into the configuration file.
struct Configuration
{
    QString Version = QStringLiteral("0");
    QString Marque;
    QString Mode = QStringLiteral("chiffrage");
    QString Identifiant;
    QString MotDePasse;
    QString DevisId;
    QString RecordId;
    QString NumeroCommande;
    QString ReferenceCommande;

    friend bool operator==(const Configuration&, const Configuration&) = default;
};

// Reads the configuration file at chemin; nullopt when no file is there (a missing
// path or a directory). A file that exists but cannot be read gives the defaults.
// The file is only ever read.
std::optional<Configuration> lireFichierConfiguration(const QString& chemin);

// The message shown when the configuration file is missing.
QString messageConfigurationManquante(const QString& chemin);
