#include "ui/settings/DisplaySettingsPage.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/Translations.h"
#include "platform/ColorChooser.h"
#include "platform/Error.h"
#include "platform/Messages.h"
#include "settings/ColorValue.h"
#include "settings/ResumeSetting.h"
#include "settings/ThemeSetting.h"
#include "settings/TranslationSetting.h"
#include "ui/main/CaptionFit.h"
#include "ui/main/ColourPair.h"
#include "ui/main/DefaultButton.h"
#include "ui/main/OwnFont.h"
#include "ui/main/Theme.h"
#include "ui/nahj/NahjPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/settings/AppliedFont.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// Sets a colour role of the widget's palette in the given groups.
void setRole(QWidget *widget, QPalette::ColorRole role, const QColor &color,
             std::initializer_list<QPalette::ColorGroup> groups)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : groups)
        palette.setColor(group, role, color);
    widget->setPalette(palette);
}

// The system's colour of a text role, or, where it would not read on the background it is drawn
// on (a dark desktop's light text on a background made light), the colour that does.
void setSystemText(QWidget *widget, QPalette::ColorRole role, QPalette::ColorRole background)
{
    QColor color = QApplication::palette().color(role);
    const QColor behind = widget->palette().color(background);
    if (ColourPair::contrast(color, behind) < 4.5)
        color = ColourPair::textOn(behind);
    setRole(widget, role, color, {QPalette::Active, QPalette::Inactive});
}

// A font's text colour; disabled text keeps the platform's colour. A colour of the system
// (the window text) is the system's text colour of each role, each where it reads.
void setTextColor(QWidget *widget, QColor color, bool system)
{
    if (system || !color.isValid()) {
        setSystemText(widget, QPalette::Text, QPalette::Base);
        setSystemText(widget, QPalette::WindowText, QPalette::Window);
        setSystemText(widget, QPalette::ButtonText, QPalette::Button);
        return;
    }
    for (const QPalette::ColorRole role :
         {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        setRole(widget, role, color, {QPalette::Active, QPalette::Inactive});
}

// A background colour; text in the system's colour follows it to stay readable.
void setBackground(QWidget *widget, QColor color, bool systemText)
{
    if (!color.isValid())
        color = QApplication::palette().color(QPalette::Base);
    setRole(widget, QPalette::Base, color,
            {QPalette::Active, QPalette::Inactive, QPalette::Disabled});
    if (systemText)
        setSystemText(widget, QPalette::Text, QPalette::Base);
}

} // namespace

const QString DisplaySettingsPage::FontBoundedMessage =
    QStringLiteral("اندازه فونت انتخاب شده بيش از حد بزرگ است و با بزرگترين اندازه ممکن نشان داده "
                   "مي شود. براي تغيير آن، فونت را در صفحه تنظيمات دوباره انتخاب کنيد.");

DisplaySettingsPage::DisplaySettingsPage(DataSource *verses, QWidget *window, QWidget *parent)
    : QWidget(parent)
    , FontFrame(new QGroupBox(QStringLiteral("فونت"), this))
    , ColorFrame(new QGroupBox(QStringLiteral("رنگ"), this))
    , TranslationFrame(new QGroupBox(QStringLiteral("ترجمه قرآن"), this))
    , TranslationBox(new QComboBox(TranslationFrame))
    , ResumeBox(new QCheckBox(QStringLiteral("شروع از آخرين آيه"), this))
    , ThemeFrame(new QGroupBox(QStringLiteral("پوسته"), this))
    , ThemeBox(new QComboBox(ThemeFrame))
    , m_verses(verses)
    , m_window(window)
{
    setObjectName(QStringLiteral("TabSheet5"));

    FontFrame->setObjectName(QStringLiteral("FontFrame"));
    FontFrame->setGeometry(264, 40, 361, 161);
    QuranFontButton = addButton(FontFrame, "QuranFontButton", QStringLiteral("قران"), 134, 24, 115,
                                &DisplaySettingsPage::QuranFontButtonClick);
    BookFontButton = addButton(FontFrame, "BookFontButton", QStringLiteral("نهج البلاغه"), 134, 64,
                               115, &DisplaySettingsPage::BookFontButtonClick);
    WindowFontButton = addButton(FontFrame, "WindowFontButton", QStringLiteral(" کليدهاي برنامه"),
                                 136, 104, 113, &DisplaySettingsPage::WindowFontButtonClick);

    ColorFrame->setObjectName(QStringLiteral("ColorFrame"));
    ColorFrame->setGeometry(264, 256, 361, 105);
    QuranColorButton = addButton(ColorFrame, "QuranColorButton", QStringLiteral(" زمينه قران"), 128,
                                 24, 113, &DisplaySettingsPage::QuranColorButtonClick);
    BookColorButton = addButton(ColorFrame, "BookColorButton", QStringLiteral(" زمينه نهج البلاغه"),
                                126, 64, 115, &DisplaySettingsPage::BookColorButtonClick);

    TranslationFrame->setObjectName(QStringLiteral("TranslationFrame"));
    TranslationFrame->setGeometry(264, 392, 361, 65);
    TranslationBox->setObjectName(QStringLiteral("TranslationBox"));
    TranslationBox->setGeometry(24, 26, 225, 25);
    TranslationBox->setEnabled(false);
    ResumeBox->setObjectName(QStringLiteral("ResumeBox"));
    ResumeBox->setGeometry(264, 12, 361, 22);
    ResumeBox->setChecked(ResumeSetting::load());
    // toggled, not clicked: Space and the accessibility action change it too.
    connect(ResumeBox, &QCheckBox::toggled, this,
            [this] { Messages::guard([this] { ResumeBoxClick(); }); });
    // The drop-down list is a window of its own: it reads right to left like the box.
    TranslationBox->setLayoutDirection(Qt::RightToLeft);
    TranslationBox->view()->setLayoutDirection(Qt::RightToLeft);
    // A style's menu-like items are drawn left to right whatever the direction; the list's own
    // items follow it.
    TranslationBox->setItemDelegate(new QStyledItemDelegate(TranslationBox));
    connect(TranslationBox, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loadingTranslations)
            Messages::guard([this] { TranslationBoxChange(); });
    });

    ThemeFrame->setObjectName(QStringLiteral("ThemeFrame"));
    ThemeFrame->setGeometry(264, 472, 361, 57);
    ThemeBox->setObjectName(QStringLiteral("ThemeBox"));
    ThemeBox->setGeometry(24, 22, 225, 25);
    for (const Theme::Kind kind : {Theme::Day, Theme::Night, Theme::Paper})
        ThemeBox->addItem(Theme::caption(kind), Theme::id(kind));
    connect(ThemeBox, &QComboBox::currentIndexChanged, this,
            [this] { Messages::guard([this] { ThemeBoxChange(); }); });
    // The reader's fonts and colours lie on top of the theme.
    connect(&Theme::current(), &Theme::overlaid, this, [this] {
        const QList<DisplaySettings::Setting> applied = m_applied;
        for (const DisplaySettings::Setting setting : applied)
            apply(setting);
    });

    DefaultButton::install(this, QuranFontButton);
    CaptionFit::install(this);
    CaptionFit::anchorRight(this, 783);
}

