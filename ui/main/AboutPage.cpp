#include "ui/main/AboutPage.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/Notices.h"
#include "data/Translations.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "ui/main/CaptionFit.h"
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
    nullptr, // the Quran translation's credit
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
    nullptr, // the Quran translation's source
    u"متن عربي نهج البلاغه: al-islam.org (گردآورنده: سيد رضي)\u200E",
    u"ترجمه نهج البلاغه: استاد محمد دشتي",
};

// The translators of the Tanzil Persian translations by the names their files give, with the
// title and full name the credit line shows.
const struct {
    const char *translator;
    const char16_t *credit;
} kTranslatorCredits[] = {
    {"Naser Makarem Shirazi", u"آيت الله العظمي ناصر مکارم شيرازي"},
    {"Hussain Ansarian", u"استاد حسين انصاريان"},
    {"AbdolMohammad Ayati", u"استاد عبدالمحمد آيتي"},
    {"Abolfazl Bahrampour", u"استاد ابوالفضل بهرام پور"},
    {"Mohammad Mahdi Fooladvand", u"استاد محمد مهدي فولادوند"},
    {"Mahdi Elahi Ghomshei", u"استاد مهدي الهي قمشه اي"},
    {"Baha'oddin Khorramshahi", u"استاد بهاءالدين خرمشاهي"},
};

// What a database without a table of translations holds: the default translation.
const char *const kDefaultTranslator = "Naser Makarem Shirazi";
const char *const kDefaultCode = "fa.makarem";
// The notice of the Persian Nahj al-Balagha text's source, in the database's Notices.
const char *const kNahjLicenceSource = "LICENSE.geraked-application-nahj";

constexpr int kStrip = 33;

} // namespace

QString AboutPage::translatorCredit(const QString &translator, const QString &persianName)
{
    for (const auto &known : kTranslatorCredits) {
        if (translator == QLatin1String(known.translator))
            return QString::fromUtf16(known.credit);
    }
    return persianName.isEmpty() ? translator : persianName;
}

QStringList AboutPage::aboutLines() const
{
    Connection *connection = nullptr;
    if (m_verses && m_verses->dataSet() && m_verses->dataSet()->connection() &&
        m_verses->dataSet()->connection()->isOpen())
        connection = m_verses->dataSet()->connection();
    Translations::Translation translation{QLatin1String(kDefaultCode),
                                          QLatin1String(kDefaultTranslator), QString()};
    QString nahjLicence;
    if (connection) {
        const Translations::Translation inUse = Translations::current(connection);
        if (!inUse.code.isEmpty())
            translation = inUse;
        nahjLicence = Notices::text(connection, QLatin1String(kNahjLicenceSource));
    }
    const QString credit = translatorCredit(translation.translator, translation.persianName);

    QStringList lines;
    for (const char16_t *line : kAboutLines)
        lines.append(line ? QString::fromUtf16(line)
                          : QString::fromUtf16(u"ترجمه قرآن توسط ") + credit);
    for (const char16_t *line : kSourceLines)
        lines.append(line ? QString::fromUtf16(line)
                          : QString::fromUtf16(u"ترجمه قرآن: ") + credit +
                                QStringLiteral(" (%1; Tanzil.net, %2)\u200E")
                                    .arg(translation.translator, translation.code));
    // The licence of the Persian text's source, its own lines each kept in left-to-right order.
    if (!nahjLicence.trimmed().isEmpty()) {
        lines.append(QString::fromUtf16(u"متن فارسي نهج البلاغه برگرفته از نرم افزار Geraked، با "
                                        u"اين اجازه نامه:"));
        for (const QString &line : nahjLicence.trimmed().split(QLatin1Char('\n')))
            lines.append(line.trimmed().isEmpty() ? QString() : line + QChar(0x200E));
    }
    return lines;
}

void AboutPage::refresh()
{
    const QString text = aboutLines().join(QLatin1Char('\n'));
    if (Memo2->toPlainText() != text)
        Memo2->setPlainText(text);
}

void AboutPage::showEvent(QShowEvent *event)
{
    Messages::guard([this] { refresh(); });
    QWidget::showEvent(event);
}

AboutPage::AboutPage(DataSource *verses, QWidget *parent)
    : QWidget(parent)
    , GroupBox1(new QGroupBox(this))
    , Memo2(new QPlainTextEdit(GroupBox1))
    , btnWebSite(new QPushButton(QStringLiteral("پشتيباني و مشاهده وب سايت"), GroupBox1))
    , m_verses(verses)
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
    refresh();

    // The button stands in front of the text at a fixed place in the frame.
    btnWebSite->setGeometry(24, 400, 177, 25);
    btnWebSite->raise();
    CaptionFit::install(GroupBox1);
    connect(btnWebSite, &QPushButton::clicked, this, &AboutPage::btnWebSiteClick);
}

void AboutPage::btnWebSiteClick()
{
    Shell::current().open(window(), SiteSettings::load().webSite, QString(), QString(),
                          Shell::ShowNormal);
}
