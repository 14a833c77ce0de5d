#include "app/Tfrm_main.h"

#include "app/PersianSupportProbe.h"
#include "app/Program.h"
#include "platform/Messages.h"
#include "ui/main/AboutPage.h"
#include "ui/main/ColourPair.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Theme.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QResource>
#include <QScreen>
#include <QShortcut>
#include <cstring>

const QString Tfrm_main::Caption = QStringLiteral("KEVRAN");

namespace {

// The launcher picture, decoded when the program was built (kevran-decode-picture): a header
// and the pixels, drawn straight from the program's own read-only data.
QPixmap launcherPicture()
{
    const QResource resource(QStringLiteral(":/launcher.pixels"));
    const uchar *data = resource.data();
    const qint64 size = resource.size();
    quint32 extent[2] = {0, 0};
    if (!data || resource.compressionAlgorithm() != QResource::NoCompression || size < 16 ||
        std::memcmp(data, "KVPIXEL1", 8) != 0)
        return QPixmap();
    std::memcpy(extent, data + 8, sizeof extent);
    const int width = int(extent[0]);
    const int height = int(extent[1]);
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 ||
        size != 16 + qint64(width) * height * 4)
        return QPixmap();
    const uchar *pixels = data + 16;
    QImage image(pixels, width, height, width * 4, QImage::Format_RGB32);
    // Pixels that are not on a 4-byte boundary are copied first.
    if (reinterpret_cast<quintptr>(pixels) % 4 != 0)
        image = image.copy();
    return QPixmap::fromImage(std::move(image));
}

} // namespace

Tfrm_main::Tfrm_main(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , Image1(new QLabel(this))
    , GroupBox1(new QGroupBox(this))
{
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(Caption);
    setFixedSize(734, 532);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    Theme::keepDay(this);

    // The picture is drawn at its own size from the top-left corner and clipped by the window.
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 734, 532);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute);
    const QPixmap picture = launcherPicture();
    Image1->setPixmap(picture);

    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(571, 288, 137, 225);
    GroupBox1->raise();

    AdvToolButton3 =
        addButton("AdvToolButton3", QStringLiteral("قرآن"), 25, &Tfrm_main::AdvToolButton3Click);
    AdvToolButton4 = addButton("AdvToolButton4", QStringLiteral("نهج البلاغه"), 50,
                               &Tfrm_main::AdvToolButton4Click);
    AdvToolButton7 =
        addButton("AdvToolButton7", QStringLiteral("جستجو"), 75, &Tfrm_main::AdvToolButton7Click);
    AdvToolButton1 = addButton("AdvToolButton1", QStringLiteral(" درباره نرم افزار"), 100,
                               &Tfrm_main::AdvToolButton1Click);
    AdvToolButton8 = addButton("AdvToolButton8", QStringLiteral("ارتباط با ما "), 125,
                               &Tfrm_main::AdvToolButton8Click);
    AdvToolButton2 = addButton("AdvToolButton2", QStringLiteral("تنظيمات"), 150,
                               &Tfrm_main::AdvToolButton2Click);
    AdvToolButton6 =
        addButton("AdvToolButton6", QStringLiteral("خروج"), 175, &Tfrm_main::AdvToolButton6Click);

    // The captions stand on the picture: they take the colour that reads on it there.
    if (!picture.isNull()) {
        const QImage behind = picture.toImage().copy(GroupBox1->geometry());
        ColourPair::setTextOn(
            GroupBox1,
            behind.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0));
    }
    // The keyboard: the first button has the focus, the arrows move it, Return presses the
    // button; Ctrl+Q is the exit button and F1 the about button.
    AdvToolButton3->setFocus(Qt::OtherFocusReason);
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, [this] { AdvToolButton6Click(); });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { Messages::guard([this] { AdvToolButton1Click(); }); });
}

void Tfrm_main::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) {
        focusNextPrevChild(event->key() == Qt::Key_Down);
        return;
    }
    QWidget::keyPressEvent(event);
}

FlatButton *Tfrm_main::addButton(const char *name, const QString &caption, int top,
                                 void (Tfrm_main::*handler)())
{
    auto *button = new FlatButton(QLatin1String(name), caption, QColor(199, 199, 202),
                                  QColor(210, 211, 216), GroupBox1);
    button->setGeometry(8, top, 120, 25);
    connect(button, &FlatButton::clicked, this,
            [this, handler] { Messages::guard([this, handler] { (this->*handler)(); }); });
    return button;
}

void Tfrm_main::FormCreate()
{
    Messages::guard([this] { PersianSupportProbe::run(this); });
}

void Tfrm_main::openPage(QWidget *page)
{
    hide();
    kevran::main->showMaximized();
    kevran::main->setActivePage(page);
}

void Tfrm_main::AdvToolButton3Click()
{
    openPage(kevran::main->TabSheet1.get());
}

void Tfrm_main::AdvToolButton4Click()
{
    openPage(kevran::main->TabSheet2.get());
}

void Tfrm_main::AdvToolButton7Click()
{
    openPage(kevran::main->TabSheet3.get());
}

void Tfrm_main::AdvToolButton1Click()
{
    openPage(kevran::main->TabSheet6.get());
}

void Tfrm_main::AdvToolButton8Click()
{
    openPage(kevran::main->TabSheet4.get());
    kevran::main->TabSheet4.get()->prepareForMessage();
}

void Tfrm_main::AdvToolButton2Click()
{
    openPage(kevran::main->TabSheet5.get());
}

void Tfrm_main::AdvToolButton6Click()
{
    close();
}

void Tfrm_main::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        if (const QScreen *screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    // Without a title bar some window managers leave it inactive: the keyboard reaches it at
    // once.
    activateWindow();
    QWidget::showEvent(event);
}

void Tfrm_main::closeEvent(QCloseEvent *event)
{
    event->accept();
    Program::requestTermination();
}