void DisplaySettingsPage::ThemeBoxChange()
{
    Theme::Kind kind;
    if (!Theme::fromId(ThemeBox->currentData().toString(), &kind))
        return;
    Theme::current().setKind(kind);
    ThemeSetting::save(Theme::id(kind));
}

void DisplaySettingsPage::restoreTheme()
{
    Theme::Kind kind = Theme::Day;
    Theme::fromId(ThemeSetting::load(), &kind);
    const QSignalBlocker quiet(ThemeBox);
    ThemeBox->setCurrentIndex(ThemeBox->findData(Theme::id(kind)));
    Theme::current().setKind(kind);
}

void DisplaySettingsPage::attach(QuranPage *quran)
{
    m_quran = quran;
    for (const DisplaySettings::Setting setting : m_applied) {
        if (setting == DisplaySettings::QuranFont || setting == DisplaySettings::QuranBackground)
            apply(setting);
    }
}

void DisplaySettingsPage::attach(NahjPage *nahj)
{
    m_nahj = nahj;
    for (const DisplaySettings::Setting setting : m_applied) {
        if (setting == DisplaySettings::BookFont || setting == DisplaySettings::BookBackground)
            apply(setting);
    }
}

void DisplaySettingsPage::showEvent(QShowEvent *event)
{
    if (TranslationBox->count() == 0)
        Messages::guard([this] { loadTranslations(); });
    QWidget::showEvent(event);
}

