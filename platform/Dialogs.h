#pragma once

#include "platform/Service.h"

#include <QString>
#include <QStringList>

class QWidget;

// The modal dialogs the program shows. The Qt implementation shows real message boxes; tests
// install MemoryDialogs instead, so no test ever waits for a person.
class Dialogs : public Service<Dialogs> {
public:
    enum class Kind { Error, Message, Confirm, Choice };

    virtual ~Dialogs();

    // A message box with an error icon and an OK button.
    virtual void error(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A message box with the text, one OK button and no icon.
    virtual void message(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A question with the buttons "&Yes" and "&No"; true when the answer was "&Yes".
    virtual bool confirm(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A question with the buttons given, in their order; answers the index of the one pressed.
    // The last button is the one Escape and the window's close press.
    virtual int choose(QWidget *parent, const QString &caption, const QString &text,
                       const QStringList &buttons) = 0;
};

template <> Dialogs &Service<Dialogs>::systemDefault();
