#include "Erreur.h"
#include "RecupererDevis.h"
#include "support/Fichiers.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ElementsDevis)

// The priced record to the eight quote elements and the result document, without network.
class TestConversion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void detailExempleTravaille();
    void blocsDuDetail_data();
    void blocsDuDetail();
    void elements_data();
    void elements();
    void enregistrementRefuse_data();
    void enregistrementRefuse();
    void documentGardeLaReponse();
    void cheminEtNomDImage();

private:
    QTemporaryDir m_dossier;
};

namespace {

ValeurJson produit(const QByteArray& json)
{
    return *Json::analyser(json);
}

QString png(int largeur, int hauteur)
{
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image.save(&tampon, "PNG");
    return QString::fromLatin1(octets.toBase64());
}

} // namespace

void TestConversion::detailExempleTravaille()
{
    const ValeurJson p = produit(R"({"descriptions":["Fenêtre deux vantaux","Seconde","Troisième"],
        "dimension1":{"label":"Largeur","value":1200,"unit":"mm"},
        "dimension2":{"label":"Hauteur","value":1350,"unit":"mm"},
        "options":[{"name":"Option A"},{"name":"Option B"}],
        "optionDescriptions":["Texte A"],"informations":[]})");
    QCOMPARE(Devis::composerDetail(p),
             QStringLiteral("Fenêtre deux vantaux\n\nLargeur 1200 mm\nHauteur 1350 mm\n"
                            "Option A\nOption B\n\nTexte A\n\n\n"));
}

void TestConversion::blocsDuDetail_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("detail");
    QTest::newRow("rien") << QByteArray("{}") << QString();
    QTest::newRow("descriptions vide") << QByteArray(R"({"descriptions":[]})") << QStringLiteral("\n");
    QTest::newRow("dimension label seul")
        << QByteArray(R"({"dimension1":{"label":"Largeur"}})") << QStringLiteral("Largeur\n");
    QTest::newRow("dimension sans label")
        << QByteArray(R"({"dimension2":{"value":12.50,"unit":"cm"}})") << QStringLiteral(" 12.50 cm\n");
    QTest::newRow("option sans name")
        << QByteArray(R"({"options":[{"id":1},{"name":"Volet"}]})") << QStringLiteral("Volet\n\n");
    QTest::newRow("options vide") << QByteArray(R"({"options":[]})") << QStringLiteral("\n");
    QTest::newRow("informations") << QByteArray(R"({"informations":["Pose comprise",null,3]})")
                                  << QStringLiteral("Pose comprise\nnull\n3\n\n");
    QTest::newRow("types inattendus: absents")
        << QByteArray(R"({"descriptions":null,"dimension1":"x","options":{"name":"a"},"informations":"y"})")
        << QString();
}

void TestConversion::blocsDuDetail()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, detail);
    QCOMPARE(Devis::composerDetail(produit(json)), detail);
}

void TestConversion::elements_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<ElementsDevis>("attendu");

    ElementsDevis complet;
    complet.Libelle = QStringLiteral("Fenêtre PVC");
    complet.Detail = QStringLiteral("Deux vantaux\n\n");
    complet.Repere = QStringLiteral("\"Salon\"");
    complet.EcoTaxe = QStringLiteral("12.50");
    complet.Quantite = QStringLiteral("2");
    complet.PrixPublic = QStringLiteral("1250.00");
    complet.PrixAchat = QStringLiteral("980.5");
    QTest::newRow("complet")
        << QByteArray(R"({"id":4711,"location":"Salon","product":{"name":"Fenêtre PVC","quantity":2,
        "descriptions":["Deux vantaux"]},"pricing":{"totalPurchaseBasePrice":1250.00,"totalPurchasePrice":980.5,"ecoTax":12.50}})")
        << complet;

    ElementsDevis nulls;
    nulls.Libelle = QStringLiteral("null");
    nulls.Quantite = QStringLiteral("null");
    QTest::newRow("nulls") << QByteArray(R"({"id":1,"location":null,"product":{"name":null,"quantity":null},
        "pricing":{"ecoTax":null}})")
                           << nulls;

    ElementsDevis chaineNull;
    chaineNull.Repere = QStringLiteral("\"null\"");
    chaineNull.EcoTaxe = QString();
    QTest::newRow("location chaine null, ecoTax chaine null")
        << QByteArray(R"({"id":1,"location":"null","pricing":{"ecoTax":"null"}})") << chaineNull;

    ElementsDevis echappe;
    echappe.Repere = QStringLiteral(R"("Cuisine \"est\"")");
    QTest::newRow("location echappee") << QByteArray(R"({"id":1,"location":"Cuisine \"est\""})") << echappe;

    QTest::newRow("produit et prix absents") << QByteArray(R"({"id":"A1"})") << ElementsDevis();
    QTest::newRow("produit pas un objet")
        << QByteArray(R"({"id":1,"product":"x","pricing":[1]})") << ElementsDevis();
    QTest::newRow("printImage sans value")
        << QByteArray(R"({"id":1,"printImage":{"type":"png"}})") << ElementsDevis();
}

