#include "platform/FontChooserDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

enum StyleRow { Regular, Italic, Bold, BoldItalic };

struct Script {
    int charset;
    const char *name;
    QFontDatabase::WritingSystem writingSystem;
};

// The scripts a face can be chosen in, by character set.
const Script kScripts[] = {
    {0, "Western", QFontDatabase::Latin},
    {178, "Arabic", QFontDatabase::Arabic},
    {177, "Hebrew", QFontDatabase::Hebrew},
    {161, "Greek", QFontDatabase::Greek},
    {162, "Turkish", QFontDatabase::Latin},
    {186, "Baltic", QFontDatabase::Latin},
    {238, "Central European", QFontDatabase::Latin},
    {204, "Cyrillic", QFontDatabase::Cyrillic},
    {163, "Vietnamese", QFontDatabase::Vietnamese},
    {222, "Thai", QFontDatabase::Thai},
    {128, "Japanese", QFontDatabase::Japanese},
    {129, "Hangul", QFontDatabase::Korean},
    {134, "Chinese Simplified", QFontDatabase::SimplifiedChinese},
    {136, "Chinese Traditional", QFontDatabase::TraditionalChinese},
    {2, "Symbol", QFontDatabase::Symbol},
    {255, "OEM/DOS", QFontDatabase::Latin},
};

const Script *scriptOf(int charset)
{
    for (const Script &script : kScripts)
        if (script.charset == charset)
            return &script;
    return nullptr;
}

struct NamedColor {
    const char *name;
    QRgb rgb;
};

// The text colours of the colour box.
const NamedColor kColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

const int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// The size in points shown for a font height in pixels at 96 dots per inch. A positive
// height is the cell height, of which the character height is a share that depends on the
// face.
int pointsOf(const QString &face, int height)
{
    double pixels = std::abs(double(height));
    if (height > 0) {
        QFont probe(face);
        probe.setPixelSize(1000);
        const qreal cell = QFontMetricsF(probe).height();
        if (cell > 0)
            pixels = height * 1000.0 / cell;
    }
    return std::max(1, int(std::lround(pixels * 72.0 / 96.0)));
}

// Texts that Qt's own font dialog shows too: Qt's translation (Persian, when loaded) has them.
QString qtText(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
}

// A caption followed by a colon, as the labels beside the boxes read.
QString qtLabel(const char *text)
{
    return qtText("QFontDialog", text) + QLatin1Char(':');
}

} // namespace

