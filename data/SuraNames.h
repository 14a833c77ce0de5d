#pragma once

#include <QString>
#include <QStringList>

// The 114 sura names in the form the sura list shows and the text database stores.
class SuraNames {
public:
    static constexpr int Count = 114;

    // The name of sura 1..114; empty for any other number.
    static QString name(int sura);
    static QStringList all();
    // The number of verses of sura 1..114; 0 for any other number.
    static int verseCount(int sura);
};
