#include "DocumentResultat.h"

#include "Erreur.h"
#include "Texte.h"

#include <QFileInfo>
#include <QSaveFile>
#include <sstream>

namespace {

constexpr unsigned OptionsLecture = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

} // namespace

DocumentResultat::DocumentResultat(const QByteArray& texteDepart)
{
    // pugixml honours the text's own declaration or BOM; a declaration is rewritten on output.
    const pugi::xml_parse_result lu = m_document.load_buffer(
        texteDepart.constData(), static_cast<size_t>(texteDepart.size()), OptionsLecture);
    if (!lu)
        throw Erreur(QStringLiteral("Le document XML reçu est illisible : %1 (position %2).")
                         .arg(QString::fromUtf8(lu.description()))
                         .arg(lu.offset));
}

pugi::xml_node DocumentResultat::racine() const
{
    return m_document.child("Configurateur");
}

pugi::xml_node DocumentResultat::ajouter(pugi::xml_node parent, const char* nom, const QString& texte)
{
    pugi::xml_node element = parent.append_child(nom);
    if (element && !texte.isEmpty())
        element.text().set(Texte::versUtf8(texte).constData());
    return element;
}

QByteArray DocumentResultat::serialiser() const
{
    std::ostringstream flux;
    flux << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n";
    for (pugi::xml_node noeud : m_document.children()) {
        if (noeud.type() == pugi::node_declaration)
            continue;
        noeud.print(flux, "", pugi::format_raw, pugi::encoding_utf8);
        flux << "\r\n";
    }
    const std::string utf8 = flux.str();
    return Texte::versLatin1AvecReferences(
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void DocumentResultat::ecrire(const QString& chemin) const
{
    Resultat::ecrireAtomiquement(chemin, serialiser(), QStringLiteral("le fichier résultat"));
}

namespace Resultat {

DocumentResultat enveloppe(const char* etape, const QString& recordId, const QString& code,
                           const QString& libelle)
{
    DocumentResultat document;
    if (pugi::xml_node racine = document.racine()) {
        DocumentResultat::ajouter(racine, "Project", recordId);
        pugi::xml_node element = DocumentResultat::ajouter(racine, etape);
        DocumentResultat::ajouter(element, "Code", code);
        DocumentResultat::ajouter(element, "Libelle", libelle);
    }
    return document;
}

void ecrireAtomiquement(const QString& chemin, const QByteArray& octets, const QString& objet)
{
    QSaveFile fichier(chemin);
    const auto echec = [&](const QString& raison) {
        return Erreur(QStringLiteral("Impossible d’écrire %1 « %2 » : %3.").arg(objet, chemin, raison));
    };
    if (chemin.isEmpty())
        throw echec(QStringLiteral("aucun chemin n’est donné"));
    if (!fichier.open(QIODevice::WriteOnly))
        throw echec(fichier.errorString());
    if (fichier.write(octets) != octets.size() || !fichier.commit())
        throw echec(fichier.errorString());
}

} // namespace Resultat
