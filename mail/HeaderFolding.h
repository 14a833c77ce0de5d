#pragma once

#include <QByteArray>
#include <QList>

// The lines of one header field, folded to at most 78 characters where the text allows.
class HeaderFolding {
public:
    static constexpr int MaxLineLength = 78;

    // "name: value" as lines. Each line break inside the value starts a line of its own that
    // begins with a blank or TAB (a blank is put before a line that has neither, so a value
    // can never start a field of its own); empty lines are left out.
    static QList<QByteArray> lines(const QByteArray &name, const QByteArray &value);

    // Breaks a line after the last blank, TAB or comma within its first 78 characters (or,
    // failing that, after the first one further on) that stands outside quotation marks and
    // outside encoded words; each continuation begins with one blank. Trailing blanks and
    // TABs are removed.
    static QList<QByteArray> fold(const QByteArray &line);

private:
    static int breakPoint(const QByteArray &line);
};
