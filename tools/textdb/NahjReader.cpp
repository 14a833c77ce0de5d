#include "tools/textdb/NahjReader.h"

#include "data/PersianDigits.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <array>

namespace {

const std::array<const char16_t *, NahjReader::SectionCount + 1> kSectionTitles = {
    u"", u"خطبه‌ها", u"نامه‌ها", u"حکمت‌ها", u"غریب‌الکلام"};
const std::array<const char16_t *, NahjReader::SectionCount + 1> kItemWords = {
    u"", u"خطبه", u"نامه", u"حکمت", u"غریب"};

// The Persian Arabic-script digits of a header such as "نامه ۳۱-".
int persianNumber(const QString &digits)
{
    int n = 0;
    for (const QChar c : digits)
        n = n * 10 + (c.unicode() - 0x06F0);
    return n;
}

bool isDiacritic(char16_t c)
{
    return (c >= 0x064B && c <= 0x065F) || c == 0x0670 || c == 0x0640 ||
           (c >= 0x06D6 && c <= 0x06ED) || c == 0x200C || c == 0x200D;
}

} // namespace

QString NahjReader::unescape(const QString &field)
{
    // Exactly three escapes: backslash-backslash (a backslash), backslash-n (a line break) and
    // backslash-t (a tab). A backslash before anything else is no escape and stays as it
    // stands, as does a backslash that ends the field.
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar next = i + 1 < field.size() ? field[i + 1] : QChar();
        if (field[i] == QLatin1Char('\\') &&
            (next == QLatin1Char('\\') || next == QLatin1Char('n') || next == QLatin1Char('t'))) {
            out.append(next == QLatin1Char('n')   ? QChar('\n')
                       : next == QLatin1Char('t') ? QChar('\t')
                                                  : next);
            ++i;
            continue;
        }
        out.append(field[i]);
    }
    return out;
}

QString NahjReader::searchForm(const QString &arabic)
{
    QString out;
    out.reserve(arabic.size());
    bool blank = false;
    for (const QChar c : arabic) {
        if (isDiacritic(c.unicode()))
            continue;
        if (!c.isLetterOrNumber()) {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out.append(QLatin1Char(' '));
        blank = false;
        out.append(c);
    }
    return out;
}

QString NahjReader::sectionTitle(int section)
{
    return QString::fromUtf16(kSectionTitles.at(size_t(section)));
}

QString NahjReader::itemLabel(int section, int number)
{
    return QString::fromUtf16(kItemWords.at(size_t(section))) + QLatin1Char(' ') +
           PersianDigits::number(number);
}

std::vector<NahjItem> NahjReader::read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw Error(QStringLiteral("%1: file not found").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: %2").arg(path, file.errorString()));

    const auto fail = [&path](qint64 line, const QString &what) {
        return Error(QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(what));
    };
    static const QRegularExpression header(QStringLiteral("^(خطبه|نامه)\\s*([۰-۹]+)"));

    std::vector<NahjItem> items;
    std::array<int, SectionCount + 1> counts{};
    qint64 lineNumber = 0;
    while (!file.atEnd()) {
        QByteArray raw = file.readLine();
        ++lineNumber;
        if (raw.endsWith('\n'))
            raw.chop(1);
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (lineNumber == 1) {
            if (!raw.startsWith("section\tnumber\t"))
                throw fail(lineNumber, QStringLiteral("the header row is missing"));
            continue;
        }
        if (raw.isEmpty())
            continue;
        // A line that does not decode would reach the database with its letters replaced.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8.decode(raw);
        if (utf8.hasError())
            throw fail(lineNumber, QStringLiteral("not valid UTF-8"));
        const QStringList fields = decoded.split(QLatin1Char('\t'));
        if (fields.size() != 5)
            throw fail(lineNumber,
                       QStringLiteral("%1 fields where 5 were expected").arg(fields.size()));
        NahjItem item;
        bool sectionOk = false, numberOk = false;
        item.section = fields[0].toInt(&sectionOk);
        item.number = fields[1].toInt(&numberOk);
        if (!sectionOk || item.section < 0 || item.section > SectionCount)
            throw fail(lineNumber, QStringLiteral("unknown section '%1'").arg(fields[0]));
        const QString name = item.section == 0 ? QStringLiteral("front matter %1").arg(fields[1])
                                               : itemLabel(item.section, item.number);
        if (!numberOk || item.number != counts[size_t(item.section)] + 1)
            throw fail(lineNumber, QStringLiteral("%1: number %2 where %3 was expected")
                                       .arg(name, fields[1])
                                       .arg(counts[size_t(item.section)] + 1));
        ++counts[size_t(item.section)];
        item.title = fields[2];
        item.arabic = unescape(fields[3]);
        item.persian = unescape(fields[4]);
        item.line = lineNumber;

        if (item.section > 0) {
            if (item.arabic.trimmed().isEmpty() || item.persian.trimmed().isEmpty())
                throw fail(lineNumber, QStringLiteral("%1: the %2 text is empty")
                                           .arg(name, item.arabic.trimmed().isEmpty()
                                                          ? QStringLiteral("Arabic")
                                                          : QStringLiteral("Persian")));
            // Sermons and letters carry their number in the Persian heading.
            const QRegularExpressionMatch heading = header.match(item.persian);
            if (item.section <= 2 &&
                (!heading.hasMatch() || persianNumber(heading.captured(2)) != item.number))
                throw fail(lineNumber,
                           QStringLiteral("%1: the Persian text is headed '%2'")
                               .arg(name, item.persian.section(QLatin1Char('\n'), 0, 0).left(20)));
            // A translation is never a fraction or a multiple of its original's length.
            const double ratio = double(item.persian.size()) / double(item.arabic.size());
            if (ratio < 0.2 || ratio > 5.0)
                throw fail(lineNumber, QStringLiteral("%1: the Persian text is %2 times as long as "
                                                      "the Arabic; the two are not aligned")
                                           .arg(name)
                                           .arg(ratio, 0, 'f', 2));
        }
        items.push_back(std::move(item));
    }
    for (int section = 1; section <= SectionCount; ++section) {
        if (counts[size_t(section)] == 0)
            throw fail(lineNumber, QStringLiteral("section %1 has no items").arg(section));
    }
    return items;
}