void TestConversion::elements()
{
    QFETCH(QByteArray, json);
    QFETCH(ElementsDevis, attendu);
    const QString image = m_dossier.filePath(QStringLiteral("elements.bmp"));
    const ElementsDevis obtenu = Devis::convertirEnregistrement(json, image);
    QCOMPARE(obtenu.Libelle, attendu.Libelle);
    QCOMPARE(obtenu.Detail, attendu.Detail);
    QCOMPARE(obtenu.Repere, attendu.Repere);
    QCOMPARE(obtenu.EcoTaxe, attendu.EcoTaxe);
    QCOMPARE(obtenu.Quantite, attendu.Quantite);
    QCOMPARE(obtenu.PrixPublic, attendu.PrixPublic);
    QCOMPARE(obtenu.PrixAchat, attendu.PrixAchat);
    QCOMPARE(obtenu.Image, QString());
    QVERIFY(!QFile::exists(image));
}

void TestConversion::enregistrementRefuse_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("pas du JSON") << QByteArray("<html>");
    QTest::newRow("tableau") << QByteArray(R"([{"id":1}])");
    QTest::newRow("sans id") << QByteArray(R"({"product":{"name":"x"}})");
    QTest::newRow("image illisible") << QByteArray(R"({"id":1,"printImage":{"value":"bm9uIQ=="}})");
}

void TestConversion::enregistrementRefuse()
{
    QFETCH(QByteArray, json);
    const QString image = m_dossier.filePath(QStringLiteral("refuse.bmp"));
    QVERIFY_THROWS_EXCEPTION(Erreur, Devis::convertirEnregistrement(json, image));
    QVERIFY(!QFile::exists(image));
}

void TestConversion::documentGardeLaReponse()
{
    const QString image = m_dossier.filePath(QStringLiteral("4711.bmp"));
    const QByteArray record =
        R"({"id":4711,"product":{"name":"Porte d’entrée","quantity":1},"printImage":{"value":")" +
        png(30, 20).toLatin1() + R"("}})";
    const ElementsDevis elements = Devis::convertirEnregistrement(record, image);
    QCOMPARE(elements.Image, image);
    QCOMPARE(QImage(image).size(), QSize(30, 20));

    const QByteArray reponse =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Configurateur><Jeton>T</Jeton>"
        "<Passerelle>olka</Passerelle><Project>4711</Project><Client>Dupr\xE9</Client></Configurateur>";
    QCOMPARE(
        Devis::documentDevis(reponse, elements).serialiser(),
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Configurateur><Jeton>T</Jeton><Passerelle>olka"
        "</Passerelle><Project>4711</Project><Client>Dupr\xE9</Client><Libelle>Porte d&#8217;entr\xE9"
        "e</Libelle><Detail/><Repere/><EcoTaxe/><Quantite>1</Quantite><PrixPublic/><PrixAchat/><Image>" +
            image.toUtf8() + "</Image></Configurateur>\r\n");
    QVERIFY_THROWS_EXCEPTION(Erreur, Devis::documentDevis("<Autre/>", elements));
    QVERIFY_THROWS_EXCEPTION(Erreur, Devis::lireProject("pas du xml <"));
    QCOMPARE(Devis::lireProject(reponse), QStringLiteral("4711"));
    QCOMPARE(Devis::lireProject("<Configurateur><Jeton>T</Jeton></Configurateur>"), QString());
}

void TestConversion::cheminEtNomDImage()
{
    QCOMPARE(Devis::cheminImage(QStringLiteral("/tmp/hote/resultat.xml"), QStringLiteral("4711")),
             QStringLiteral("/tmp/hote/4711.bmp"));
    QCOMPARE(Devis::cheminImage(QStringLiteral("C:\\Hote\\resultat.xml"), QStringLiteral("9")),
             QStringLiteral("C:\\Hote\\9.bmp"));
    QCOMPARE(Devis::cheminImage(QStringLiteral("resultat.xml"), QStringLiteral("9")),
             QDir::currentPath() + QStringLiteral("/9.bmp"));
    for (const QString& refuse : {QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../4711"),
                                  QStringLiteral("a/b"), QStringLiteral("a\\b"), QStringLiteral("47\n11")})
        QVERIFY2(!Devis::estNomDeFichierSimple(refuse), qPrintable(refuse));
    QVERIFY(Devis::estNomDeFichierSimple(QStringLiteral("4711")));
    QVERIFY(Devis::estNomDeFichierSimple(QStringLiteral("devis 12.v2")));
}

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
