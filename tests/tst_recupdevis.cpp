#include "TFicheConfigurateurRecupDevis.h"
#include "support/Fichiers.h"
#include "support/Plateformes.h"
#include "support/RepondeurMessages.h"
#include "support/Sandbox.h"

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <pugixml.hpp>

// Stands in for the desktop's browser: records what would have been opened.
class Navigateur : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> ouvertes;

public Q_SLOTS:
    void ouvrir(const QUrl& url) { ouvertes.append(url); }
};

// The quote dialog in-process (offscreen) against the sandbox gateway and platform.
class TestRecupDevis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void chiffrageRecupere();
    void sessionRefusee();
    void echecPuisSecondEssai();
    void annuler();
    void adressesRefusees_data();
    void adressesRefusees();
    void sessionEnErreur();

private:
    std::unique_ptr<TFicheConfigurateurRecupDevis>
    fiche(const QString& motDePasse = QStringLiteral("d&mo #pass=+"))
    {
        const AccesPlateforme acces = accesSandbox(m_sandbox.url());
        auto f = std::make_unique<TFicheConfigurateurRecupDevis>(nullptr);
        f->SetMarque(QStringLiteral("olka"));
        f->SetFichierTemp(m_resultat);
        f->SetIdentifiant(QStringLiteral("demo@quelt.example"));
        f->SetMotDePasse(motDePasse);
        f->SetDevisId(QString());
        f->SetEmailService(acces.service.EmailService);
        f->SetMotDePasseService(acces.service.MotDePasseService);
        f->SetCleEmetteur(acces.service.CleEmetteur);
        f->SetAdresseApiPlateforme(acces.AdresseApiPlateforme);
        f->SetAdressePasserelle(m_sandbox.url());
        return f;
    }
    // What the user does in the browser: picks a product and confirms.
    void chiffrer(const QUrl& pageDeChiffrage)
    {
        const QString jeton = QUrlQuery(pageDeChiffrage).queryItemValue(QStringLiteral("jeton"));
        int statut = 0;
        m_sandbox.appeler("POST", QStringLiteral("/chiffrage"),
                          "jeton=" + jeton.toLatin1() +
                              "&produit=fenetre-pvc&largeur=1200&hauteur=1350&quantite=2&repere=Salon",
                          "application/x-www-form-urlencoded", &statut);
        QCOMPARE(statut, 200);
    }
    QPushButton* bouton(TFicheConfigurateurRecupDevis& f, const char* nom)
    {
        return f.findChild<QPushButton*>(QLatin1String(nom));
    }

    Sandbox m_sandbox;
    Navigateur m_navigateur;
    QTemporaryDir m_dossier;
    QString m_resultat;
};

void TestRecupDevis::initTestCase()
{
    QVERIFY(m_sandbox.demarre());
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_navigateur, "ouvrir");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_navigateur, "ouvrir");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_navigateur, "ouvrir");
    m_resultat = m_dossier.filePath(QStringLiteral("resultat.xml"));
}

void TestRecupDevis::init()
{
    m_sandbox.reinitialiser();
    m_navigateur.ouvertes.clear();
    ecrireFichier(m_resultat, "ancien");
}

void TestRecupDevis::cleanup()
{
    for (const QString& nom : QDir(m_dossier.path()).entryList(QDir::Files))
        QFile::remove(m_dossier.filePath(nom));
}

