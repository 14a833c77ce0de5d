#include "settings/CharsetNames.h"

namespace {

struct Entry {
    const char *name;
    int value;
};

const Entry entries[] = {
    {"ANSI_CHARSET", 0},     {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},     {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},  {"GB2312_CHARSET", 134},     {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},  {"TURKISH_CHARSET", 162},    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186},     {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},   {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

} // namespace

QString CharsetNames::nameOf(int value)
{
    for (const Entry &entry : entries) {
        if (entry.value == value)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

bool CharsetNames::valueOf(const QString &name, int *value)
{
    for (const Entry &entry : entries) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}
