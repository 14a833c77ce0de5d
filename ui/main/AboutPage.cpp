#include "ui/main/AboutPage.h"

#include "platform/Shell.h"
#include "ui/main/RightToLeftText.h"
#include "ui/main/SiteSettings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The about text, line by line.
const char16_t *const kAboutLines[] = {
    u"بسم الله الرحمن الرحيم",
    u"ورتانس 2",
    u"اين نرم افزار دومين  محصول سايت قرآني ورتانس هست .در اين  نرم افزار که در راستاي  نشر معارف ",
    u"راستين و مقدس اسلام و تشيع تهيه و تنظيم گرديده بصورت رايگان تحت اختيار کاربران اينترنت قرار "
    u"گرفته",
    u"در نسخه موجود امکانات جديدي  و ويرايشهاي جديدي صورت پذيرفته از جمله امکانات نرم افزار :",
    u"متن قرآن مجيد",
    u"ترجمه قرآن توسط آيت الله العظمي ناصر مکارم شيرازي",
    u"متن کتاب شريف نهج البلاغه",
    u"ترجمه نهج البلاغه استاد محمد دشتي",
    u"جستجو",
    u"موضوع بندي آيات قرآن کريم که از جمله موضوعات بکار رفته در اين نرم افزار ",
    u"صفات خداوند",
    u"پيامبر اعظم (ص)",
    u"امير مؤمنان (ع)",
    u"اهل بيت عليهم السلام",
    u"مهدويت ",
    u"قيامت",
    u"بهشت",
    u"جهنم",
    u"صفات مؤمنين و کفار",
    u"وظايف مسلمان",
    u"يکي از امکانات بسيار مناسب نرم افزار قسمت ارسال سؤال مي باشد.در اين قسمت شما مي توانيد "
    u"سؤالات خود را براي ما ارسال نماييد   ",
    u"",
    u"اميد است به ياري خداوند اين نرم افزار قدم خوبي در زمينه نشر معارف اسلام بنهد .از اين رو بهتر "
    u"است براي نشر بيشتر",
    u"اين نرم افرار از  معرفي کردن اين نرم افزار قرآني به دوستان خود دريغ نفرماييد",
    u"وفقکم الله لطلب مرضاته",
    u"التماس دعا ",
    u"",
    u"",
};

// The sources of the texts the program shows, with the notices their licences ask for. A
// left-to-right mark ends each line that ends in Latin punctuation, so that the punctuation
// stays where it belongs in the right-to-left text.
const char16_t *const kSourceLines[] = {
    u"منابع متن ها:",
    u"متن عربي قرآن: Tanzil Project — https://tanzil.net",
    u"Tanzil Quran Text (Simple, Version 1.1; Simple Clean, Version 1.1)\u200E",
    u"Copyright (C) 2007-2025 Tanzil Project. License: Creative Commons Attribution 3.0",
    // clang-format off
    u"Permission is granted to copy and distribute verbatim copies of this text, but CHANGING IT IS NOT ALLOWED.\u200E",
    // clang-format on
    u"ترجمه قرآن: آيت الله العظمي ناصر مکارم شيرازي (Tanzil.net, fa.makarem)\u200E",
    u"متن عربي نهج البلاغه: al-islam.org (گردآورنده: سيد رضي)\u200E",
    u"ترجمه نهج البلاغه: استاد محمد دشتي",
};

constexpr int kStrip = 33;

} // namespace

QStringList AboutPage::aboutLines()
{
    QStringList lines;
    for (const char16_t *line : kAboutLines)
        lines.append(QString::fromUtf16(line));
    for (const char16_t *line : kSourceLines)
        lines.append(QString::fromUtf16(line));
    return lines;
}

AboutPage::AboutPage(QWidget *parent)
    : QWidget(parent)
    , GroupBox1(new QGroupBox(this))
    , Memo2(new QPlainTextEdit(GroupBox1))
    , btnWebSite(new QPushButton(QStringLiteral("پشتيباني و مشاهده وب سايت"), GroupBox1))
{
    setObjectName(QStringLiteral("TabSheet6"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Memo2->setObjectName(QStringLiteral("Memo2"));
    btnWebSite->setObjectName(QStringLiteral("btnWebSite"));

    // Four empty strips along the edges frame the text.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const char *strips[] = {"Image1", "Image2", "Image3", "Image4"};
    for (int i = 0; i < 4; ++i) {
        auto *strip = new QLabel(this);
        strip->setObjectName(QLatin1String(strips[i]));
        if (i < 2) {
            strip->setFixedWidth(kStrip);
            layout->addWidget(strip, 0, i == 0 ? 2 : 0, 3, 1);
        } else {
            strip->setFixedHeight(kStrip);
            layout->addWidget(strip, i == 2 ? 0 : 2, 1);
        }
    }
    layout->addWidget(GroupBox1, 1, 1);

    auto *inner = new QGridLayout(GroupBox1);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->addWidget(Memo2, 0, 0);
    Memo2->setReadOnly(true);
    RightToLeftText::apply(Memo2);
    Memo2->setPlainText(aboutLines().join(QLatin1Char('\n')));

    // The button stands in front of the text at a fixed place in the frame.
    btnWebSite->setGeometry(24, 400, 177, 25);
    btnWebSite->raise();
    connect(btnWebSite, &QPushButton::clicked, this, &AboutPage::btnWebSiteClick);
}

void AboutPage::btnWebSiteClick()
{
    Shell::current().open(window(), SiteSettings::load().webSite, QString(), QString(),
                          Shell::ShowNormal);
}
