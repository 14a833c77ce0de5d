#pragma once

#include "platform/Service.h"

#include <QString>

class QWidget;

// The platform shell's "open" verb: starts a program or opens a document or web address with
// the program the desktop associates with it. Results are not reported.
class Shell : public Service<Shell> {
public:
    enum ShowMode { Hide = 0, ShowNormal = 1 };

    virtual ~Shell();
    virtual void open(QWidget *window, const QString &file, const QString &parameters,
                      const QString &directory, ShowMode mode) = 0;
};

template <> Shell &Service<Shell>::systemDefault();
