#include "reader/ReaderRef.h"

#include "data/PersianDigits.h"
#include "data/SuraNames.h"

#include <array>

namespace {

const std::array<const char *, ReaderRef::KindCount> kKindNames = {
    "verse", "preface", "sermon", "letter", "saying", "rare-word"};
const std::array<const char16_t *, ReaderRef::KindCount> kKindWords = {u"",     u"مقدمه", u"خطبه",
                                                                       u"نامه", u"حکمت",  u"غریب"};

} // namespace

bool ReaderRef::isWellFormed() const
{
    if (kind == Verse)
        return verse >= 1 && verse <= SuraNames::verseCount(number);
    if (kind == Preface)
        return number == 1 && verse == 0;
    return isNahj() && number >= 1 && verse == 0;
}

QString ReaderRef::label() const
{
    if (kind == Verse)
        return SuraNames::name(number).trimmed() + QLatin1Char(' ') + PersianDigits::number(verse);
    if (kind == Preface)
        return QString::fromUtf16(kKindWords[Preface]);
    if (!isNahj())
        return QString();
    return QString::fromUtf16(kKindWords[size_t(kind)]) + QLatin1Char(' ') +
           PersianDigits::number(number);
}

QString ReaderRef::kindName() const
{
    return kind >= 0 && kind < KindCount ? QString::fromLatin1(kKindNames[size_t(kind)])
                                         : QString();
}

int ReaderRef::kindOf(const QString &name)
{
    for (int k = 0; k < KindCount; ++k) {
        if (name == QLatin1String(kKindNames[size_t(k)]))
            return k;
    }
    return -1;
}
