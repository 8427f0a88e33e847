#include "VerifierDevis.h"

#include "ClientHttp.h"
#include "DocumentResultat.h"
#include "Erreur.h"
#include "Json.h"
#include "Texte.h"

namespace {

ValeurJson lireJson(const ReponseHttp& reponse, const QString& objet)
{
    std::optional<ValeurJson> valeur = Json::analyser(Texte::versUtf8(reponse.texte()));
    if (!valeur)
        throw Erreur(QStringLiteral("La réponse de la plateforme à %1 n’est pas un JSON valide.").arg(objet));
    return std::move(*valeur);
}

bool estProfilIndirect(const ValeurJson& enregistrement)
{
    // Only the JSON literal true: the string "true" is not.
    const ValeurJson* indirect = enregistrement.membre(u"indirectMode");
    return indirect && Json::texteJson(*indirect).toLower() == QLatin1String("true");
}

} // namespace

void appliquerTableErreurs(IssueEtape& issue, const QString& recordId)
{
    struct Ligne
    {
        const char* code;
        const char16_t* libelle;
    };
    static const Ligne lignes[] = {
        {"NO_SUPPLIER_DATA",
         u"Impossible de commander ce produit (pas de données fournisseur dans la bibliothèque)"},
        {"ORDER_PROCESS_NOT_AVAILABLE",
         u"Impossible de commander ce produit (processus d’envoi de commande non configuré)"},
        {"PRICER_OUTDATED",
         u"Chiffrage effectué avec une ancienne version de la bibliothèque. Une version plus "
         u"récente est disponible, le chiffrage doit être actualisé."},
        {"PRICER_NOT_ALLOWED", u"L’utilisateur n’a pas le droit d’utiliser cette bibliothèque."},
        {"NO_TECHNICAL_VALIDATION",
         u"Les données de commande fournisseur n’ont pas été renseignées. Correspond à "
         u"technicalValidation=false "
         u"dans les données retournées par le WS de récupération d’un produit chiffré. L’utilisateur doit "
         u"compléter son chiffrage."},
    };
    if (issue.Code == QLatin1String("null")) {
        issue.Code.clear();
        issue.Libelle.clear();
        return;
    }
    if (issue.Code == QLatin1String("NOT_FOUND") || issue.Code == QLatin1String("STATE_INVALID")) {
        issue.Libelle = QStringLiteral("Identifiant invalide : ") + recordId;
        return;
    }
    for (const Ligne& ligne : lignes) {
        if (issue.Code == QLatin1String(ligne.code)) {
            issue.Libelle = QString::fromUtf16(ligne.libelle);
            return;
        }
    }
}

IssueEtape VerifierDevis(const EntreesVerification& entrees, ClientHttp& client,
                         const Plateforme::Statut& statut)
{
    if (!Plateforme::estIdentifiantValide(entrees.RecordId))
        throw Erreur(QStringLiteral("Identifiant de devis invalide : « %1 ». La vérification n’a pas été "
                                    "demandée : l’identifiant doit être un nombre.")
                         .arg(entrees.RecordId));

    IssueEtape issue;
    statut(QStringLiteral("Lancement de la vérification"));
    const ReponseHttp enregistrement = client.envoyer(Plateforme::requeteGet(
        entrees.acces, Plateforme::cheminEnregistrement(entrees.RecordId),
        QStringLiteral("la lecture de l’enregistrement de devis %1").arg(entrees.RecordId)));
    const ValeurJson valeurEnregistrement =
        lireJson(enregistrement, QStringLiteral("la lecture de l’enregistrement de devis"));
    if (!valeurEnregistrement.estObjet())
        throw Erreur(QStringLiteral("La plateforme n’a pas renvoyé d’enregistrement de devis pour %1.")
                         .arg(entrees.RecordId));

    if (estProfilIndirect(valeurEnregistrement)) {
        issue.Code = QStringLiteral("VRX_INDIRECT_MODE");
        issue.Libelle =
            QStringLiteral("Vous êtes de type profil indirect. Vous ne pouvez pas effectuer de commande.");
    } else {
        const QByteArray corps = '[' + entrees.RecordId.toLatin1() + ']';
        const RequeteHttp demande =
            Plateforme::requetePost(entrees.acces, QLatin1String(Plateforme::CheminVerification), corps,
                                    QStringLiteral("la demande de vérification"));
        statut(QStringLiteral("Demande de vérification au configurateur"));
        const ReponseHttp reponse = client.envoyer(demande);
        statut(QStringLiteral("Traitement des données du configurateur"));

        if (reponse.statut == 200) {
            const ValeurJson tableau = lireJson(reponse, QStringLiteral("la demande de vérification"));
            if (!tableau.estTableau())
                throw Erreur(
                    QStringLiteral("La réponse de la plateforme à la demande de vérification n’est pas "
                                   "une liste."));
            for (const ValeurJson& element : tableau.elements) {
                if (!element.estObjet())
                    throw Erreur(
                        QStringLiteral("La réponse de la plateforme à la demande de vérification contient "
                                       "un élément illisible."));
                for (const auto& [nom, valeur] : element.membres)
                    if (nom == QLatin1String("errorCode"))
                        issue.Code = Json::texteBrut(valeur);
                appliquerTableErreurs(issue, entrees.RecordId);
            }
        } else {
            issue.Code = QStringLiteral("RESPONSE_CODE");
            issue.Libelle = QString::number(reponse.statut);
        }
    }

    Resultat::enveloppe("Verification", entrees.RecordId, issue.Code, issue.Libelle)
        .ecrire(entrees.FichierTemp);
    statut(QStringLiteral("Fin de la vérification"));
    return issue;
}
