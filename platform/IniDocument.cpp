#include "platform/IniDocument.h"

#include <QStringDecoder>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    IniDocument doc;
    qsizetype pos = 0;
    if (bytes.startsWith(Bom)) {
        doc.m_bom = Bom;
        pos = Bom.size();
    }
    bool newlineSeen = false;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        Line line{bytes.mid(pos, end - pos), QByteArray()};
        if (end < bytes.size()) {
            const bool crlf =
                bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
            line.end = bytes.mid(end, crlf ? 2 : 1);
            if (!newlineSeen) {
                doc.m_newline = line.end;
                newlineSeen = true;
            }
        }
        pos = end + line.end.size();
        doc.m_lines.append(line);
    }
    return doc;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray out = m_bom;
    for (const Line &line : m_lines)
        out += line.text + line.end;
    return out;
}

QList<QByteArray> IniDocument::lines() const
{
    QList<QByteArray> out;
    out.reserve(m_lines.size());
    for (const Line &line : m_lines)
        out.append(line.text);
    return out;
}

std::optional<QByteArray> IniDocument::sectionName(const QByteArray &line)
{
    const QByteArray text = trimBlanks(line);
    if (!text.startsWith('['))
        return std::nullopt;
    const qsizetype close = text.indexOf(']');
    return trimBlanks(text.mid(1, close < 0 ? -1 : close - 1));
}

std::optional<QByteArray> IniDocument::keyName(const QByteArray &line)
{
    const QByteArray text = trimBlanks(line);
    if (text.startsWith(';') || text.startsWith('['))
        return std::nullopt;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    return trimBlanks(text.left(equals));
}

bool IniDocument::sameName(const QByteArray &name, const QString &wanted)
{
    return QString::fromUtf8(name).compare(wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

int IniDocument::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].text);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

int IniDocument::findKey(int sectionLine, const QString &key) const
{
    for (int i = sectionLine + 1; i < m_lines.size(); ++i) {
        const QByteArray &text = m_lines[i].text;
        if (sectionName(text))
            break;
        const auto name = keyName(text);
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return std::nullopt;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return std::nullopt;
    const QByteArray &text = m_lines[keyLine].text;
    // A value that begins with U+FEFF keeps it: QString::fromUtf8 would drop it as a byte
    // order mark, and a value set would not read back as set.
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return QString(decode(text.mid(text.indexOf('=') + 1)));
}

void IniDocument::insertLine(int at, const QByteArray &text)
{
    // The line before it may be the last one of the file, without a line ending of its own.
    if (at > 0 && m_lines[at - 1].end.isEmpty())
        m_lines[at - 1].end = m_newline;
    // A lone CR before an empty line that ends in LF would read back as one CR LF.
    QByteArray end = m_newline;
    if (end == "\r" && at < m_lines.size() && m_lines[at].text.isEmpty() &&
        m_lines[at].end.startsWith('\n'))
        end = QByteArrayLiteral("\r\n");
    m_lines.insert(at, Line{text, end});
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    QByteArray valueBytes = value.toUtf8();
    for (char &c : valueBytes) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }

    const int sectionLine = findSection(section);
    if (sectionLine < 0) {
        insertLine(int(m_lines.size()), '[' + section.toUtf8() + ']');
        insertLine(int(m_lines.size()), key.toUtf8() + '=' + valueBytes);
        return;
    }
    const int keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        QByteArray &text = m_lines[keyLine].text;
        text = text.left(text.indexOf('=') + 1) + valueBytes;
        return;
    }
    // After the section's last line that is not blank, so blank lines before the next
    // section stay where they are.
    int last = sectionLine;
    for (int i = sectionLine + 1; i < m_lines.size() && !sectionName(m_lines[i].text); ++i) {
        if (!trimBlanks(m_lines[i].text).isEmpty())
            last = i;
    }
    insertLine(last + 1, key.toUtf8() + '=' + valueBytes);
}
