#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <utility>

class QWidget;

// The one error boundary of the program. Qt does not carry exceptions through its
// event loop, so every event handler's work runs inside protege(): an error becomes
// the standard error box and the handler ends, the process goes on.
namespace Frontiere {

// Title of every message box: the program's name, as a desktop shows it.
QString titreMessages();

// A plain message with an OK button (modal, nested loop).
void afficherMessage(QWidget* parent, const QString& texte);

// The standard error box: a message box with the error's text.
void signalerErreur(QWidget* parent, const QString& texte);

// Text of the exception being handled (call inside a catch block only).
QString texteExceptionCourante();

template <typename Travail> bool protege(QWidget* parent, Travail&& travail)
{
    try {
        std::forward<Travail>(travail)();
        return true;
    } catch (...) {
        signalerErreur(parent, texteExceptionCourante());
        return false;
    }
}

} // namespace Frontiere

// Last line of defence for handlers that did not use protege(): an exception that
// reaches notify() is reported the same way instead of terminating the process.
class QueltApplication : public QApplication
{
public:
    QueltApplication(int& argc, char** argv);
    bool notify(QObject* receveur, QEvent* evenement) override;
};
