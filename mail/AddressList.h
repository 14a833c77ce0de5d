#pragma once

#include "mail/MailAddress.h"

#include <QList>

// An ordered list of mail addresses with its text form.
class AddressList {
public:
    AddressList() = default;

    // Replaces the list by the addresses of a text: items are cut at each comma or semicolon
    // outside double quotation marks and parentheses; an item is "name <address>" or a bare
    // address. Items without an address ("", "<>") are dropped.
    void setText(const QString &text);
    static AddressList parse(const QString &text);

    // The address texts joined by ", ".
    QByteArray text(EncodedWords::Scheme scheme = EncodedWords::Q) const;

    void add(const MailAddress &address) { m_items.append(address); }
    void clear() { m_items.clear(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    int count() const { return int(m_items.size()); }
    const MailAddress &at(int i) const { return m_items.at(i); }
    const QList<MailAddress> &items() const { return m_items; }

private:
    static MailAddress parseItem(const QString &item);

    QList<MailAddress> m_items;
};
