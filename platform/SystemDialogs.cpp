#include "platform/SystemDialogs.h"

#include <QMessageBox>

void SystemDialogs::error(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void SystemDialogs::message(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool SystemDialogs::confirm(QWidget *parent, const QString &caption, const QString &text)
{
    // The standard buttons: their captions come in the language of Qt's translation, and
    // Escape answers No.
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}
