#pragma once

#include "mail/EncodedWords.h"

#include <QByteArray>
#include <QString>
#include <utility>

// One mail address with an optional display name.
class MailAddress {
public:
    MailAddress() = default;
    explicit MailAddress(QString mailbox, QString displayName = QString())
        : address(std::move(mailbox))
        , name(std::move(displayName))
    {
    }

    // The address alone without display name; with one, the name (quoted, or as encoded
    // words when it holds characters outside printable ASCII), a blank and the address in
    // angle brackets.
    QByteArray text(EncodedWords::Scheme scheme = EncodedWords::Q) const;

    // A quoted string: the text in double quotation marks with a backslash before each
    // backslash and each quotation mark.
    static QByteArray quoted(const QByteArray &text);

    bool operator==(const MailAddress &other) const
    {
        return address == other.address && name == other.name;
    }

    QString address;
    QString name;
};
