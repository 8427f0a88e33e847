#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

// A JSON value as the platform wrote it: numbers keep their text (12.50 stays
// 12.50), members keep their order, duplicates included.
struct ValeurJson
{
    enum class Type
    {
        Null,
        Booleen,
        Nombre,
        Chaine,
        Tableau,
        Objet
    };

    Type type = Type::Null;
    QString scalaire; // text of a boolean, number or string
    std::vector<ValeurJson> elements;
    std::vector<std::pair<QString, ValeurJson>> membres;

    bool estObjet() const { return type == Type::Objet; }
    bool estTableau() const { return type == Type::Tableau; }
    // First member of that exact name, or nullptr (also when this is no object).
    const ValeurJson* membre(QStringView nom) const;
};

namespace Json {

// nullopt when the text is not one well-formed JSON value in UTF-8.
std::optional<ValeurJson> analyser(const QByteArray& utf8);

// Plain text: a string without its quotes, a number as written, true/false/null as
// those words; an object or array as its JSON text.
QString texteBrut(const ValeurJson& valeur);

// The value written as JSON: a string inside double quotes, with JSON escapes.
QString texteJson(const ValeurJson& valeur);

// The content of a JSON string literal for texte (without the surrounding quotes).
QByteArray echapperChaine(const QString& texte);

} // namespace Json
