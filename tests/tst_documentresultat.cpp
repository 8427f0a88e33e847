#include "DocumentResultat.h"
#include "Erreur.h"
#include "Texte.h"
#include "support/Fichiers.h"

#include <QTemporaryDir>
#include <QTest>

class TestDocumentResultat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exempleCommande();
    void enveloppe_data();
    void enveloppe();
    void relectureIdentique();
    void depuisReponseDeRecuperation();
    void reponseIllisible();
    void ecritureRemplaceOuEchoue();
    void texteLatin1();

private:
    QTemporaryDir m_dossier;
};

void TestDocumentResultat::exempleCommande()
{
    const QByteArray attendu = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                               "<Configurateur><Project>4711</Project><Commande><Code>REFERENCE</Code>"
                               "<Libelle>CDE-815</Libelle></Commande></Configurateur>\r\n";
    const QString chemin = m_dossier.filePath(QStringLiteral("resultat.xml"));
    Resultat::enveloppe("Commande", QStringLiteral("4711"), QStringLiteral("REFERENCE"),
                        QStringLiteral("CDE-815"))
        .ecrire(chemin);
    QCOMPARE(lireFichier(chemin), attendu);
}

void TestDocumentResultat::enveloppe_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("libelle");
    QTest::addColumn<QByteArray>("racine");

    QTest::newRow("valeurs vides") << QString() << QString() << QString()
                                   << QByteArray("<Configurateur><Project/><Verification><Code/><Libelle/>"
                                                 "</Verification></Configurateur>");
    QTest::newRow("balisage echappe")
        << QStringLiteral("a&b<c>") << QStringLiteral("X") << QStringLiteral("\"q\" & 'r'")
        << QByteArray("<Configurateur><Project>a&amp;b&lt;c&gt;</Project><Verification>"
                      "<Code>X</Code><Libelle>\"q\" &amp; 'r'</Libelle></Verification>"
                      "</Configurateur>");
    QTest::newRow("accents: un octet")
        << QStringLiteral("812") << QStringLiteral("C") << QStringLiteral("éèê")
        << QByteArray("<Configurateur><Project>812</Project><Verification><Code>C</Code>"
                      "<Libelle>\xE9\xE8\xEA</Libelle></Verification></Configurateur>");
    QTest::newRow("apostrophe typographique")
        << QStringLiteral("1") << QStringLiteral("PRICER_NOT_ALLOWED") << QStringLiteral("L’utilisateur")
        << QByteArray("<Configurateur><Project>1</Project><Verification>"
                      "<Code>PRICER_NOT_ALLOWED</Code><Libelle>L&#8217;utilisateur"
                      "</Libelle></Verification></Configurateur>");
}

void TestDocumentResultat::enveloppe()
{
    QFETCH(QString, project);
    QFETCH(QString, code);
    QFETCH(QString, libelle);
    QFETCH(QByteArray, racine);
    QCOMPARE(Resultat::enveloppe("Verification", project, code, libelle).serialiser(),
             "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n" + racine + "\r\n");
}

void TestDocumentResultat::relectureIdentique()
{
    const QString libelle = QStringLiteral("Fenêtre & <porte> – L’été \"ok\"");
    const QByteArray octets =
        Resultat::enveloppe("Commande", QStringLiteral("4711"), QStringLiteral("A&B"), libelle).serialiser();
    pugi::xml_document relu;
    QVERIFY(relu.load_buffer(octets.constData(), static_cast<size_t>(octets.size())));
    const pugi::xml_node commande = relu.child("Configurateur").child("Commande");
    QCOMPARE(QString::fromUtf8(commande.child_value("Libelle")), libelle);
    QCOMPARE(QString::fromUtf8(commande.child_value("Code")), QStringLiteral("A&B"));
}

void TestDocumentResultat::depuisReponseDeRecuperation()
{
    // The start text keeps its content; its own declaration gives way to ours.
    DocumentResultat document(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Configurateur>\n  <Jeton>T1</Jeton>\n"
        "  <Passerelle>olka</Passerelle><Project>4711</Project><Autre a=\"1\">S\xE9jour</Autre>"
        "</Configurateur>\n");
    DocumentResultat::ajouter(document.racine(), "Libelle", QStringLiteral("Fenêtre"));
    DocumentResultat::ajouter(document.racine(), "Image");
    QCOMPARE(document.serialiser(),
             QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Configurateur><Jeton>T1</Jeton>"
                        "<Passerelle>olka</Passerelle><Project>4711</Project><Autre a=\"1\">S\xE9jour</Autre>"
                        "<Libelle>Fen\xEAtre</Libelle><Image/></Configurateur>\r\n"));
}

void TestDocumentResultat::reponseIllisible()
{
    QVERIFY_THROWS_EXCEPTION(Erreur, DocumentResultat("<Configurateur><Jeton>"));
    // A root of another name: nothing is added, the document is written as loaded.
    const DocumentResultat autre("<Autre/>");
    QVERIFY(!autre.racine());
    QCOMPARE(Resultat::enveloppe("Commande", {}, {}, {}).racine().first_child().name(), "Project");
}

void TestDocumentResultat::ecritureRemplaceOuEchoue()
{
    const QString chemin = m_dossier.filePath(QStringLiteral("deux.xml"));
    Resultat::enveloppe("Commande", QStringLiteral("1"), QStringLiteral("PREMIER"), {}).ecrire(chemin);
    Resultat::enveloppe("Commande", QStringLiteral("2"), QStringLiteral("SECOND"), {}).ecrire(chemin);
    const QByteArray contenu = lireFichier(chemin);
    QVERIFY(contenu.contains("SECOND"));
    QVERIFY(!contenu.contains("PREMIER"));
    QCOMPARE(contenu.count("<?xml"), 1);

    const QString absent = m_dossier.filePath(QStringLiteral("pas de dossier/r.xml"));
    try {
        Resultat::enveloppe("Commande", {}, {}, {}).ecrire(absent);
        QFAIL("writing into a missing folder must fail");
    } catch (const Erreur& erreur) {
        QVERIFY2(erreur.texte().contains(absent), qPrintable(erreur.texte()));
    }
    QVERIFY(!QFile::exists(absent));
    // A path naming a folder fails and leaves the folder as it was.
    QVERIFY_THROWS_EXCEPTION(Erreur, Resultat::enveloppe("Commande", {}, {}, {}).ecrire(m_dossier.path()));
    QVERIFY(QFileInfo(m_dossier.path()).isDir());
    QCOMPARE(lireFichier(chemin), contenu);
}

void TestDocumentResultat::texteLatin1()
{
    QCOMPARE(Texte::versLatin1AvecReferences(QStringLiteral("aé€’\U0001F600")),
             QByteArray("a\xE9&#8364;&#8217;&#128512;"));
    QCOMPARE(Texte::decoderCorpsHttp("caf\xE9", "text/xml; charset=ISO-8859-1"), QStringLiteral("café"));
    QCOMPARE(Texte::decoderCorpsHttp("caf\xC3\xA9", "application/json"), QStringLiteral("café"));
    QCOMPARE(Texte::decoderCorpsHttp("l\x92\xE9t\xE9", QByteArray()), QStringLiteral("l’été"));
}

QTEST_GUILESS_MAIN(TestDocumentResultat)
#include "tst_documentresultat.moc"
