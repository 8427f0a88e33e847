#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

inline void ecrireFichier(const QString& chemin, const QByteArray& octets)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(chemin));
    fichier.write(octets);
}

inline QByteArray lireFichier(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return QByteArray();
    return fichier.readAll();
}
