#include "Sandbox.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

Sandbox::Sandbox(const QStringList& arguments)
{
    m_processus.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_processus.start(QStringLiteral(QUELT_SANDBOX),
                      QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
    if (!m_processus.waitForStarted(10000))
        return;
    QByteArray ligne;
    QElapsedTimer chrono;
    chrono.start();
    while (!ligne.contains('\n') && chrono.elapsed() < 15000) {
        m_processus.waitForReadyRead(500);
        ligne += m_processus.readAllStandardOutput();
    }
    const QString url = QString::fromLatin1(ligne.left(ligne.indexOf('\n')).trimmed());
    if (url.startsWith(QLatin1String("http")))
        m_url = url;
}

Sandbox::~Sandbox()
{
    if (m_processus.state() == QProcess::NotRunning)
        return;
    m_processus.terminate();
    if (!m_processus.waitForFinished(5000)) {
        m_processus.kill();
        m_processus.waitForFinished(2000);
    }
}

QByteArray Sandbox::appeler(const QByteArray& methode, const QString& chemin, const QByteArray& corps,
                            const QByteArray& typeContenu, int* statut)
{
    QNetworkAccessManager acces;
    QNetworkRequest requete(QUrl(m_url + chemin));
    requete.setHeader(QNetworkRequest::ContentTypeHeader, typeContenu);
    requete.setTransferTimeout(10000);
    QNetworkReply* reponse = acces.sendCustomRequest(requete, methode, corps);
    QEventLoop attente;
    QObject::connect(reponse, &QNetworkReply::finished, &attente, &QEventLoop::quit);
    QTimer::singleShot(15000, &attente, &QEventLoop::quit);
    attente.exec();
    if (statut)
        *statut = reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray octets = reponse->readAll();
    reponse->deleteLater();
    return octets;
}

void Sandbox::reinitialiser()
{
    appeler("POST", QStringLiteral("/_sandbox/reset"));
}

void Sandbox::enregistrer(const QString& id, const QByteArray& json, const QString& requete)
{
    appeler("PUT",
            QStringLiteral("/_sandbox/records/") + id +
                (requete.isEmpty() ? QString() : QLatin1Char('?') + requete),
            json);
}

void Sandbox::codeErreur(const QString& id, const QByteArray& valeurJson)
{
    appeler("PUT", QStringLiteral("/_sandbox/records/%1/errorCode").arg(id), valeurJson);
}

void Sandbox::surcharger(const QJsonObject& surcharge)
{
    appeler("POST", QStringLiteral("/_sandbox/overrides"),
            QJsonDocument(surcharge).toJson(QJsonDocument::Compact));
}

QJsonArray Sandbox::journal()
{
    return QJsonDocument::fromJson(appeler("GET", QStringLiteral("/_sandbox/log"))).array();
}

void Sandbox::viderJournal()
{
    appeler("DELETE", QStringLiteral("/_sandbox/log"));
}

QStringList Sandbox::entetes(const QJsonObject& requete, const QString& nom)
{
    QStringList valeurs;
    for (const QJsonValue paire : requete.value(QLatin1String("headers")).toArray()) {
        const QJsonArray p = paire.toArray();
        if (p.at(0).toString().compare(nom, Qt::CaseInsensitive) == 0)
            valeurs.append(p.at(1).toString());
    }
    return valeurs;
}

QByteArray Sandbox::corps(const QJsonObject& requete)
{
    return QByteArray::fromBase64(requete.value(QLatin1String("bodyBase64")).toString().toLatin1());
}
