#include "data/VerseAddress.h"

#include "data/IntegerText.h"
#include "data/PersianDigits.h"
#include "data/SuraNames.h"
#include "data/TextFolding.h"

#include <QStringList>

namespace {

// A name folded for comparison, its blanks removed and without the article.
QString nameKey(const QString &name)
{
    QString folded = TextFolding::fold(name.trimmed());
    folded.remove(QLatin1Char(' '));
    const QString article = QStringLiteral("ال");
    if (folded.startsWith(article) && folded.size() > article.size() + 1)
        folded.remove(0, article.size());
    return folded;
}

// A run of decimal digits of any of the three sets, as a number; -1 for anything else.
int number(const QString &text)
{
    if (text.isEmpty() || text.size() > 4)
        return -1;
    int value = 0;
    for (const QChar c : text) {
        const int digit = IntegerText::digitValue(c);
        if (digit < 0)
            return -1;
        value = value * 10 + digit;
    }
    return value;
}

int suraByName(const QString &typed)
{
    const QString key = nameKey(typed);
    if (key.isEmpty())
        return 0;
    for (int sura = 1; sura <= SuraNames::Count; ++sura) {
        if (nameKey(SuraNames::name(sura)) == key)
            return sura;
    }
    return 0;
}

// The sura and the verse number a text names, unchecked: sura 0 when none is named, verse -1
// when the text does not end in a number.
VerseAddress read(const QString &text)
{
    // Separators between sura and verse read as blanks.
    QString flat = text;
    for (QChar &c : flat) {
        if (QStringLiteral(":：/-,،.٫").contains(c) || c.isSpace())
            c = QLatin1Char(' ');
    }
    QStringList words = flat.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return {0, -1};
    const int verse = number(words.takeLast());
    // "سوره بقره آيه ۲۵۵": the words naming the parts are not part of the name.
    if (nameKey(words.last()) == nameKey(QStringLiteral("آيه")))
        words.removeLast();
    if (!words.isEmpty() && nameKey(words.first()) == nameKey(QStringLiteral("سوره")))
        words.removeFirst();
    if (words.isEmpty())
        return {0, verse};
    int sura = words.size() == 1 ? number(words.first()) : -1;
    if (sura < 0)
        sura = suraByName(words.join(QLatin1Char(' ')));
    return {sura >= 1 && sura <= SuraNames::Count ? sura : 0, verse};
}

} // namespace

std::optional<VerseAddress> VerseAddress::parse(const QString &text)
{
    const VerseAddress address = read(text);
    if (address.sura == 0 || address.verse < 1 ||
        address.verse > SuraNames::verseCount(address.sura))
        return std::nullopt;
    return address;
}

QString VerseAddress::problem(const QString &text)
{
    const VerseAddress address = read(text);
    if (address.sura != 0 && address.verse >= 0)
        return QStringLiteral("سوره %1 آيه %2 ندارد: آيه هاي آن ۱ تا %3 است")
            .arg(SuraNames::name(address.sura).trimmed(), PersianDigits::number(address.verse),
                 PersianDigits::number(SuraNames::verseCount(address.sura)));
    return QStringLiteral("«%1» نشاني يک آيه نيست. سوره و آيه را مانند «بقره ۲۵۵» يا «۲:۲۵۵» "
                          "بنويسيد")
        .arg(text.trimmed());
}
