#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failure of a step, with the French text the user is shown. Steps throw it; the
// one error boundary (Frontiere) turns it into the standard error box.
class Erreur : public std::exception
{
public:
    explicit Erreur(QString texte) : m_texte(std::move(texte)), m_utf8(m_texte.toUtf8()) {}

    const QString& texte() const noexcept { return m_texte; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_texte;
    QByteArray m_utf8;
};