void DisplaySettingsPage::loadTranslations()
{
    const DataSet *verses = m_verses->dataSet();
    if (!verses || !verses->connection() || !verses->connection()->isOpen())
        return;
    Connection *connection = verses->connection();
    const QList<Translations::Translation> translations = Translations::list(connection);
    const QString inUse = Translations::current(connection).code;
    m_loadingTranslations = true;
    TranslationBox->clear();
    for (const Translations::Translation &t : translations) {
        TranslationBox->addItem(t.persianName, t.code);
        if (t.code == inUse)
            TranslationBox->setCurrentIndex(TranslationBox->count() - 1);
    }
    m_loadingTranslations = false;
    TranslationBox->setEnabled(TranslationBox->count() > 1);
}

void DisplaySettingsPage::TranslationBoxChange()
{
    DataSet *verses = m_verses->dataSet();
    if (!verses || TranslationBox->currentIndex() < 0)
        return;
    const QString code = TranslationBox->currentData().toString();
    Connection *connection = verses->connection();
    const QString previous = connection ? connection->translation() : QString();
    QString inUse;
    try {
        // The views of the translation change under a set still reading its rows.
        verses->fetchAll();
        inUse = Translations::choose(connection, code);
        if (inUse == code)
            Translations::refresh(verses);
    } catch (const Error &) {
        // The translation in use before stays in use, and the box shows it again.
        try {
            if (connection && connection->translation() != previous)
                Translations::choose(connection, previous);
        } catch (const Error &) {
            // Only the database's own translation is left; choose() fell back to it.
        }
        showTranslationInUse();
        throw;
    }
    if (inUse != code)
        return;
    TranslationSetting::save(code);
}

void DisplaySettingsPage::showTranslationInUse()
{
    const DataSet *verses = m_verses->dataSet();
    const Connection *connection = verses ? verses->connection() : nullptr;
    const int index = connection ? TranslationBox->findData(connection->translation()) : -1;
    m_loadingTranslations = true;
    // No translation chosen on the connection: the database's own, listed first.
    TranslationBox->setCurrentIndex(std::max(index, 0));
    m_loadingTranslations = false;
}

QPushButton *DisplaySettingsPage::addButton(QGroupBox *frame, const char *name,
                                            const QString &caption, int left, int top, int width,
                                            void (DisplaySettingsPage::*handler)())
{
    auto *button = new QPushButton(caption, frame);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, top, width, 25);
    connect(button, &QPushButton::clicked, this,
            [this, handler] { Messages::guard([this, handler] { (this->*handler)(); }); });
    return button;
}

void DisplaySettingsPage::presetAndRestore()
{
    SettingsFont windowFont;
    windowFont.setFromQFont(m_window->font());
    m_settings.preset(windowFont,
                      ColorValue::fromQColor(m_window->palette().color(QPalette::Window)));
    restoreTheme();
    const DisplaySettings::RestoreResult result = m_settings.restore();
    for (const DisplaySettings::Setting setting : result.restored)
        apply(setting);
    for (const QString &error : result.errors)
        Messages::showError(error);
    tellFontBounded();
}

void DisplaySettingsPage::tellFontBounded()
{
    if (!m_fontBounded || m_fontBoundTold)
        return;
    m_fontBoundTold = true;
    Messages::showMessage(FontBoundedMessage, isVisible() ? this : nullptr);
}

FontChooser::Font DisplaySettingsPage::chooserFont(const SettingsFont &font)
{
    FontChooser::Font preset;
    preset.face = font.name();
    preset.height = font.height();
    preset.weight =
        font.hasStyle(SettingsFont::fsBold) ? FontChooser::BoldWeight : FontChooser::RegularWeight;
    preset.italic = font.hasStyle(SettingsFont::fsItalic);
    preset.underline = font.hasStyle(SettingsFont::fsUnderline);
    preset.strikeOut = font.hasStyle(SettingsFont::fsStrikeOut);
    preset.charset = font.charset();
    // A system colour is shown as its present value.
    const QColor color = font.textColor();
    preset.color = color.isValid() ? QColor(color.rgb()) : QColor(Qt::black);
    return preset;
}

void DisplaySettingsPage::takeAnswer(SettingsFont &font, const FontChooser::Answer &answer)
{
    const FontChooser::Font &chosen = answer.font;
    const QString presetFace = font.name();
    font.setName(chosen.face);
    font.setHeight(chosen.height);
    quint32 style = 0;
    if (chosen.weight > FontChooser::RegularWeight)
        style |= SettingsFont::fsBold;
    if (chosen.italic)
        style |= SettingsFont::fsItalic;
    if (chosen.underline)
        style |= SettingsFont::fsUnderline;
    if (chosen.strikeOut)
        style |= SettingsFont::fsStrikeOut;
    font.setStyle(style);
    // The colour and the character set are taken only when the reader chose them: a text
    // colour of the system, or a character set the face was given, stays otherwise.
    if (answer.colorChanged)
        font.setTextColor(chosen.color);
    if (answer.scriptChanged || chosen.face.compare(presetFace, Qt::CaseInsensitive) != 0)
        font.setCharset(chosen.charset);
}

