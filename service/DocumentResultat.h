#pragma once

#include <QByteArray>
#include <QString>
#include <pugixml.hpp>

// The XML document a step hands the host through the result file: root
// Configurateur, ISO-8859-1, the declaration and the root each on one line ended
// by CR LF.
class DocumentResultat
{
public:
    // Starts from a text (the retrieval answer, or an empty Configurateur root).
    // Throws Erreur when the text is not well-formed XML.
    explicit DocumentResultat(const QByteArray& texteDepart = "<Configurateur></Configurateur>");

    // The Configurateur root among the top-level nodes, or an empty node.
    pugi::xml_node racine() const;

    // Appends an element as the last child of parent; with a text, sets it.
    static pugi::xml_node ajouter(pugi::xml_node parent, const char* nom, const QString& texte = QString());

    // The file's bytes: characters outside ISO-8859-1 as numeric references.
    QByteArray serialiser() const;

    // Replaces the file atomically; a failed write leaves an earlier file whole.
    // Throws Erreur naming the file.
    void ecrire(const QString& chemin) const;

private:
    pugi::xml_document m_document;
};

namespace Resultat {

// The status envelope of the check and order steps: Project, then etape with Code and Libelle.
DocumentResultat enveloppe(const char* etape, const QString& recordId, const QString& code,
                           const QString& libelle);

// Writes bytes to chemin through a temporary file renamed over it; throws Erreur.
void ecrireAtomiquement(const QString& chemin, const QByteArray& octets, const QString& objet);

} // namespace Resultat
