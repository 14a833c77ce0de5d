#include "mail/HeaderFolding.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimEnd(QByteArray line)
{
    while (!line.isEmpty() && isBlank(line.back()))
        line.chop(1);
    return line;
}

// The end (one past "?=") of the encoded word that starts at position i, or -1.
int encodedWordEnd(const QByteArray &line, int i)
{
    if (line.mid(i, 2) != "=?")
        return -1;
    const auto plain = [](char c) { return c != '?' && c > ' ' && c < 127; };
    int k = i + 2;
    const int charsetStart = k;
    while (k < line.size() && plain(line[k]))
        ++k;
    if (k == charsetStart || k + 2 >= line.size() || line[k] != '?' || line[k + 2] != '?')
        return -1;
    k += 3;
    while (k < line.size() && plain(line[k]))
        ++k;
    if (k + 1 < line.size() && line[k] == '?' && line[k + 1] == '=')
        return k + 2;
    return -1;
}

} // namespace

QList<QByteArray> HeaderFolding::lines(const QByteArray &name, const QByteArray &value)
{
    QList<QByteArray> out;
    const QByteArray text = name + ": " + value;
    int start = 0;
    bool first = true;
    while (start <= text.size()) {
        int end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        QByteArray line = text.mid(start, end - start);
        if (!first && !line.isEmpty() && !isBlank(line.front()))
            line.prepend(' ');
        first = false;
        if (!trimEnd(line).trimmed().isEmpty())
            out += fold(line);
        if (end >= text.size())
            break;
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

QList<QByteArray> HeaderFolding::fold(const QByteArray &line)
{
    QList<QByteArray> out;
    QByteArray rest = line;
    for (;;) {
        const int at = rest.size() > MaxLineLength ? breakPoint(rest) : -1;
        if (at < 0) {
            rest = trimEnd(rest);
            if (!rest.isEmpty())
                out.append(rest);
            return out;
        }
        out.append(trimEnd(rest.left(at + 1)));
        int next = at + 1;
        while (next < rest.size() && (isBlank(rest[next]) || rest[next] == ',' ||
                                      rest[next] == '\r' || rest[next] == '\n'))
            ++next;
        if (next >= rest.size())
            return out;
        rest = ' ' + rest.mid(next);
    }
}

int HeaderFolding::breakPoint(const QByteArray &line)
{
    int lastWithin = -1;
    bool quoted = false;
    bool content = false;
    for (int i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                quoted = false;
            content = true;
            continue;
        }
        if (c == '"') {
            quoted = true;
            content = true;
            continue;
        }
        const int wordEnd = encodedWordEnd(line, i);
        if (wordEnd > 0) {
            i = wordEnd - 1;
            content = true;
            continue;
        }
        const bool candidate = (isBlank(c) && content) || c == ',';
        if (!isBlank(c))
            content = true;
        if (!candidate)
            continue;
        if (i < MaxLineLength)
            lastWithin = i;
        else
            return lastWithin >= 0 ? lastWithin : i;
    }
    return lastWithin;
}
