#include "RepondeurMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

RepondeurMessages::RepondeurMessages(int delaiMs) : m_delaiMs(delaiMs)
{
    m_minuterie.setInterval(10);
    connect(&m_minuterie, &QTimer::timeout, this, &RepondeurMessages::surveiller);
    m_minuterie.start();
}

int RepondeurMessages::ouverts() const
{
    int n = 0;
    for (QWidget* fenetre : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(fenetre) && fenetre->isVisible())
            ++n;
    return n;
}

void RepondeurMessages::surveiller()
{
    for (QWidget* fenetre : QApplication::topLevelWidgets()) {
        auto* boite = qobject_cast<QMessageBox*>(fenetre);
        if (!boite || !boite->isVisible())
            continue;
        qsizetype index = m_vus.indexOf(boite);
        if (index < 0) {
            m_vus.append(boite);
            m_depuis.append(QElapsedTimer());
            m_depuis.last().start();
            m_textes.append(boite->text());
            index = m_vus.size() - 1;
        }
        if (m_depuis.at(index).elapsed() >= m_delaiMs) {
            m_vus.removeAt(index);
            m_depuis.removeAt(index);
            if (QAbstractButton* bouton = boite->buttons().value(0))
                bouton->click();
            else
                boite->reject();
        }
    }
}
