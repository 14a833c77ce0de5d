#include "tools/textdb/TopicIndex.h"

#include "data/SuraNames.h"
#include "data/Topics.h"
#include "platform/Error.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace {

int key(int sura, int verse)
{
    return sura * 1000 + verse;
}

class Parser {
public:
    explicit Parser(QString path)
        : m_path(std::move(path))
    {
    }

    [[noreturn]] void fail(int line, const QString &what) const
    {
        throw Error(QStringLiteral("%1:%2: %3").arg(m_path).arg(line).arg(what));
    }

    QRegularExpression compile(int line, const QString &pattern) const
    {
        QRegularExpression re(pattern, QRegularExpression::UseUnicodePropertiesOption);
        if (!re.isValid())
            fail(line, QStringLiteral("bad regular expression at offset %1: %2")
                           .arg(re.patternErrorOffset())
                           .arg(re.errorString()));
        re.optimize();
        return re;
    }

    // A word stands between blanks and may carry the proclitics و/ف then ب/ل/ك; a word with the
    // article may also stand as لل... (the article's alif dropped after ل).
    QRegularExpression words(int line, const QStringList &list) const
    {
        QStringList plain;
        QStringList article;
        for (const QString &word : list) {
            plain << QRegularExpression::escape(word);
            if (word.startsWith(QStringLiteral("ال")) && word.size() > 2)
                article << QRegularExpression::escape(word.mid(2));
        }
        QString pattern = QStringLiteral("(?:^| )(?:[وف]?[بلك]?(?:%1)").arg(plain.join('|'));
        if (!article.isEmpty())
            pattern += QStringLiteral("|[وف]?لل(?:%1)").arg(article.join('|'));
        pattern += QStringLiteral(")(?= |$)");
        return compile(line, pattern);
    }

    // Adds the verses of references like 2:255 or 76:5-22.
    void references(int line, const QStringList &refs, QSet<int> &into) const
    {
        static const QRegularExpression form(
            QStringLiteral("^([0-9]{1,3}):([0-9]{1,3})(?:-([0-9]{1,3}))?$"));
        for (const QString &ref : refs) {
            const QRegularExpressionMatch m = form.match(ref);
            if (!m.hasMatch())
                fail(line, QStringLiteral("'%1' is not a verse reference (sura:verse or "
                                          "sura:first-last)")
                               .arg(ref));
            const int sura = m.captured(1).toInt();
            const int first = m.captured(2).toInt();
            const int last = m.hasCaptured(3) ? m.captured(3).toInt() : first;
            if (sura < 1 || sura > SuraNames::Count)
                fail(line, QStringLiteral("'%1': there is no sura %2").arg(ref).arg(sura));
            const int count = SuraNames::verseCount(sura);
            if (first < 1 || last > count)
                fail(line, QStringLiteral("'%1' is outside the Quran: sura %2 has %3 verses")
                               .arg(ref)
                               .arg(sura)
                               .arg(count));
            if (last < first)
                fail(line, QStringLiteral("'%1': the range runs backwards").arg(ref));
            for (int verse = first; verse <= last; ++verse)
                into.insert(key(sura, verse));
        }
    }

private:
    QString m_path;
};

} // namespace

const QStringList &TopicIndex::codes()
{
    static const QStringList list = [] {
        QStringList out;
        for (const Topics::Topic &topic : Topics())
            out << QString::fromLatin1(topic.code);
        return out;
    }();
    return list;
}

QString TopicIndex::captionOf(const QString &code)
{
    const qsizetype index = codes().indexOf(code);
    return index < 0 ? QString() : QString::fromUtf8(Topics::begin()[index].caption);
}

const std::vector<int> &TopicIndex::suraVerseCounts()
{
    static const std::vector<int> counts = [] {
        std::vector<int> made;
        for (int sura = 1; sura <= SuraNames::Count; ++sura)
            made.push_back(SuraNames::verseCount(sura));
        return made;
    }();
    return counts;
}

