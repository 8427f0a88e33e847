#include "EnvoyerCommande.h"

#include "ClientHttp.h"
#include "DocumentResultat.h"
#include "Erreur.h"
#include "Json.h"
#include "Texte.h"

#include <QTimeZone>

qint64 compteDate(const QDateTime& horlogeLocale)
{
    // The wall-clock reading taken as if it were UTC: no zone conversion.
    const QDateTime memeLecture(horlogeLocale.date(), horlogeLocale.time(), QTimeZone::utc());
    return memeLecture.toMSecsSinceEpoch();
}

QByteArray corpsCommande(const EntreesCommande& entrees, const QDateTime& horlogeLocale)
{
    QByteArray corps;
    corps += "{";
    corps += "\"quotationRecordIds\": [";
    corps += entrees.RecordId.toLatin1();
    corps += "],";
    corps += "\"documentNumber\": \"de(CALVENOR)";
    corps += Json::echapperChaine(entrees.NumeroCommande);
    corps += "\",";
    corps += "\"documentTitle\": \"";
    corps += Json::echapperChaine(entrees.ReferenceCommande);
    corps += "\",";
    corps += "\"documentDate\": \"\\/Date(";
    corps += QByteArray::number(compteDate(horlogeLocale));
    corps += "+0100)\\/\" ,";
    corps += "\"comment\": \"\"";
    corps += "}";
    return corps;
}

IssueEtape EnvoyerCommande(const EntreesCommande& entrees, ClientHttp& client,
                           const Plateforme::Statut& statut, const QDateTime& horlogeLocale)
{
    if (!Plateforme::estIdentifiantValide(entrees.RecordId))
        throw Erreur(
            QStringLiteral("Identifiant de devis invalide : « %1 ». La commande n’a pas été envoyée : "
                           "l’identifiant doit être un nombre.")
                .arg(entrees.RecordId));

    statut(QStringLiteral("Lancement de l'envoi en commande"));
    const RequeteHttp demande = Plateforme::requetePost(
        entrees.acces, QLatin1String(Plateforme::CheminCommande), corpsCommande(entrees, horlogeLocale),
        QStringLiteral("l’envoi de la commande"));
    IssueEtape issue;
    statut(QStringLiteral("Transfert de la demande de commande au configurateur"));
    const ReponseHttp reponse = client.envoyer(demande);
    statut(QStringLiteral("Traitement des données du configurateur"));

    if (reponse.statut == 200) {
        if (reponse.corps == "null") {
            issue.Code = QStringLiteral("ERROR");
            issue.Libelle = QStringLiteral("Erreur sur le passage en commande");
        } else {
            const std::optional<ValeurJson> valeur = Json::analyser(Texte::versUtf8(reponse.texte()));
            if (!valeur || !valeur->estObjet())
                throw Erreur(
                    QStringLiteral("La réponse de la plateforme à l’envoi de la commande est illisible : "
                                   "la commande a pu être enregistrée sans que sa référence soit connue."));
            if (const ValeurJson* reference = valeur->membre(u"reference")) {
                issue.Code = QStringLiteral("REFERENCE");
                issue.Libelle = Json::texteBrut(*reference);
            }
        }
    } else {
        issue.Code = QStringLiteral("RESPONSE_CODE");
        issue.Libelle = QString::number(reponse.statut);
    }

    Resultat::enveloppe("Commande", entrees.RecordId, issue.Code, issue.Libelle).ecrire(entrees.FichierTemp);
    statut(QStringLiteral("Fin de l'envoi en commande"));
    return issue;
}
