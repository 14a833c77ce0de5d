#pragma once

#include "platform/Dialogs.h"

class SystemDialogs : public Dialogs {
public:
    void error(QWidget *parent, const QString &caption, const QString &text) override;
    void message(QWidget *parent, const QString &caption, const QString &text) override;
    bool confirm(QWidget *parent, const QString &caption, const QString &text) override;
    int choose(QWidget *parent, const QString &caption, const QString &text,
               const QStringList &buttons) override;
};
