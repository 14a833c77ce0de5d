#include "platform/SystemDialogs.h"

#include <QMessageBox>
#include <QPushButton>

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

int SystemDialogs::choose(QWidget *parent, const QString &caption, const QString &text,
                          const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> made;
    for (qsizetype i = 0; i < buttons.size(); ++i)
        made.append(box.addButton(buttons[i], i + 1 == buttons.size() ? QMessageBox::RejectRole
                                                                      : QMessageBox::AcceptRole));
    if (!made.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(made.first()));
        box.setEscapeButton(made.last());
    }
    box.exec();
    const qsizetype pressed = made.indexOf(box.clickedButton());
    return pressed < 0 ? int(buttons.size()) - 1 : int(pressed);
}
