#include "settings/StreamWriter.h"

#include "settings/StreamObject.h"

namespace {

// Characters of a text written on one line before the writer continues with " +".
constexpr int charsPerLine = 64;

const QString lineEnd = QStringLiteral("\r\n");

QString indent(int level)
{
    return QString(2 * level, QLatin1Char(' '));
}

// The text's characters as Unicode code points; a lone surrogate stands for itself.
std::vector<char32_t> codePoints(const QString &text)
{
    std::vector<char32_t> codes;
    codes.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            codes.push_back(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            codes.push_back(c.unicode());
        }
    }
    return codes;
}

bool quotable(char32_t code)
{
    return code >= 32 && code <= 127 && code != U'\'';
}

// Writes a text value; `depth` is the level of the lines it continues on.
void writeText(QString &out, const QString &text, int depth)
{
    if (text.isEmpty()) {
        out += QLatin1String("''");
        return;
    }
    const std::vector<char32_t> codes = codePoints(text);
    bool quoted = false;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i > 0 && i % charsPerLine == 0) {
            if (quoted)
                out += QLatin1Char('\'');
            quoted = false;
            out += QLatin1String(" +") + lineEnd + indent(depth);
        }
        const char32_t code = codes[i];
        if (quotable(code)) {
            if (!quoted)
                out += QLatin1Char('\'');
            quoted = true;
            out += QChar(char16_t(code));
        } else {
            if (quoted)
                out += QLatin1Char('\'');
            quoted = false;
            out += QLatin1Char('#') + QString::number(quint32(code));
        }
    }
    if (quoted)
        out += QLatin1Char('\'');
}

// Writes a value that starts on a line of `level`; `ownLine` is true for a list item, which
// already stands on a line of its own.
void writeValue(QString &out, const StreamValue &value, int level, bool ownLine)
{
    switch (value.kind) {
    case StreamValue::Kind::Identifier:
    case StreamValue::Kind::Float:
        out += value.text;
        break;
    case StreamValue::Kind::Integer:
        out += QString::number(value.number);
        break;
    case StreamValue::Kind::String:
        if (ownLine) {
            writeText(out, value.text, level);
        } else if (codePoints(value.text).size() > size_t(charsPerLine)) {
            out += lineEnd + indent(level + 1);
            writeText(out, value.text, level + 1);
        } else {
            writeText(out, value.text, level);
        }
        break;
    case StreamValue::Kind::Set:
        out += QLatin1Char('[') + value.names.join(QLatin1String(", ")) + QLatin1Char(']');
        break;
    case StreamValue::Kind::List:
        out += QLatin1Char('(');
        for (const StreamValue &item : value.items) {
            out += lineEnd + indent(level + 1);
            writeValue(out, item, level + 1, true);
        }
        out += QLatin1Char(')');
        break;
    case StreamValue::Kind::Collection:
        out += QLatin1String("<>");
        break;
    case StreamValue::Kind::Binary:
        out += QLatin1Char('{') + value.text + QLatin1Char('}');
        break;
    }
}

void writeObject(QString &out, const StreamObject &object, int level)
{
    out += indent(level) + QLatin1String("object ");
    if (!object.name.isEmpty())
        out += object.name + QLatin1String(": ");
    out += object.kind + lineEnd;
    for (const StreamObject::Property &property : object.properties) {
        out += indent(level + 1) + property.path.join(QLatin1Char('.')) + QLatin1String(" = ");
        writeValue(out, property.value, level + 1, false);
        out += lineEnd;
    }
    for (const StreamObject &child : object.children)
        writeObject(out, child, level + 1);
    out += indent(level) + QLatin1String("end") + lineEnd;
}

} // namespace

QByteArray StreamWriter::write(const StreamObject &object)
{
    QString out;
    writeObject(out, object, 0);
    // Every character above 127 is a #code, so the text is plain ASCII unless a name is not.
    return out.toUtf8();
}
