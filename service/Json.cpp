#include "Json.h"

#include "Texte.h"

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

const ValeurJson* ValeurJson::membre(QStringView nom) const
{
    if (type != Type::Objet)
        return nullptr;
    for (const auto& [nomMembre, valeur] : membres)
        if (nomMembre == nom)
            return &valeur;
    return nullptr;
}

namespace Json {

namespace {

// Builds the tree from RapidJSON's SAX events, which give numbers as written.
class Constructeur : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Constructeur>
{
public:
    bool Null() { return ajouter(ValeurJson{}); }
    bool Bool(bool b)
    {
        return ajouter(
            scalaire(ValeurJson::Type::Booleen, b ? QStringLiteral("true") : QStringLiteral("false")));
    }
    bool RawNumber(const char* texte, rapidjson::SizeType longueur, bool)
    {
        return ajouter(scalaire(ValeurJson::Type::Nombre, QString::fromUtf8(texte, longueur)));
    }
    bool String(const char* texte, rapidjson::SizeType longueur, bool)
    {
        return ajouter(scalaire(ValeurJson::Type::Chaine, QString::fromUtf8(texte, longueur)));
    }
    bool StartObject() { return ouvrir(ValeurJson::Type::Objet); }
    bool Key(const char* texte, rapidjson::SizeType longueur, bool)
    {
        m_cles.push_back(QString::fromUtf8(texte, longueur));
        return true;
    }
    bool EndObject(rapidjson::SizeType) { return fermer(); }
    bool StartArray() { return ouvrir(ValeurJson::Type::Tableau); }
    bool EndArray(rapidjson::SizeType) { return fermer(); }

    ValeurJson racine;

private:
    static ValeurJson scalaire(ValeurJson::Type type, QString texte)
    {
        ValeurJson v;
        v.type = type;
        v.scalaire = std::move(texte);
        return v;
    }
    bool ouvrir(ValeurJson::Type type)
    {
        ValeurJson v;
        v.type = type;
        m_pile.push_back(std::move(v));
        return true;
    }
    bool fermer()
    {
        ValeurJson v = std::move(m_pile.back());
        m_pile.pop_back();
        return ajouter(std::move(v));
    }
    bool ajouter(ValeurJson v)
    {
        if (m_pile.empty()) {
            racine = std::move(v);
            return true;
        }
        ValeurJson& parent = m_pile.back();
        if (parent.type == ValeurJson::Type::Objet) {
            parent.membres.emplace_back(std::move(m_cles.back()), std::move(v));
            m_cles.pop_back();
        } else {
            parent.elements.push_back(std::move(v));
        }
        return true;
    }

    std::vector<ValeurJson> m_pile;
    std::vector<QString> m_cles;
};

void ecrire(rapidjson::Writer<rapidjson::StringBuffer>& w, const ValeurJson& v)
{
    switch (v.type) {
    case ValeurJson::Type::Null:
        w.Null();
        break;
    case ValeurJson::Type::Booleen:
        w.Bool(v.scalaire == QLatin1String("true"));
        break;
    case ValeurJson::Type::Nombre: {
        const QByteArray t = v.scalaire.toUtf8();
        w.RawValue(t.constData(), static_cast<size_t>(t.size()), rapidjson::kNumberType);
        break;
    }
    case ValeurJson::Type::Chaine: {
        const QByteArray t = Texte::versUtf8(v.scalaire);
        w.String(t.constData(), static_cast<rapidjson::SizeType>(t.size()));
        break;
    }
    case ValeurJson::Type::Tableau:
        w.StartArray();
        for (const ValeurJson& e : v.elements)
            ecrire(w, e);
        w.EndArray();
        break;
    case ValeurJson::Type::Objet:
        w.StartObject();
        for (const auto& [nom, valeur] : v.membres) {
            const QByteArray n = Texte::versUtf8(nom);
            w.Key(n.constData(), static_cast<rapidjson::SizeType>(n.size()));
            ecrire(w, valeur);
        }
        w.EndObject();
        break;
    }
}

} // namespace

std::optional<ValeurJson> analyser(const QByteArray& utf8)
{
    Constructeur constructeur;
    rapidjson::Reader lecteur;
    rapidjson::MemoryStream flux(utf8.constData(), static_cast<size_t>(utf8.size()));
    // Without kParseStopWhenDoneFlag anything but blanks after the value is an error.
    constexpr unsigned options =
        rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;
    if (lecteur.Parse<options>(flux, constructeur).IsError())
        return std::nullopt;
    return std::move(constructeur.racine);
}

QString texteBrut(const ValeurJson& valeur)
{
    switch (valeur.type) {
    case ValeurJson::Type::Null:
        return QStringLiteral("null");
    case ValeurJson::Type::Booleen:
    case ValeurJson::Type::Nombre:
    case ValeurJson::Type::Chaine:
        return valeur.scalaire;
    case ValeurJson::Type::Tableau:
    case ValeurJson::Type::Objet:
        return texteJson(valeur);
    }
    return QString();
}

QString texteJson(const ValeurJson& valeur)
{
    rapidjson::StringBuffer tampon;
    rapidjson::Writer<rapidjson::StringBuffer> ecrivain(tampon);
    ecrire(ecrivain, valeur);
    return QString::fromUtf8(tampon.GetString(), static_cast<qsizetype>(tampon.GetSize()));
}

QByteArray echapperChaine(const QString& texte)
{
    rapidjson::StringBuffer tampon;
    rapidjson::Writer<rapidjson::StringBuffer> ecrivain(tampon);
    const QByteArray t = Texte::versUtf8(texte);
    ecrivain.String(t.constData(), static_cast<rapidjson::SizeType>(t.size()));
    // Drop the quotes the writer put around the string.
    return QByteArray(tampon.GetString() + 1, static_cast<qsizetype>(tampon.GetSize()) - 2);
}

} // namespace Json
