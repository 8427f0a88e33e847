#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// The substitute platform and gateway, started on a free loopback port for one
// test class and driven through its control endpoints.
class Sandbox
{
public:
    explicit Sandbox(const QStringList& arguments = {});
    ~Sandbox();

    bool demarre() const { return !m_url.isEmpty(); }
    QString url() const { return m_url; }

    void reinitialiser();
    // Stores a record verbatim; requete may ask for a picture in place of @IMAGE@.
    void enregistrer(const QString& id, const QByteArray& json, const QString& requete = QString());
    void codeErreur(const QString& id, const QByteArray& valeurJson);
    void surcharger(const QJsonObject& surcharge);
    // Every platform or gateway request received so far, oldest first.
    QJsonArray journal();
    void viderJournal();

    // A raw request to the sandbox, e.g. to drive the pricing page as a browser would.
    QByteArray appeler(const QByteArray& methode, const QString& chemin,
                       const QByteArray& corps = QByteArray(),
                       const QByteArray& typeContenu = "application/json", int* statut = nullptr);

    // Header values of a logged request, in the order received.
    static QStringList entetes(const QJsonObject& requete, const QString& nom);
    static QByteArray corps(const QJsonObject& requete);

private:
    QProcess m_processus;
    QString m_url;
};
