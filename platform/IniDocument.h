#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The text of an INI file: "[section]" lines, "key=value" lines, and comments and anything
// else kept as it stands. Reading is a pure function of the file's bytes; setting a value
// changes or adds only that key's line, so every other section, key, comment, blank line and
// line ending comes back out unchanged. Section and key names are matched without regard to
// letter case; the first section and the first key of a name count.
class IniDocument {
public:
    IniDocument() = default;

    static IniDocument parse(const QByteArray &bytes);
    QByteArray toBytes() const;

    // Everything after the first "=" of the key's line, as stored (UTF-8), or nothing when the
    // section or the key is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Sets a key, adding the key and its section where they are missing. The value goes on one
    // line as given, except that line breaks and NUL characters in it become blanks: they
    // would end the line and start keys or sections of their own.
    void setValue(const QString &section, const QString &key, const QString &value);

    // The lines of the file, without their line endings.
    QList<QByteArray> lines() const;

private:
    struct Line {
        QByteArray text;
        QByteArray end; // "\r\n", "\n", "\r", or empty for a last line without one
    };

    // The section name of a "[section]" line; nothing for any other line.
    static std::optional<QByteArray> sectionName(const QByteArray &line);
    // The key of a "key=value" line (not a comment); nothing for any other line.
    static std::optional<QByteArray> keyName(const QByteArray &line);
    static bool sameName(const QByteArray &name, const QString &wanted);
    int findSection(const QString &section) const;
    // The line of a key in the section whose header is at sectionLine; -1 when missing.
    int findKey(int sectionLine, const QString &key) const;
    void insertLine(int at, const QByteArray &text);

    QList<Line> m_lines;
    QByteArray m_bom;
    QByteArray m_newline = QByteArrayLiteral("\n");
};
