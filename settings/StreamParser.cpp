#include "settings/StreamParser.h"

#include "platform/Error.h"
#include "settings/StreamTokenizer.h"

#include <QStringDecoder>

namespace {

using Kind = StreamTokenizer::Kind;

class Parser {
public:
    Parser(const QString &text, StreamParser::Result &result)
        : m_tokens(text)
        , m_result(result)
    {
    }

    void run()
    {
        m_tokens.next();
        readObject(m_result.object, true);
    }

private:
    bool atObjectKeyword() const
    {
        return m_tokens.isKeyword("object") || m_tokens.isKeyword("inherited") ||
               m_tokens.isKeyword("inline");
    }

    bool atPropertyName() const
    {
        return m_tokens.token().kind == Kind::Identifier && !atObjectKeyword() &&
               !m_tokens.isKeyword("end");
    }

    QString takeIdentifier()
    {
        if (m_tokens.token().kind != Kind::Identifier)
            m_tokens.fail(QStringLiteral("Identifier expected"));
        const QString text = m_tokens.token().text;
        m_tokens.next();
        return text;
    }

    void expectChar(char c)
    {
        if (!m_tokens.isChar(c))
            m_tokens.fail(QStringLiteral("''%1'' expected").arg(QLatin1Char(c)));
        m_tokens.next();
    }

    void enter(const QString &failure)
    {
        if (m_depth >= StreamParser::maxDepth)
            m_tokens.fail(failure);
        ++m_depth;
    }

    void readObject(StreamObject &object, bool top)
    {
        if (!atObjectKeyword())
            m_tokens.fail(QStringLiteral("object expected"));
        m_tokens.next();
        const QString first = takeIdentifier();
        if (m_tokens.isChar(':')) {
            m_tokens.next();
            object.name = first;
            object.kind = takeIdentifier();
        } else {
            object.kind = first;
        }
        if (m_tokens.isChar('[')) {
            m_tokens.next();
            if (m_tokens.token().kind != Kind::Integer)
                m_tokens.fail(QStringLiteral("Number expected"));
            m_tokens.next();
            expectChar(']');
        }
        if (top)
            m_result.headerRead = true;

        while (atPropertyName())
            readProperty(object.properties);
        if (m_tokens.token().kind != Kind::End && m_tokens.token().kind != Kind::Identifier)
            m_tokens.fail(QStringLiteral("Identifier expected"));

        while (atObjectKeyword()) {
            enter(QStringLiteral("end expected"));
            StreamObject child;
            readObject(child, false);
            object.children.push_back(std::move(child));
            --m_depth;
        }
        if (!m_tokens.isKeyword("end"))
            m_tokens.fail(QStringLiteral("end expected"));
        // The top object ends the reading: nothing after its end is looked at.
        if (!top)
            m_tokens.next();
    }

    void readProperty(std::vector<StreamObject::Property> &properties)
    {
        StreamObject::Property property;
        property.line = m_tokens.token().line;
        property.path << takeIdentifier();
        while (m_tokens.isChar('.')) {
            m_tokens.next();
            property.path << takeIdentifier();
        }
        expectChar('=');
        property.value = readValue();
        properties.push_back(std::move(property));
    }

    StreamValue readValue()
    {
        const StreamTokenizer::Token token = m_tokens.token();
        switch (token.kind) {
        case Kind::Identifier:
            m_tokens.next();
            return StreamValue::identifier(token.text);
        case Kind::Integer:
            m_tokens.next();
            return StreamValue::integer(token.number);
        case Kind::Float:
            m_tokens.next();
            return StreamValue::floating(token.text);
        case Kind::String:
            return readString();
        case Kind::Char:
            break;
        case Kind::End:
        case Kind::Fault:
            m_tokens.fail(QStringLiteral("Invalid property value"));
        }
        switch (token.ch.unicode()) {
        case '[':
            return readSet();
        case '(':
            return readList();
        case '<':
            return readCollection();
        case '{': {
            const QString digits = m_tokens.readBinary();
            m_tokens.next();
            return StreamValue::binary(digits);
        }
        case '-':
        case '$':
            m_tokens.fail(QStringLiteral("Number expected"));
        default:
            m_tokens.fail(QStringLiteral("Invalid property value"));
        }
    }

    StreamValue readString()
    {
        QString text = m_tokens.token().text;
        m_tokens.next();
        while (m_tokens.isChar('+')) {
            m_tokens.next();
            if (m_tokens.token().kind != Kind::String)
                m_tokens.fail(QStringLiteral("String expected"));
            text += m_tokens.token().text;
            m_tokens.next();
        }
        return StreamValue::string(text);
    }

    StreamValue readSet()
    {
        m_tokens.next(); // "["
        QStringList names;
        if (!m_tokens.isChar(']')) {
            for (;;) {
                names << takeIdentifier();
                if (m_tokens.isChar(']'))
                    break;
                if (!m_tokens.isChar(','))
                    m_tokens.fail(QStringLiteral("'']'' expected"));
                m_tokens.next();
            }
        }
        m_tokens.next(); // "]"
        return StreamValue::set(names);
    }

    StreamValue readList()
    {
        enter(QStringLiteral("'')'' expected"));
        m_tokens.next(); // "("
        std::vector<StreamValue> items;
        while (!m_tokens.isChar(')')) {
            if (m_tokens.token().kind == Kind::End)
                m_tokens.fail(QStringLiteral("'')'' expected"));
            items.push_back(readValue());
        }
        m_tokens.next(); // ")"
        --m_depth;
        return StreamValue::list(std::move(items));
    }

    // "<" then items, each "item", property assignments and "end", then ">". The contents are
    // checked but not kept: no settings property takes a collection.
    StreamValue readCollection()
    {
        enter(QStringLiteral("''>'' expected"));
        m_tokens.next(); // "<"
        while (!m_tokens.isChar('>')) {
            if (!m_tokens.isKeyword("item"))
                m_tokens.fail(QStringLiteral("item expected"));
            m_tokens.next();
            std::vector<StreamObject::Property> ignored;
            while (atPropertyName())
                readProperty(ignored);
            if (!m_tokens.isKeyword("end"))
                m_tokens.fail(QStringLiteral("end expected"));
            m_tokens.next();
        }
        m_tokens.next(); // ">"
        --m_depth;
        return StreamValue::collection();
    }

    StreamTokenizer m_tokens;
    StreamParser::Result &m_result;
    int m_depth = 0;
};

} // namespace

StreamParser::Result StreamParser::parse(const QByteArray &bytes)
{
    // A NUL character ends the text. Anything above 127 outside a #code is taken as UTF-8; a
    // leading byte order mark is dropped.
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArray content = nul < 0 ? bytes : bytes.left(nul);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(content);

    Result result;
    try {
        Parser parser(text, result);
        parser.run();
    } catch (const Error &error) {
        result.error = error.message();
    }
    return result;
}
