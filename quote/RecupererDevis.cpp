#include "RecupererDevis.h"

#include "ClientHttp.h"
#include "Erreur.h"
#include "Image.h"
#include "Passerelle.h"
#include "Texte.h"

#include <QDir>
#include <algorithm>

namespace Devis {

namespace {

const ValeurJson* membreDeType(const ValeurJson& parent, QStringView nom, ValeurJson::Type type)
{
    // A member of another kind than expected is taken as absent.
    const ValeurJson* membre = parent.membre(nom);
    return membre && membre->type == type ? membre : nullptr;
}

void ajouterDimension(QString& detail, const ValeurJson& produit, QStringView nom)
{
    const ValeurJson* dimension = membreDeType(produit, nom, ValeurJson::Type::Objet);
    if (!dimension)
        return;
    if (const ValeurJson* label = dimension->membre(u"label"))
        detail += Json::texteBrut(*label);
    if (const ValeurJson* valeur = dimension->membre(u"value"))
        detail += QLatin1Char(' ') + Json::texteBrut(*valeur);
    if (const ValeurJson* unite = dimension->membre(u"unit"))
        detail += QLatin1Char(' ') + Json::texteBrut(*unite);
    detail += QLatin1Char('\n');
}

void ajouterListe(QString& detail, const ValeurJson& produit, QStringView nom)
{
    const ValeurJson* liste = membreDeType(produit, nom, ValeurJson::Type::Tableau);
    if (!liste)
        return;
    for (const ValeurJson& element : liste->elements)
        detail += Json::texteBrut(element) + QLatin1Char('\n');
    detail += QLatin1Char('\n');
}

QString texteSaufNull(const ValeurJson& valeur, bool enJson)
{
    const QString texte = enJson ? Json::texteJson(valeur) : Json::texteBrut(valeur);
    return texte == QLatin1String("null") ? QString() : texte;
}

} // namespace

QString composerDetail(const ValeurJson& produit)
{
    QString detail;
    if (const ValeurJson* descriptions = membreDeType(produit, u"descriptions", ValeurJson::Type::Tableau)) {
        if (!descriptions->elements.empty())
            detail += Json::texteBrut(descriptions->elements.front()) + QLatin1Char('\n');
        detail += QLatin1Char('\n');
    }
    ajouterDimension(detail, produit, u"dimension1");
    ajouterDimension(detail, produit, u"dimension2");
    if (const ValeurJson* options = membreDeType(produit, u"options", ValeurJson::Type::Tableau)) {
        for (const ValeurJson& option : options->elements)
            if (const ValeurJson* nom = option.membre(u"name"))
                detail += Json::texteBrut(*nom) + QLatin1Char('\n');
        detail += QLatin1Char('\n');
    }
    ajouterListe(detail, produit, u"optionDescriptions");
    ajouterListe(detail, produit, u"informations");
    return detail;
}

QString cheminImage(const QString& fichierTemp, const QString& project)
{
    const qsizetype separateur =
        std::max(fichierTemp.lastIndexOf(QLatin1Char('/')), fichierTemp.lastIndexOf(QLatin1Char('\\')));
    // Without a folder the result file is in the current folder: so is the picture.
    QString dossier = separateur >= 0 ? fichierTemp.left(separateur + 1) : QDir::currentPath();
    if (!dossier.endsWith(QLatin1Char('/')) && !dossier.endsWith(QLatin1Char('\\')))
        dossier += QLatin1Char('/');
    return dossier + project + QStringLiteral(".bmp");
}

bool estNomDeFichierSimple(const QString& project)
{
    if (project == QLatin1String(".") || project == QLatin1String(".."))
        return false;
    for (const QChar c : project)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    return true;
}

QString lireProject(const QByteArray& reponseRecuperation)
{
    const DocumentResultat reponse(reponseRecuperation);
    if (!reponse.racine())
        throw Erreur(QStringLiteral("La réponse de récupération du devis n’a pas d’élément Configurateur."));
    return QString::fromUtf8(reponse.racine().child("Project").text().get());
}

ElementsDevis convertirEnregistrement(const QByteArray& enregistrementJson, const QString& cheminImage)
{
    const std::optional<ValeurJson> lu = Json::analyser(enregistrementJson);
    if (!lu || !lu->estObjet())
        throw Erreur(
            QStringLiteral("L’enregistrement de devis reçu de la plateforme n’est pas un objet JSON."));
    const ValeurJson& enregistrement = *lu;
    if (!enregistrement.membre(u"id"))
        throw Erreur(
            QStringLiteral("L’enregistrement de devis reçu de la plateforme n’a pas d’identifiant (id)."));

    ElementsDevis elements;
    if (const ValeurJson* location = enregistrement.membre(u"location"))
        elements.Repere = texteSaufNull(*location, true);
    if (const ValeurJson* image = membreDeType(enregistrement, u"printImage", ValeurJson::Type::Objet)) {
        if (const ValeurJson* valeur = image->membre(u"value"))
            if (EnregistrerImage(cheminImage, Json::texteBrut(*valeur)))
                elements.Image = cheminImage;
    }
    if (const ValeurJson* produit = membreDeType(enregistrement, u"product", ValeurJson::Type::Objet)) {
        if (const ValeurJson* nom = produit->membre(u"name"))
            elements.Libelle = Json::texteBrut(*nom);
        if (const ValeurJson* quantite = produit->membre(u"quantity"))
            elements.Quantite = Json::texteBrut(*quantite);
        elements.Detail = composerDetail(*produit);
    }
    if (const ValeurJson* prix = membreDeType(enregistrement, u"pricing", ValeurJson::Type::Objet)) {
        if (const ValeurJson* base = prix->membre(u"totalPurchaseBasePrice"))
            elements.PrixPublic = Json::texteBrut(*base);
        if (const ValeurJson* achat = prix->membre(u"totalPurchasePrice"))
            elements.PrixAchat = Json::texteBrut(*achat);
        if (const ValeurJson* eco = prix->membre(u"ecoTax"))
            elements.EcoTaxe = texteSaufNull(*eco, false);
    }
    return elements;
}

DocumentResultat documentDevis(const QByteArray& reponseRecuperation, const ElementsDevis& elements)
{
    DocumentResultat document(reponseRecuperation);
    pugi::xml_node racine = document.racine();
    if (!racine)
        throw Erreur(QStringLiteral("La réponse de récupération du devis n’a pas d’élément Configurateur."));
    const std::pair<const char*, const QString*> ordre[] = {
        {"Libelle", &elements.Libelle},     {"Detail", &elements.Detail},
        {"Repere", &elements.Repere},       {"EcoTaxe", &elements.EcoTaxe},
        {"Quantite", &elements.Quantite},   {"PrixPublic", &elements.PrixPublic},
        {"PrixAchat", &elements.PrixAchat}, {"Image", &elements.Image},
    };
    for (const auto& [nom, texte] : ordre)
        DocumentResultat::ajouter(racine, nom, *texte);
    return document;
}

} // namespace Devis

