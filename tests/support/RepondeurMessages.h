#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QMessageBox;

// Answers the program's real message boxes the way a user would: records each box's
// text, waits delaiMs, then presses its button. Works inside nested modal loops.
class RepondeurMessages : public QObject
{
    Q_OBJECT

public:
    explicit RepondeurMessages(int delaiMs = 0);

    QStringList textes() const { return m_textes; }
    // Number of boxes on screen right now (seen but not yet answered).
    int ouverts() const;

private:
    void surveiller();

    int m_delaiMs;
    QTimer m_minuterie;
    QStringList m_textes;
    QList<QMessageBox*> m_vus;
    QList<QElapsedTimer> m_depuis;
};
