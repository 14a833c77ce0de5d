#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one exception type of the program: an error that carries the text shown to the reader.
class Error : public std::exception {
public:
    explicit Error(QString message);

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