TopicIndex TopicIndex::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    const Parser parser(path);

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QStringList lines = QString(utf8.decode(bytes)).split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast(); // the newline that ends the last line
    if (utf8.hasError()) {
        // Name the first line that does not decode.
        int line = 1;
        for (const QByteArray &raw : bytes.split('\n')) {
            QStringDecoder check(QStringDecoder::Utf8);
            (void)QString(check.decode(raw));
            if (check.hasError())
                break;
            ++line;
        }
        parser.fail(line, QStringLiteral("not valid UTF-8"));
    }

    std::vector<Topic> found(size_t(codes().size()));
    Topic *current = nullptr;
    int number = 0;
    for (const QString &raw : lines) {
        ++number;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype blank = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
        const QString keyword = blank < 0 ? line : line.left(blank);
        const QString rest = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
        const QStringList args =
            rest.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);

        if (keyword == QLatin1String("topic")) {
            if (current && current->rules.empty() && current->verses.isEmpty())
                parser.fail(current->line,
                            QStringLiteral("topic '%1' has no rules").arg(current->code));
            if (args.isEmpty())
                parser.fail(number, QStringLiteral("topic without a code"));
            const QString code = args.first();
            const qsizetype index = codes().indexOf(code);
            if (index < 0)
                parser.fail(number, QStringLiteral("'%1' is not a topic code").arg(code));
            Topic &topic = found[size_t(index)];
            if (topic.line > 0)
                parser.fail(number, QStringLiteral("topic '%1' is already given at line %2")
                                        .arg(code)
                                        .arg(topic.line));
            const QString caption = rest.mid(code.size()).trimmed();
            if (caption != captionOf(code))
                parser.fail(number, QStringLiteral("the caption of '%1' reads '%2', not '%3'")
                                        .arg(code, captionOf(code), caption));
            topic.code = code;
            topic.caption = caption;
            topic.line = number;
            current = &topic;
            continue;
        }

        const bool known = keyword == QLatin1String("word") || keyword == QLatin1String("regex") ||
                           keyword == QLatin1String("verses") ||
                           keyword == QLatin1String("except") || keyword == QLatin1String("must");
        if (!known)
            parser.fail(number, QStringLiteral("unknown statement '%1'").arg(keyword));
        if (!current)
            parser.fail(number, QStringLiteral("'%1' before the first topic").arg(keyword));
        if (args.isEmpty())
            parser.fail(number, QStringLiteral("'%1' without arguments").arg(keyword));

        if (keyword == QLatin1String("word"))
            current->rules.push_back(parser.words(number, args));
        else if (keyword == QLatin1String("regex"))
            current->rules.push_back(parser.compile(number, rest));
        else if (keyword == QLatin1String("verses"))
            parser.references(number, args, current->verses);
        else if (keyword == QLatin1String("must")) {
            const QString note = rest.mid(args.first().size()).trimmed();
            if (note.isEmpty())
                parser.fail(number, QStringLiteral("'must %1' without a note saying where the "
                                                   "verse is known from")
                                        .arg(args.first()));
            QSet<int> verses;
            parser.references(number, {args.first()}, verses);
            QList<int> sorted = verses.values();
            std::sort(sorted.begin(), sorted.end());
            for (const int verse : sorted)
                current->mustHold.push_back({verse, number, note});
        } else
            parser.references(number, args, current->excluded);
    }
    if (current && current->rules.empty() && current->verses.isEmpty())
        parser.fail(current->line, QStringLiteral("topic '%1' has no rules").arg(current->code));

    for (const Topic &topic : found) {
        if (topic.line == 0)
            parser.fail(
                number,
                QStringLiteral("topic '%1' is missing").arg(codes()[&topic - found.data()]));
    }

    TopicIndex index;
    index.m_path = path;
    index.m_topics = std::move(found);
    return index;
}

bool TopicIndex::contains(const Topic &topic, int verseKey, const QString &searchText) const
{
    if (topic.excluded.contains(verseKey))
        return false;
    if (topic.verses.contains(verseKey))
        return true;
    for (const QRegularExpression &rule : topic.rules) {
        if (rule.match(searchText).hasMatch())
            return true;
    }
    return false;
}

QStringList TopicIndex::untaggedMustHold(const std::vector<QStringList> &searchTexts) const
{
    QStringList out;
    for (const Topic &topic : m_topics) {
        for (const MustHold &must : topic.mustHold) {
            const int sura = must.verse / 1000;
            const int verse = must.verse % 1000;
            const QString text = size_t(sura - 1) < searchTexts.size() &&
                                         verse - 1 < searchTexts[size_t(sura - 1)].size()
                                     ? searchTexts[size_t(sura - 1)][verse - 1]
                                     : QString();
            if (!contains(topic, must.verse, text))
                out << QStringLiteral("%1:%2: topic '%3' must hold %4:%5 (%6), but its rules "
                                      "leave it out")
                           .arg(m_path)
                           .arg(must.line)
                           .arg(topic.code)
                           .arg(sura)
                           .arg(verse)
                           .arg(must.note);
        }
    }
    return out;
}

void TopicIndex::checkMustHold(const std::vector<QStringList> &searchTexts) const
{
    const QStringList untagged = untaggedMustHold(searchTexts);
    if (!untagged.isEmpty())
        throw Error(untagged.join(QLatin1Char('\n')));
}

QString TopicIndex::codesFor(int sura, int verse, const QString &searchText) const
{
    QStringList out;
    for (const Topic &topic : m_topics) {
        if (contains(topic, key(sura, verse), searchText))
            out << topic.code;
    }
    return out.join(QLatin1Char(' '));
}

std::vector<int> TopicIndex::verseCounts(const std::vector<QStringList> &searchTexts) const
{
    std::vector<int> counts(m_topics.size(), 0);
    for (size_t s = 0; s < searchTexts.size(); ++s) {
        for (qsizetype a = 0; a < searchTexts[s].size(); ++a) {
            const int verseKey = key(int(s) + 1, int(a) + 1);
            for (size_t t = 0; t < m_topics.size(); ++t) {
                if (contains(m_topics[t], verseKey, searchTexts[s][a]))
                    ++counts[t];
            }
        }
    }
    return counts;
}

QStringList TopicIndex::countReport(const std::vector<QStringList> &searchTexts) const
{
    const std::vector<int> counts = verseCounts(searchTexts);
    QStringList lines;
    for (size_t t = 0; t < m_topics.size(); ++t)
        lines << QStringLiteral("%1 %2 %3")
                     .arg(m_topics[t].code)
                     .arg(counts[t], 4)
                     .arg(m_topics[t].caption);
    return lines;
}
