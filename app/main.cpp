#include "Frontiere.h"
#include "TFicheConfigurateur.h"

#include <QStringList>

namespace {

TFicheConfigurateur* FicheConfigurateur = nullptr;

} // namespace

int main(int argc, char** argv)
{
    try {
        QueltApplication application(argc, argv);
        QApplication::setApplicationName(Frontiere::titreMessages());

        const QStringList parametres = QApplication::arguments().mid(1);
        if (parametres.size() != 2) {
            Frontiere::afficherMessage(nullptr,
                                       QStringLiteral("Configurateur Quelt - Verifiez vos paramètres !\n"
                                                      "1. Fichier temp.\n"
                                                      "2. Fichier config."));
            return 0;
        }

        try {
            TFicheConfigurateur fiche;
            FicheConfigurateur = &fiche;
            QObject::connect(&fiche, &TFicheConfigurateur::termine, &application, &QApplication::quit,
                             Qt::QueuedConnection);
            fiche.SetFichierTemp(parametres.at(0));
            fiche.SetFichierConfig(parametres.at(1));
            fiche.show();
            QApplication::exec();
            FicheConfigurateur = nullptr;
        } catch (...) {
            FicheConfigurateur = nullptr;
            Frontiere::signalerErreur(nullptr, Frontiere::texteExceptionCourante());
        }
    } catch (...) {
        // No application object to report with: the exit code stays 0 all the same.
    }
    return 0;
}
