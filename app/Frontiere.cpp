#include "Frontiere.h"

#include "Erreur.h"

#include <QMessageBox>
#include <QPointer>

namespace Frontiere {

QString titreMessages()
{
    return QStringLiteral("configurateur-quelt");
}

void afficherMessage(QWidget* parent, const QString& texte)
{
    QMessageBox boite(QMessageBox::NoIcon, titreMessages(), texte, QMessageBox::Ok, parent);
    boite.exec();
}

void signalerErreur(QWidget* parent, const QString& texte)
{
    QMessageBox boite(QMessageBox::Critical, titreMessages(), texte, QMessageBox::Ok, parent);
    boite.exec();
}

QString texteExceptionCourante()
{
    try {
        throw;
    } catch (const Erreur& erreur) {
        return erreur.texte();
    } catch (const std::exception& erreur) {
        return QString::fromLocal8Bit(erreur.what());
    } catch (...) {
        return QString();
    }
}

} // namespace Frontiere

QueltApplication::QueltApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool QueltApplication::notify(QObject* receveur, QEvent* evenement)
{
    try {
        return QApplication::notify(receveur, evenement);
    } catch (...) {
        Frontiere::signalerErreur(nullptr, Frontiere::texteExceptionCourante());
        return false;
    }
}