void DisplaySettingsPage::chooseFont(DisplaySettings::Setting setting)
{
    auto &object = static_cast<FontSettings &>(m_settings.object(setting));
    FontChooser::Answer answer;
    if (!FontChooser::current().choose(this, chooserFont(object.font()), &answer))
        return;
    takeAnswer(object.font(), answer);
    m_settings.save(setting);
    apply(setting);
    tellFontBounded();
}

void DisplaySettingsPage::chooseColor(DisplaySettings::Setting setting)
{
    auto &object = static_cast<ColorSettings &>(m_settings.object(setting));
    QColor color = object.toQColor();
    QList<QColor> custom;
    for (int i = 0; i < ColorSettings::customColorCount; ++i)
        custom.append(object.customQColor(i));
    if (!ColorChooser::current().choose(this, &color, &custom))
        return;
    object.setFromQColor(color);
    for (int i = 0; i < ColorSettings::customColorCount; ++i)
        object.setCustomQColor(i, custom.value(i));
    m_settings.save(setting);
    apply(setting);
}

QList<QWidget *> DisplaySettingsPage::controls(DisplaySettings::Setting setting) const
{
    switch (setting) {
    case DisplaySettings::QuranFont:
    case DisplaySettings::QuranBackground:
        if (!m_quran)
            return {};
        return {m_quran->DBMemo2, m_quran->DBMemo1, m_quran->DbAltGrid3};
    case DisplaySettings::BookFont:
    case DisplaySettings::BookBackground:
        if (!m_nahj)
            return {};
        return {m_nahj->DBMemo3, m_nahj->DBMemo4};
    case DisplaySettings::WindowFont:
        break;
    }
    return {m_window};
}

void DisplaySettingsPage::apply(DisplaySettings::Setting setting)
{
    if (!m_applied.contains(setting))
        m_applied.append(setting);
    bool bounded = false;
    switch (setting) {
    case DisplaySettings::QuranFont:
    case DisplaySettings::BookFont: {
        const SettingsFont &font =
            static_cast<const FontSettings &>(m_settings.object(setting)).font();
        if (setting == DisplaySettings::QuranFont && m_quran) {
            // The grid's titles keep the font they have.
            QHeaderView *titles = m_quran->DbAltGrid3->horizontalHeader();
            OwnFont::set(titles, titles->font());
            QHeaderView *indicators = m_quran->DbAltGrid3->verticalHeader();
            OwnFont::set(indicators, indicators->font());
        }
        const bool system = ColorValue::isSystemColor(font.color());
        const QFont applied = AppliedFont::of(font, AppliedFont::TextMaxPixels, &bounded);
        for (QWidget *control : controls(setting)) {
            OwnFont::set(control, applied);
            setTextColor(control, font.textColor(), system);
            m_chosenText.removeAll(control);
            if (!system)
                m_chosenText.append(control);
        }
        break;
    }
    case DisplaySettings::WindowFont: {
        // Every control without a font of its own follows the window's.
        const SettingsFont &font = m_settings.all().font();
        m_window->setFont(AppliedFont::of(font, AppliedFont::WindowMaxPixels, &bounded));
        setTextColor(m_window, font.textColor(), ColorValue::isSystemColor(font.color()));
        break;
    }
    case DisplaySettings::QuranBackground:
    case DisplaySettings::BookBackground: {
        const QColor color =
            static_cast<const ColorSettings &>(m_settings.object(setting)).toQColor();
        for (QWidget *control : controls(setting))
            setBackground(control, color, !m_chosenText.contains(control));
        break;
    }
    }
    m_fontBounded = m_fontBounded || bounded;
}

void DisplaySettingsPage::ResumeBoxClick()
{
    try {
        ResumeSetting::save(ResumeBox->isChecked());
    } catch (const Error &) {
        // What is stored stays what the box shows.
        const QSignalBlocker quiet(ResumeBox);
        ResumeBox->setChecked(ResumeSetting::load());
        throw;
    }
}
