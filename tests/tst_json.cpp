#include "Json.h"

#include <QTest>

class TestJson : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deuxLectures_data();
    void deuxLectures();
    void ordreEtDoublons();
    void refus_data();
    void refus();
    void echappement();
};

void TestJson::deuxLectures_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("brut");
    QTest::addColumn<QString>("enJson");

    QTest::newRow("chaine") << QByteArray("\"Salon\"") << QStringLiteral("Salon")
                            << QStringLiteral("\"Salon\"");
    QTest::newRow("chaine echappee") << QByteArray(R"("a\"b\\c\u00e9\n")") << QStringLiteral("a\"b\\cé\n")
                                     << QStringLiteral(R"("a\"b\\cé\n")");
    QTest::newRow("decimal garde") << QByteArray("12.50") << QStringLiteral("12.50")
                                   << QStringLiteral("12.50");
    QTest::newRow("exposant garde") << QByteArray("1e3") << QStringLiteral("1e3") << QStringLiteral("1e3");
    QTest::newRow("grand entier") << QByteArray("123456789012345678901234567890")
                                  << QStringLiteral("123456789012345678901234567890")
                                  << QStringLiteral("123456789012345678901234567890");
    QTest::newRow("null") << QByteArray(" null ") << QStringLiteral("null") << QStringLiteral("null");
    QTest::newRow("vrai") << QByteArray("true") << QStringLiteral("true") << QStringLiteral("true");
    QTest::newRow("objet") << QByteArray(R"({ "a" : 1.0, "b" : [ null, "x" ] })")
                           << QStringLiteral(R"({"a":1.0,"b":[null,"x"]})")
                           << QStringLiteral(R"({"a":1.0,"b":[null,"x"]})");
}

void TestJson::deuxLectures()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, brut);
    QFETCH(QString, enJson);
    const std::optional<ValeurJson> valeur = Json::analyser(json);
    QVERIFY(valeur);
    QCOMPARE(Json::texteBrut(*valeur), brut);
    QCOMPARE(Json::texteJson(*valeur), enJson);
}

void TestJson::ordreEtDoublons()
{
    const std::optional<ValeurJson> v = Json::analyser(R"({"z":1,"errorCode":"A","m":null,"errorCode":"B"})");
    QVERIFY(v && v->estObjet());
    QCOMPARE(v->membres.size(), size_t(4));
    QCOMPARE(v->membres[0].first, QStringLiteral("z"));
    QCOMPARE(v->membres[3].first, QStringLiteral("errorCode"));
    QCOMPARE(Json::texteBrut(*v->membre(u"errorCode")), QStringLiteral("A"));
    QVERIFY(!v->membre(u"ErrorCode"));
    QVERIFY(!v->membre(u"absent"));
}

void TestJson::refus_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("vide") << QByteArray();
    QTest::newRow("tronque") << QByteArray(R"({"a":)");
    QTest::newRow("suite apres la valeur") << QByteArray("{} x");
    QTest::newRow("utf-8 invalide") << QByteArray("\"caf\xE9\"");
    QTest::newRow("virgule finale") << QByteArray("[1,]");
}

void TestJson::refus()
{
    QFETCH(QByteArray, json);
    QVERIFY(!Json::analyser(json));
}

void TestJson::echappement()
{
    QCOMPARE(Json::echapperChaine(QStringLiteral("Nord")), QByteArray("Nord"));
    QCOMPARE(Json::echapperChaine(QStringLiteral("a\"b\\c\n/")), QByteArray(R"(a\"b\\c\n/)"));
    QCOMPARE(Json::echapperChaine(QStringLiteral("Façade")), QByteArray("Fa\xC3\xA7"
                                                                        "ade"));
}

QTEST_GUILESS_MAIN(TestJson)
#include "tst_json.moc"