void TestRecupDevis::chiffrageRecupere()
{
    RepondeurMessages repondeur;
    auto f = fiche();
    QSignalSpy fin(f.get(), &QDialog::finished);
    f->open();

    QTRY_COMPARE(m_navigateur.ouvertes.size(), 1);
    QCOMPARE(f->windowTitle(), QStringLiteral("Calvenor - Configurateur olka - Chiffrage"));
    QCOMPARE(f->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Version 1 du 07/12/2020"));
    QCOMPARE(m_navigateur.ouvertes.first().toString(), f->session().UrlConnexion);
    QVERIFY(bouton(*f, "btnDevisRecuperer")->hasFocus());

    chiffrer(m_navigateur.ouvertes.first());
    bouton(*f, "btnDevisRecuperer")->click();
    QTRY_COMPARE(fin.size(), 1);
    QVERIFY(repondeur.textes().isEmpty());

    const QByteArray fichier = lireFichier(m_resultat);
    pugi::xml_document document;
    QVERIFY(document.load_buffer(fichier.constData(), static_cast<size_t>(fichier.size())));
    const pugi::xml_node racine = document.child("Configurateur");
    const QString project = QString::fromUtf8(racine.child_value("Project"));
    QVERIFY(!project.isEmpty());
    QCOMPARE(QString::fromUtf8(racine.child_value("Passerelle")), QStringLiteral("olka"));
    QStringList noms;
    for (pugi::xml_node enfant : racine.children())
        noms.append(QString::fromUtf8(enfant.name()));
    QCOMPARE(noms,
             (QStringList{QStringLiteral("Jeton"), QStringLiteral("Passerelle"), QStringLiteral("Project"),
                          QStringLiteral("Libelle"), QStringLiteral("Detail"), QStringLiteral("Repere"),
                          QStringLiteral("EcoTaxe"), QStringLiteral("Quantite"), QStringLiteral("PrixPublic"),
                          QStringLiteral("PrixAchat"), QStringLiteral("Image")}));
    QCOMPARE(QString::fromUtf8(racine.child_value("Repere")), QStringLiteral("\"Salon\""));
    QCOMPARE(QString::fromUtf8(racine.child_value("Quantite")), QStringLiteral("2"));
    QVERIFY(QString::fromUtf8(racine.child_value("Detail"))
                .contains(QStringLiteral("Largeur 1200 mm\nHauteur 1350 mm\n")));
    const QString image = m_dossier.filePath(project + QStringLiteral(".bmp"));
    QCOMPARE(QString::fromUtf8(racine.child_value("Image")), image);
    QVERIFY(lireFichier(image).startsWith("BM"));
    QVERIFY(!QImage(image).isNull());
}

void TestRecupDevis::sessionRefusee()
{
    RepondeurMessages repondeur;
    auto f = fiche(QStringLiteral("mauvais"));
    QSignalSpy fin(f.get(), &QDialog::finished);
    f->open();
    QVERIFY(fin.wait(5000));
    QCOMPARE(repondeur.textes(),
             QStringList{QStringLiteral("Configurateur olka : GetJetonEtUrlsErreurs \nL'information de "
                                        "connexion n'a pas été obtenue.\r\n")});
    QVERIFY(m_navigateur.ouvertes.isEmpty());
    QCOMPARE(lireFichier(m_resultat), QByteArray("ancien"));
}

void TestRecupDevis::echecPuisSecondEssai()
{
    RepondeurMessages repondeur;
    auto f = fiche();
    QSignalSpy fin(f.get(), &QDialog::finished);
    f->open();
    QTRY_COMPARE(m_navigateur.ouvertes.size(), 1);
    chiffrer(m_navigateur.ouvertes.first());

    // The platform fails the priced record's first GET.
    const QString recuperation = f->session().UrlRecuperation;
    const QByteArray reponse =
        m_sandbox.appeler("GET", QUrl(recuperation).path() + QLatin1Char('?') + QUrl(recuperation).query());
    pugi::xml_document lu;
    QVERIFY(lu.load_buffer(reponse.constData(), static_cast<size_t>(reponse.size())));
    const QString project = QString::fromUtf8(lu.child("Configurateur").child_value("Project"));
    m_sandbox.surcharger({{"method", "GET"},
                          {"path", QStringLiteral("/api/v2.0/quotation-records/") + project},
                          {"status", 500},
                          {"body", ""},
                          {"times", 1}});

    bouton(*f, "btnDevisRecuperer")->click();
    QCOMPARE(repondeur.textes().size(), 1);
    QVERIFY2(repondeur.textes().first().contains(QStringLiteral("statut HTTP 500")),
             qPrintable(repondeur.textes().first()));
    QVERIFY(f->isVisible());
    QVERIFY(bouton(*f, "btnDevisRecuperer")->isEnabled());
    QVERIFY(bouton(*f, "btnAnnulerRecuperation")->isEnabled());
    QCOMPARE(lireFichier(m_resultat), QByteArray("ancien"));

    bouton(*f, "btnDevisRecuperer")->click();
    QTRY_COMPARE(fin.size(), 1);
    QVERIFY(lireFichier(m_resultat).contains("<Project>" + project.toLatin1() + "</Project>"));
}

void TestRecupDevis::annuler()
{
    auto f = fiche();
    QSignalSpy fin(f.get(), &QDialog::finished);
    f->open();
    QTRY_COMPARE(m_navigateur.ouvertes.size(), 1);
    chiffrer(m_navigateur.ouvertes.first());
    // Escape does nothing; "Annuler" closes without writing.
    QTest::keyClick(f.get(), Qt::Key_Escape);
    QVERIFY(f->isVisible());
    bouton(*f, "btnAnnulerRecuperation")->click();
    QCOMPARE(fin.size(), 1);
    QCOMPARE(lireFichier(m_resultat), QByteArray("ancien"));
}

void TestRecupDevis::adressesRefusees_data()
{
    QTest::addColumn<QByteArray>("reponse");
    QTest::addColumn<QString>("message");
    QTest::newRow("UrlConnexion fichier")
        << QByteArray("<Configurateur><Jeton>T</Jeton><UrlConnexion>C:\\Windows\\calc.exe"
                      "</UrlConnexion><UrlRecuperation>http://127.0.0.1:1/r</UrlRecuperation>"
                      "</Configurateur>")
        << QStringLiteral("n’est pas une adresse web");
    QTest::newRow("UrlConnexion file:")
        << QByteArray("<Configurateur><Jeton>T</Jeton><UrlConnexion>file:///etc/passwd"
                      "</UrlConnexion><UrlRecuperation>http://127.0.0.1:1/r</UrlRecuperation>"
                      "</Configurateur>")
        << QStringLiteral("n’est pas une adresse web");
}

void TestRecupDevis::adressesRefusees()
{
    QFETCH(QByteArray, reponse);
    QFETCH(QString, message);
    m_sandbox.surcharger({{"method", "GET"},
                          {"path", "/index.php/Services/jeton"},
                          {"status", 200},
                          {"body", QString::fromUtf8(reponse)},
                          {"skipAuth", true}});
    RepondeurMessages repondeur;
    auto f = fiche();
    f->open();
    QTRY_COMPARE(repondeur.textes().size(), 1);
    QVERIFY2(repondeur.textes().first().contains(message), qPrintable(repondeur.textes().first()));
    QTRY_COMPARE(repondeur.ouverts(), 0);
    QVERIFY(m_navigateur.ouvertes.isEmpty());
    QVERIFY(f->isVisible());
}

void TestRecupDevis::sessionEnErreur()
{
    m_sandbox.surcharger({{"method", "GET"},
                          {"path", "/index.php/Services/jeton"},
                          {"status", 503},
                          {"body", ""},
                          {"skipAuth", true}});
    RepondeurMessages repondeur;
    auto f = fiche();
    f->open();
    QTRY_COMPARE(repondeur.textes().size(), 1);
    QVERIFY2(repondeur.textes().first().contains(QStringLiteral("503")),
             qPrintable(repondeur.textes().first()));
    QTRY_COMPARE(repondeur.ouverts(), 0);
    QVERIFY(m_navigateur.ouvertes.isEmpty());
    QVERIFY(f->isVisible());
    // Without a session the press is refused, no request is sent to an empty address.
    m_sandbox.viderJournal();
    bouton(*f, "btnDevisRecuperer")->click();
    QCOMPARE(repondeur.textes().size(), 2);
    QVERIFY(repondeur.textes().last().startsWith(QStringLiteral("Aucune session")));
    QVERIFY(m_sandbox.journal().isEmpty());
    QCOMPARE(lireFichier(m_resultat), QByteArray("ancien"));
}

QTEST_MAIN(TestRecupDevis)
#include "tst_recupdevis.moc"
