#pragma once

#include "platform/Error.h"

#include <QString>
#include <exception>
#include <utility>

class QWidget;

// The program's two ways of telling the reader something: the standard error report and its
// own message dialog. Each also writes one line to standard error.
class Messages {
public:
    // The error report's text: a full stop is appended when the last character sorts after it.
    static QString errorText(const QString &text);
    // The caption of every dialog: the program file's name without extension.
    static QString title();

    static void showError(const QString &text, QWidget *parent = nullptr);
    static void showMessage(const QString &text, QWidget *parent = nullptr);
    static bool confirm(const QString &caption, const QString &text, QWidget *parent = nullptr);
    // A question with the buttons given; answers the index of the one pressed (the last one
    // when the question was dismissed).
    static int choose(const QString &text, const QStringList &buttons, QWidget *parent = nullptr);

    // Runs an operation the way the event loop runs a handler: an error it raises ends it and
    // is shown in the standard error report. Answers whether the operation finished.
    template <typename F> static bool guard(F &&operation)
    {
        try {
            std::forward<F>(operation)();
            return true;
        } catch (const Error &e) {
            showError(e.message());
        } catch (const std::exception &e) {
            showError(QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
};