FontChooserDialog::FontChooserDialog(const FontChooser::Font &preset, QWidget *parent)
    : QDialog(parent)
    , faceEdit(new QLineEdit(preset.face))
    , faceList(new QListWidget)
    , styleList(new QListWidget)
    , sizeBox(new QComboBox)
    , strikeOutBox(new QCheckBox(qtText("QFontDialog", "Stri&keout")))
    , underlineBox(new QCheckBox(qtText("QFontDialog", "&Underline")))
    , colorBox(new QComboBox)
    , sampleLabel(new QLabel)
    , scriptBox(new QComboBox)
    , buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel))
    , m_preset(preset)
{
    setObjectName(QStringLiteral("FontChooserDialog"));
    setWindowTitle(qtText("QFontDialog", "Select Font"));
    faceEdit->setObjectName(QStringLiteral("faceEdit"));
    faceList->setObjectName(QStringLiteral("faceList"));
    styleList->setObjectName(QStringLiteral("styleList"));
    sizeBox->setObjectName(QStringLiteral("sizeBox"));
    strikeOutBox->setObjectName(QStringLiteral("strikeOutBox"));
    underlineBox->setObjectName(QStringLiteral("underlineBox"));
    colorBox->setObjectName(QStringLiteral("colorBox"));
    sampleLabel->setObjectName(QStringLiteral("sampleLabel"));
    scriptBox->setObjectName(QStringLiteral("scriptBox"));

    // Face: any installed face, or one typed in.
    faceList->addItems(QFontDatabase::families());
    const QList<QListWidgetItem *> presetFace =
        faceList->findItems(preset.face, Qt::MatchFixedString);
    if (!presetFace.isEmpty())
        faceList->setCurrentItem(presetFace.first());

    // Style.
    styleList->addItems({qtText("QFontDatabase", "Normal"), qtText("QFontDatabase", "Italic"),
                         qtText("QFontDatabase", "Bold"), qtText("QFontDatabase", "Bold Italic")});
    const bool bold = preset.weight > FontChooser::RegularWeight;
    styleList->setCurrentRow(bold ? (preset.italic ? BoldItalic : Bold)
                                  : (preset.italic ? Italic : Regular));

    // Size in points, without limits.
    sizeBox->setEditable(true);
    sizeBox->setInsertPolicy(QComboBox::NoInsert);
    sizeBox->setValidator(new QIntValidator(1, 9999, sizeBox));
    for (const int size : kSizes)
        sizeBox->addItem(QString::number(size));
    m_presetSize = QString::number(pointsOf(preset.face, preset.height));
    sizeBox->setCurrentText(m_presetSize);

    // Effects.
    strikeOutBox->setChecked(preset.strikeOut);
    underlineBox->setChecked(preset.underline);
    int colorRow = -1;
    for (const NamedColor &named : kColors) {
        const QColor color = QColor::fromRgb(named.rgb);
        colorBox->addItem(swatch(color), tr(named.name), color);
        if (preset.color.isValid() && color.rgb() == preset.color.rgb())
            colorRow = colorBox->count() - 1;
    }
    if (colorRow < 0) {
        const QColor color = preset.color.isValid() ? preset.color : QColor(Qt::black);
        colorBox->addItem(swatch(color), tr("Custom"), color);
        colorRow = colorBox->count() - 1;
    }
    colorBox->setCurrentIndex(colorRow);

    fillScripts();

    auto *fontLabel = new QLabel(qtLabel("&Font"));
    fontLabel->setBuddy(faceEdit);
    auto *styleLabel = new QLabel(qtLabel("Font st&yle"));
    styleLabel->setBuddy(styleList);
    auto *sizeLabel = new QLabel(qtLabel("&Size"));
    sizeLabel->setBuddy(sizeBox);
    auto *colorLabel = new QLabel(tr("&Color:"));
    colorLabel->setBuddy(colorBox);
    auto *scriptLabel = new QLabel(qtLabel("Wr&iting System"));
    scriptLabel->setBuddy(scriptBox);

    auto *effects = new QGroupBox(qtText("QFontDialog", "Effects"));
    auto *effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(strikeOutBox);
    effectsLayout->addWidget(underlineBox);
    effectsLayout->addWidget(colorLabel);
    effectsLayout->addWidget(colorBox);
    effectsLayout->addStretch();

    auto *sample = new QGroupBox(qtText("QFontDialog", "Sample"));
    auto *sampleLayout = new QVBoxLayout(sample);
    sampleLabel->setAlignment(Qt::AlignCenter);
    sampleLabel->setMinimumSize(200, 60);
    sampleLayout->addWidget(sampleLabel, 1);
    sampleLayout->addWidget(scriptLabel);
    sampleLayout->addWidget(scriptBox);

    auto *grid = new QGridLayout(this);
    grid->addWidget(fontLabel, 0, 0);
    grid->addWidget(styleLabel, 0, 1);
    grid->addWidget(sizeLabel, 0, 2);
    grid->addWidget(faceEdit, 1, 0);
    grid->addWidget(faceList, 2, 0);
    grid->addWidget(styleList, 1, 1, 2, 1);
    grid->addWidget(sizeBox, 1, 2);
    grid->addWidget(effects, 3, 0);
    grid->addWidget(sample, 3, 1, 1, 2);
    grid->addWidget(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 1);

    connect(faceList, &QListWidget::currentTextChanged, this, [this](const QString &face) {
        if (!face.isEmpty() && faceEdit->text() != face)
            faceEdit->setText(face);
    });
    connect(faceEdit, &QLineEdit::textEdited, this, [this](const QString &face) {
        const QList<QListWidgetItem *> found = faceList->findItems(face, Qt::MatchFixedString);
        if (!found.isEmpty()) {
            const QSignalBlocker blocker(faceList);
            faceList->setCurrentItem(found.first());
        }
    });
    connect(faceEdit, &QLineEdit::textChanged, this, [this] {
        fillScripts();
        updateSample();
    });
    connect(styleList, &QListWidget::currentRowChanged, this, [this] { updateSample(); });
    connect(sizeBox, &QComboBox::currentTextChanged, this, [this] { updateSample(); });
    connect(strikeOutBox, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(underlineBox, &QCheckBox::toggled, this, [this] { updateSample(); });
    connect(colorBox, &QComboBox::activated, this, [this] {
        m_colorChanged = true;
        updateSample();
    });
    connect(scriptBox, &QComboBox::activated, this, [this] {
        m_scriptChanged = true;
        updateSample();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    updateSample();
}

// The scripts of the face shown (all of them for a face the platform does not know). The
// script chosen stays when the face has it; the preset's script is listed from the start.
void FontChooserDialog::fillScripts()
{
    const bool first = scriptBox->count() == 0;
    const int keep = first ? m_preset.charset : chosenCharset();
    const QList<QFontDatabase::WritingSystem> systems =
        QFontDatabase::writingSystems(faceEdit->text().trimmed());
    const QSignalBlocker blocker(scriptBox);
    scriptBox->clear();
    for (const Script &script : kScripts) {
        if ((first && script.charset == keep) || systems.isEmpty() ||
            systems.contains(script.writingSystem))
            scriptBox->addItem(tr(script.name), script.charset);
    }
    if (first && !scriptOf(keep))
        scriptBox->addItem(tr("Script %1").arg(keep), keep);
    scriptBox->setCurrentIndex(std::max(0, scriptBox->findData(keep)));
}

int FontChooserDialog::chosenPoints() const
{
    bool ok = false;
    const int points = sizeBox->currentText().trimmed().toInt(&ok);
    return ok && points > 0 ? points : pointsOf(m_preset.face, m_preset.height);
}

int FontChooserDialog::chosenCharset() const
{
    return scriptBox->currentIndex() >= 0 ? scriptBox->currentData().toInt() : m_preset.charset;
}

QFont FontChooserDialog::sampleFont() const
{
    const FontChooser::Answer chosen = answer();
    QFont font(chosen.font.face);
    // Any size may be chosen, but the sample stays at most 120 points (160 pixels) high: a
    // sample thousands of pixels high would make a dialog larger than any screen.
    const int pixels = int(std::lround(chosenPoints() * 96.0 / 72.0));
    font.setPixelSize(std::clamp(pixels, 1, 160));
    font.setBold(chosen.font.weight > FontChooser::RegularWeight);
    font.setItalic(chosen.font.italic);
    font.setUnderline(chosen.font.underline);
    font.setStrikeOut(chosen.font.strikeOut);
    return font;
}

void FontChooserDialog::updateSample()
{
    const Script *script = scriptOf(chosenCharset());
    QString text = QStringLiteral("AaBbYyZz");
    if (script && script->writingSystem != QFontDatabase::Latin)
        text = QFontDatabase::writingSystemSample(script->writingSystem);
    sampleLabel->setText(text);
    sampleLabel->setFont(sampleFont());
    QPalette palette = sampleLabel->palette();
    palette.setColor(QPalette::WindowText, colorBox->currentData().value<QColor>());
    sampleLabel->setPalette(palette);
}

FontChooser::Answer FontChooserDialog::answer() const
{
    FontChooser::Answer answer;
    FontChooser::Font &font = answer.font;
    const QString face = faceEdit->text().trimmed();
    font.face = face.isEmpty() ? m_preset.face : face;
    // An untouched size keeps the preset height exactly.
    font.height = sizeBox->currentText().trimmed() == m_presetSize
                      ? m_preset.height
                      : -int(std::lround(chosenPoints() * 96.0 / 72.0));
    const int style = styleList->currentRow();
    font.weight =
        style == Bold || style == BoldItalic ? FontChooser::BoldWeight : FontChooser::RegularWeight;
    font.italic = style == Italic || style == BoldItalic;
    font.underline = underlineBox->isChecked();
    font.strikeOut = strikeOutBox->isChecked();
    font.charset = chosenCharset();
    font.color = colorBox->currentData().value<QColor>();
    answer.colorChanged = m_colorChanged;
    answer.scriptChanged = m_scriptChanged;
    return answer;
}
