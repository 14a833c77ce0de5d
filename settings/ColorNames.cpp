#include "settings/ColorNames.h"

#include "settings/ColorValue.h"

#include <iterator>

namespace {

struct Entry {
    const char *name;
    qint32 value;
};

constexpr qint32 rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}
constexpr qint32 sys(int n)
{
    return n - 16777216;
}

// Lookup order: writing takes the first entry with the value.
const Entry entries[] = {
    {"clBlack", rgb(0, 0, 0)},
    {"clMaroon", rgb(128, 0, 0)},
    {"clGreen", rgb(0, 128, 0)},
    {"clOlive", rgb(128, 128, 0)},
    {"clNavy", rgb(0, 0, 128)},
    {"clPurple", rgb(128, 0, 128)},
    {"clTeal", rgb(0, 128, 128)},
    {"clGray", rgb(128, 128, 128)},
    {"clSilver", rgb(192, 192, 192)},
    {"clRed", rgb(255, 0, 0)},
    {"clLime", rgb(0, 255, 0)},
    {"clYellow", rgb(255, 255, 0)},
    {"clBlue", rgb(0, 0, 255)},
    {"clFuchsia", rgb(255, 0, 255)},
    {"clAqua", rgb(0, 255, 255)},
    {"clWhite", rgb(255, 255, 255)},
    {"clMoneyGreen", rgb(192, 220, 192)},
    {"clSkyBlue", rgb(166, 202, 240)},
    {"clCream", rgb(255, 251, 240)},
    {"clMedGray", rgb(160, 160, 164)},
    {"clActiveBorder", sys(10)},
    {"clActiveCaption", sys(2)},
    {"clAppWorkSpace", sys(12)},
    {"clBackground", sys(1)},
    {"clBtnFace", sys(15)},
    {"clBtnHighlight", sys(20)},
    {"clBtnShadow", sys(16)},
    {"clBtnText", sys(18)},
    {"clCaptionText", sys(9)},
    {"clDefault", ColorValue::clDefault},
    {"clGradientActiveCaption", sys(27)},
    {"clGradientInactiveCaption", sys(28)},
    {"clGrayText", sys(17)},
    {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},
    {"clHotLight", sys(26)},
    {"clInactiveBorder", sys(11)},
    {"clInactiveCaption", sys(3)},
    {"clInactiveCaptionText", sys(19)},
    {"clInfoBk", sys(24)},
    {"clInfoText", sys(23)},
    {"clMenu", sys(4)},
    {"clMenuBar", sys(30)},
    {"clMenuHighlight", sys(29)},
    {"clMenuText", sys(7)},
    {"clNone", ColorValue::clNone},
    {"clScrollBar", sys(0)},
    {"cl3DDkShadow", sys(21)},
    {"cl3DLight", sys(22)},
    {"clWindow", sys(5)},
    {"clWindowFrame", sys(6)},
    {"clWindowText", sys(8)},
};

static_assert(std::size(entries) == 52);

} // namespace

QString ColorNames::nameOf(qint32 value)
{
    for (const Entry &entry : entries) {
        if (entry.value == value)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

bool ColorNames::valueOf(const QString &name, qint32 *value)
{
    for (const Entry &entry : entries) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            *value = entry.value;
            return true;
        }
    }
    return false;
}
