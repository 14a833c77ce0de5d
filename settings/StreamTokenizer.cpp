#include "settings/StreamTokenizer.h"

#include "platform/Error.h"

namespace {

// Numbers stop growing here: every value that large is out of range for every property, and
// the accumulation cannot overflow.
constexpr quint64 numberCap = Q_UINT64_C(100000000000000000);

bool isLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_';
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

} // namespace

StreamTokenizer::StreamTokenizer(const QString &text)
    : m_text(text)
{
}

bool StreamTokenizer::isChar(char c) const
{
    return m_token.kind == Kind::Char && m_token.ch == QLatin1Char(c);
}

bool StreamTokenizer::isKeyword(const char *keyword) const
{
    return m_token.kind == Kind::Identifier &&
           m_token.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

void StreamTokenizer::fail(const QString &reason) const
{
    if (m_token.kind == Kind::Fault)
        throw Error(m_token.text);
    throw Error(QStringLiteral("%1 on line %2").arg(reason).arg(m_token.line));
}

void StreamTokenizer::failHere(const QString &reason) const
{
    throw Error(QStringLiteral("%1 on line %2").arg(reason).arg(m_line));
}

void StreamTokenizer::startLine()
{
    m_lineStarted = true;
    qsizetype end = m_pos;
    while (end < m_text.size() && !isLineEnd(m_text.at(end)))
        ++end;
    if (end - m_pos > maxLineLength)
        failHere(QStringLiteral("Line too long"));
}

void StreamTokenizer::skipBlanks()
{
    for (;;) {
        if (!m_lineStarted)
            startLine();
        if (m_pos >= m_text.size())
            return;
        const QChar c = m_text.at(m_pos);
        if (isLineEnd(c)) {
            const bool pair = c == QLatin1Char('\r') && m_pos + 1 < m_text.size() &&
                              m_text.at(m_pos + 1) == QLatin1Char('\n');
            m_pos += pair ? 2 : 1;
            ++m_line;
            m_lineStarted = false;
        } else if (c.unicode() <= 32) {
            ++m_pos;
        } else {
            return;
        }
    }
}

void StreamTokenizer::next()
{
    if (m_token.kind == Kind::Fault)
        return;
    try {
        fetch();
    } catch (const Error &error) {
        m_token = Token();
        m_token.kind = Kind::Fault;
        m_token.text = error.message();
        m_token.line = m_line;
    }
}

void StreamTokenizer::fetch()
{
    skipBlanks();
    m_token = Token();
    m_token.line = m_line;
    if (m_pos >= m_text.size())
        return;

    const QChar c = m_text.at(m_pos);
    const bool digitFollows = m_pos + 1 < m_text.size() && isDigit(m_text.at(m_pos + 1));
    const bool hexFollows = m_pos + 1 < m_text.size() && hexDigit(m_text.at(m_pos + 1)) >= 0;
    if (isLetter(c)) {
        readIdentifier();
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('#')) {
        readString();
    } else if (isDigit(c) || (c == QLatin1Char('-') && digitFollows)) {
        readNumber();
    } else if (c == QLatin1Char('$') && hexFollows) {
        readHexNumber();
    } else {
        m_token.kind = Kind::Char;
        m_token.ch = c;
        ++m_pos;
    }
}

void StreamTokenizer::readIdentifier()
{
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && (isLetter(m_text.at(m_pos)) || isDigit(m_text.at(m_pos))))
        ++m_pos;
    m_token.kind = Kind::Identifier;
    m_token.text = m_text.mid(start, m_pos - start);
}

void StreamTokenizer::readNumber()
{
    const qsizetype start = m_pos;
    const bool negative = m_text.at(m_pos) == QLatin1Char('-');
    if (negative)
        ++m_pos;
    quint64 value = 0;
    while (m_pos < m_text.size() && isDigit(m_text.at(m_pos))) {
        if (value < numberCap)
            value = value * 10 + (m_text.at(m_pos).unicode() - '0');
        ++m_pos;
    }

    auto isFloatChar = [this](qsizetype i) {
        if (i >= m_text.size())
            return false;
        const QChar c = m_text.at(i);
        return isDigit(c) || c == QLatin1Char('.') || c == QLatin1Char('e') ||
               c == QLatin1Char('E') || c == QLatin1Char('+') || c == QLatin1Char('-');
    };
    if (isFloatChar(m_pos)) {
        while (isFloatChar(m_pos))
            ++m_pos;
        if (m_pos < m_text.size()) {
            const char16_t suffix = m_text.at(m_pos).toLower().unicode();
            if (suffix == 's' || suffix == 'c' || suffix == 'd')
                ++m_pos;
        }
        m_token.kind = Kind::Float;
        m_token.text = m_text.mid(start, m_pos - start);
        return;
    }
    m_token.kind = Kind::Integer;
    m_token.number = negative ? -qint64(value) : qint64(value);
}

void StreamTokenizer::readHexNumber()
{
    ++m_pos; // "$"
    quint64 value = 0;
    int digit;
    while (m_pos < m_text.size() && (digit = hexDigit(m_text.at(m_pos))) >= 0) {
        if (value < numberCap)
            value = value * 16 + quint64(digit);
        ++m_pos;
    }
    m_token.kind = Kind::Integer;
    // Up to 32 bits the digits are the bit pattern of a 32-bit integer, so $FFFFFFFF is -1.
    m_token.number = value <= 0xFFFFFFFFu ? qint64(qint32(quint32(value))) : qint64(value);
}

void StreamTokenizer::readString()
{
    QString text;
    for (;;) {
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\'')) {
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size() || isLineEnd(m_text.at(m_pos)))
                    failHere(QStringLiteral("Invalid string constant"));
                const QChar c = m_text.at(m_pos);
                if (c == QLatin1Char('\'')) {
                    if (m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == QLatin1Char('\'')) {
                        text += c;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                text += c;
                ++m_pos;
            }
        } else if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('#')) {
            ++m_pos;
            if (m_pos >= m_text.size() || !isDigit(m_text.at(m_pos)))
                failHere(QStringLiteral("Number expected"));
            quint64 code = 0;
            while (m_pos < m_text.size() && isDigit(m_text.at(m_pos))) {
                if (code < numberCap)
                    code = code * 10 + (m_text.at(m_pos).unicode() - '0');
                ++m_pos;
            }
            if (code > 0x10FFFF)
                failHere(QStringLiteral("Invalid string constant"));
            if (code <= 0xFFFF) {
                text += QChar(char16_t(code));
            } else {
                text += QChar(QChar::highSurrogate(char32_t(code)));
                text += QChar(QChar::lowSurrogate(char32_t(code)));
            }
        } else {
            break;
        }
    }
    m_token.kind = Kind::String;
    m_token.text = text;
}

QString StreamTokenizer::readBinary()
{
    QString digits;
    for (;;) {
        skipBlanks();
        m_token.line = m_line;
        if (m_pos >= m_text.size())
            fail(QStringLiteral("''}'' expected"));
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('}')) {
            ++m_pos;
            return digits;
        }
        if (hexDigit(c) < 0)
            fail(QStringLiteral("''}'' expected"));
        digits += c;
        ++m_pos;
    }
}