ElementsDevis RecupererDevis(const EntreesRecuperation& entrees, ClientHttp& client1, ClientHttp& client2)
{
    const QUrl adresseRecuperation(entrees.UrlRecuperation);
    if (!Passerelle::estAdresseWeb(adresseRecuperation))
        throw Erreur(
            QStringLiteral("L’adresse de récupération du devis n’est pas une adresse web : « %1 ». Le "
                           "devis n’a pas été récupéré.")
                .arg(entrees.UrlRecuperation));
    RequeteHttp recuperation;
    recuperation.url = adresseRecuperation;
    recuperation.objet = QStringLiteral("la récupération du devis");
    const QByteArray reponse = client2.envoyer(recuperation).corps;

    const QString project = Devis::lireProject(reponse);
    ElementsDevis elements;
    if (!project.isEmpty()) {
        if (!Devis::estNomDeFichierSimple(project))
            throw Erreur(
                QStringLiteral("Le numéro de devis reçu « %1 » n’est pas utilisable comme nom de fichier. "
                               "Le devis n’a pas été récupéré.")
                    .arg(project));
        const ReponseHttp enregistrement = client1.envoyer(Plateforme::requeteGet(
            entrees.acces, Plateforme::cheminEnregistrement(project),
            QStringLiteral("la lecture de l’enregistrement de devis %1").arg(project)));
        elements = Devis::convertirEnregistrement(Texte::versUtf8(enregistrement.texte()),
                                                  Devis::cheminImage(entrees.FichierTemp, project));
    }
    Devis::documentDevis(reponse, elements).ecrire(entrees.FichierTemp);
    return elements;
}
