#include "ui/quran/QuranPage.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/IntegerText.h"
#include "data/PersianDigits.h"
#include "data/SqlValue.h"
#include "data/SuraNames.h"
#include "data/VerseAddress.h"
#include "platform/Clipboard.h"
#include "platform/KeyboardLayout.h"
#include "platform/Messages.h"
#include "ui/main/ButtonIcons.h"
#include "ui/main/CaptionFit.h"
#include "ui/main/ColourPair.h"
#include "ui/main/DataGridModel.h"
#include "ui/main/DefaultButton.h"
#include "ui/main/FieldBinding.h"
#include "ui/main/FlatButton.h"
#include "ui/main/OwnFont.h"
#include "ui/main/PaneMenu.h"
#include "ui/main/PopupMenu.h"
#include "ui/main/RightToLeftText.h"
#include "ui/main/TabControl.h"
#include "ui/main/Theme.h"
#include "ui/main/ZoomKeys.h"
#include "ui/notes/NotePane.h"
#include "ui/notes/ReaderActions.h"
#include "ui/notes/ReaderData.h"
#include "ui/quran/VerseGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

const QString QuranPage::Basmala = QStringLiteral("بسم الله الرحمن الرحيم");

namespace {

const QString kQuranJoin = QStringLiteral("From num left join main on num.id=main.id1");
const QString kMainJoin = QStringLiteral("From Main left join Num on Main.id1=Num.id");

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *caption(const QString &text, QWidget *parent, int x, int y, int width, int height)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(x, y, width, height);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Marks an entry box as having the focus, or not. Only the background and the weight are set,
// so the box goes on following the window's font and text colour.
void showFocus(QLineEdit *box, bool focused)
{
    box->setPalette(QPalette());
    if (focused)
        ColourPair::setBase(box, QApplication::palette().color(QPalette::ToolTipBase),
                            QApplication::palette().color(QPalette::ToolTipText));
    QFont font;
    if (focused)
        font.setBold(true);
    box->setFont(font);
}

// Fills a widget's background, with the text on it in the colour that reads there. The boxes on
// the widget keep their own base colour.
void paint(QWidget *widget, const QColor &colour)
{
    ColourPair::setWindow(widget, colour);
}

// A list's background, behind its items, and the items' text.
void paintList(QAbstractScrollArea *list, const QColor &colour)
{
    ColourPair::setBase(list, colour);
    ColourPair::setWindow(list, colour);
    list->setAutoFillBackground(false);
}

// The topic buttons' handlers, in the order of the topic table.
constexpr void (QuranPage::*kTopicHandlers[])() = {
#define KEVRAN_TOPIC_HANDLER(button, code, caption) &QuranPage::button##Click,
    KEVRAN_TOPICS(KEVRAN_TOPIC_HANDLER)
#undef KEVRAN_TOPIC_HANDLER
};
static_assert(std::size(kTopicHandlers) == Topics::Count);

} // namespace

QuranPage::QuranPage(DataSource *verses, QWidget *parent)
    : QWidget(parent)
    , m_verses(verses)
{
    setObjectName(QStringLiteral("TabSheet1"));
    buildStatusPanel();
    buildControlStrip();
    buildSideTabs();
    buildViews();

    Panel2 = named(new QLabel(Basmala, this), "Panel2");
    CaptionFit::keepHeight(Panel2, 16);
    Panel2->setAlignment(Qt::AlignCenter);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);

    auto *side = new QVBoxLayout;
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(0);
    side->addWidget(buildGotoRow());
    side->addWidget(PageControl2, 1);
    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addLayout(side); // first in a right-to-left row: along the right edge
    middle->addWidget(Views, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel2);
    layout->addLayout(middle, 1);
    layout->addWidget(Panel3);
    layout->addWidget(Panel1);

    // The banner reads the status labels, so it follows the row after they do.
    connect(m_verses, &DataSource::currentChanged, this, [this] { Timer1Timer(); });
    connect(PageControl2, &QTabWidget::currentChanged, this, [this] { Timer3Timer(); });
    Timer1Timer();
    Timer3Timer();
    DefaultButton::install(this, BitBtn6);
    Theme::follow(this, [this] { followTheme(); });
    // The zoom keys move the size bar, which keeps to its range.
    new ZoomKeys(
        this, [this](int steps) { TrackBar3->setValue(TrackBar3->value() + steps); },
        [this] { TrackBar3->setValue(TrackBar3->minimum()); });
}

void QuranPage::buildStatusPanel()
{
    Panel1 = named(new QWidget(this), "Panel1");
    CaptionFit::keepHeight(Panel1, 41);
    paint(Panel1, QColor(0x80, 0xC4, 0xCF));

    GroupBox8 = named(new QGroupBox(QStringLiteral("محيط جستجو"), Panel1), "GroupBox8");
    GroupBox8->setGeometry(632, 0, 143, 39);
    ar = named(new QRadioButton(QStringLiteral("عربي"), GroupBox8), "ar");
    fa = named(new QRadioButton(QStringLiteral("ترجمه"), GroupBox8), "fa");
    ar->setGeometry(76, 15, 60, 20);
    fa->setGeometry(8, 15, 64, 20);
    ar->setChecked(true);

    Edit1 = named(new QLineEdit(Panel1), "Edit1");
    Edit1->setGeometry(509, 10, 105, 21);
    Edit1->setLayoutDirection(Qt::RightToLeft);
    BitBtn6 = named(new QPushButton(ButtonIcons::magnifier(), QStringLiteral("جستجو"), Panel1),
                    "BitBtn6");
    BitBtn6->setGeometry(400, 8, 99, 25);
    b = named(new QLineEdit(Panel1), "b");
    b->setGeometry(384, 10, 9, 21);
    b->hide();

    caption(QStringLiteral("سوره:"), Panel1, 345, 10, 32, 21);
    DBText1 = named(caption(QString(), Panel1, 312, 10, 33, 21), "DBText1");
    DBText2 = named(caption(QString(), Panel1, 224, 10, 89, 21), "DBText2");
    caption(QStringLiteral("آيه:"), Panel1, 201, 10, 24, 21);
    DBText3 = named(caption(QString(), Panel1, 174, 10, 25, 21), "DBText3");
    chapterLabel = caption(QStringLiteral("سوره:"), Panel1, 134, 10, 32, 21);
    chapter = named(new QLineEdit(Panel1), "chapter");
    chapter->setGeometry(88, 10, 41, 21);
    verseLabel = caption(QStringLiteral("آيه:"), Panel1, 59, 10, 24, 21);
    verse = named(new QLineEdit(Panel1), "verse");
    verse->setGeometry(8, 10, 41, 21);
    chapterLabel->setBuddy(chapter);
    verseLabel->setBuddy(verse);

    CaptionFit::install(Panel1, {DBText1, DBText2, DBText3});
    CaptionFit::anchorRight(Panel1, 783);

    FieldBinding::bind(DBText1, m_verses, QStringLiteral("chapter"));
    FieldBinding::bind(DBText2, m_verses, QStringLiteral("name"));
    FieldBinding::bind(DBText3, m_verses, QStringLiteral("vers"));

    for (QLineEdit *box : {chapter, verse, Edit1})
        box->installEventFilter(this);
    connect(chapter, &QLineEdit::textChanged, this,
            [this] { Messages::guard([this] { chapterChange(); }); });
    connect(verse, &QLineEdit::textChanged, this,
            [this] { Messages::guard([this] { verseChange(); }); });
    connect(b, &QLineEdit::textChanged, this, [this] { Messages::guard([this] { bChange(); }); });
    connect(BitBtn6, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { BitBtn6Click(); }); });
}

void QuranPage::buildControlStrip()
{
    Panel3 = named(new QWidget(this), "Panel3");
    CaptionFit::keepHeight(Panel3, 44);

    TrackBar3 = named(new QSlider(Qt::Horizontal, Panel3), "TrackBar3");
    TrackBar3->setGeometry(5, 12, 81, 20);
    TrackBar3->setRange(8, 16);
    TrackBar3->setPageStep(5);
    TrackBar3->setTickPosition(QSlider::NoTicks);
    TrackBar3->setValue(8);
    caption(QStringLiteral("اندازه:"), Panel3, 87, 12, 32, 20);

    BitBtn1 =
        named(new QPushButton(ButtonIcons::greenArrowLeft(), QStringLiteral("آيه قبل"), Panel3),
              "BitBtn1");
    BitBtn1->setGeometry(120, 5, 97, 33);
    BitBtn1->setLayoutDirection(Qt::RightToLeft);
    BitBtn2 =
        named(new QPushButton(ButtonIcons::greenArrowRight(), QStringLiteral("آيه بعد"), Panel3),
              "BitBtn2");
    BitBtn2->setGeometry(216, 5, 97, 33);
    // Right to left only to put the arrow at the right end, after the caption.
    BitBtn2->setLayoutDirection(Qt::RightToLeft);

    AdvToolButton1 =
        new FlatButton(QStringLiteral("AdvToolButton1"), QStringLiteral("سؤال در مورد اين آيه"),
                       QColor(0xC7, 0xC7, 0xCA), QColor(0xD2, 0xD3, 0xD8), Panel3);
    AdvToolButton1->setGeometry(320, 11, 113, 22);

    GroupBox2 = named(new QGroupBox(QStringLiteral("نام موضوع "), Panel3), "GroupBox2");
    GroupBox2->setGeometry(440, 0, 185, 42);
    Topic = named(caption(QString(), GroupBox2, 4, 16, 177, 20), "Topic");

    CheckBox1 =
        named(new QCheckBox(QStringLiteral("نمايش آيات بصورت متوالي"), Panel3), "CheckBox1");
    CheckBox1->setGeometry(624, 12, 145, 20);
    CaptionFit::install(Panel3, {Topic});
    CaptionFit::anchorRight(Panel3, 783);

    connect(TrackBar3, &QSlider::valueChanged, this, [this] { TrackBar3Change(); });
    // Toggled, not clicked: the accessibility toggle and a change from code switch it too.
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    connect(AdvToolButton1, &QToolButton::clicked, this, [this] { AdvToolButton1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { BitBtn2Click(); }); });
}

void QuranPage::buildSideTabs()
{
    PageControl2 = named(new TabControl(QSize(87, 22), this), "PageControl2");
    TabSheet7 = named(new QWidget, "TabSheet7");
    TabSheet8 = named(new QWidget, "TabSheet8");
    PageControl2->addTab(TabSheet7, QStringLiteral("فهرست موضوعي"));
    PageControl2->addTab(TabSheet8, QStringLiteral("سوره ها"));

    const QColor light3d = QApplication::palette().color(QPalette::Midlight);
    ListBox5 = named(new QListWidget(TabSheet8), "ListBox5");
    paintList(ListBox5, light3d);
    QFont listFont(QStringLiteral("Tahoma"));
    listFont.setPointSize(10);
    OwnFont::set(ListBox5, listFont);
    ListBox5->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox5->setUniformItemSizes(true);
    for (const QString &name : SuraNames::all()) {
        auto *item = new QListWidgetItem(name, ListBox5);
        item->setSizeHint(QSize(0, 16));
    }
    // A selection moved by the keyboard lists its sura at once; one made with the mouse when
    // the button is released, wherever the press was dragged to.
    ListBox5->viewport()->installEventFilter(this);
    connect(ListBox5, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_suraListMousePressed)
            m_suraListMoved = true;
        else
            Messages::guard([this] { ListBox5Click(); });
    });
    auto *suraLayout = new QVBoxLayout(TabSheet8);
    suraLayout->setContentsMargins(0, 0, 0, 0);
    suraLayout->addWidget(ListBox5);

    ScrollBox1 = named(new QScrollArea(TabSheet7), "ScrollBox1");
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setWidgetResizable(true);    // the buttons' background fills the tab
    ScrollBox1->setFocusPolicy(Qt::NoFocus); // the buttons take the focus, and it scrolls to them
    m_topicButtons = new QWidget;
    paint(m_topicButtons, light3d);
    for (int i = 0; i < Topics::Count; ++i) {
        const Topics::Topic &topic = Topics::begin()[i];
        auto *button =
            new FlatButton(QLatin1String(topic.button), QString::fromUtf8(topic.caption),
                           QColor(0xC7, 0xC7, 0xCA), QColor(0xEE, 0xE8, 0xBB), m_topicButtons);
        button->setLayoutDirection(Qt::RightToLeft);
        connect(button, &QToolButton::clicked, this, [this, handler = kTopicHandlers[i]] {
            Messages::guard([this, handler] { (this->*handler)(); });
        });
    }
    ScrollBox1->setWidget(m_topicButtons);
    // The side tabs hear of a font change after everything on them.
    PageControl2->installEventFilter(this);
    fitSideTabs();
    paint(ScrollBox1, light3d);
    auto *topicLayout = new QVBoxLayout(TabSheet7);
    topicLayout->setContentsMargins(0, 0, 0, 0);
    topicLayout->addWidget(ScrollBox1);

    showSuraListTab();
}

void QuranPage::buildViews()
{
    Views = named(new QStackedWidget(this), "Views");
    Panes = named(new QWidget, "Panes");
    DBMemo1 = named(new NotePane(Panes), "DBMemo1");
    DBMemo2 = named(new NotePane(Panes), "DBMemo2");
    for (QPlainTextEdit *pane : {DBMemo1, DBMemo2}) {
        pane->setReadOnly(true);
        pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // A verse longer than the pane shows a scroll bar.
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // The caret moves through the text from the keyboard, as screen readers read it.
        pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        RightToLeftText::apply(pane);
    }
    DBMemo1->setFixedHeight(240);
    FieldBinding::bind(DBMemo1, m_verses, QStringLiteral("Arabic"));
    FieldBinding::bind(DBMemo2, m_verses, QStringLiteral("English"));
    auto *panes = new QVBoxLayout(Panes);
    panes->setContentsMargins(0, 0, 0, 0);
    panes->setSpacing(0);
    panes->addWidget(DBMemo1);
    panes->addWidget(DBMemo2, 1);

    DbAltGrid3 = named(new VerseGrid(m_verses), "DbAltGrid3");
    PopupMenu3 = named(new PopupMenu(this), "PopupMenu3");
    Copy2 = named(PopupMenu3->addAction(QStringLiteral("کپي از متن عربي")), "Copy2");
    Copy2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Copy2->setShortcutContext(Qt::WidgetShortcut);
    MoreComent1 = named(PopupMenu3->addAction(QStringLiteral("کپي از ترجمه")), "MoreComent1");
    DbAltGrid3->addAction(Copy2);
    DbAltGrid3->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DbAltGrid3, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu3->popup(DbAltGrid3->viewport()->mapToGlobal(at));
    });
    connect(Copy2, &QAction::triggered, this,
            [this] { Messages::guard([this] { Copy2Click(); }); });
    connect(MoreComent1, &QAction::triggered, this,
            [this] { Messages::guard([this] { MoreComent1Click(); }); });
    CopyWithReference =
        named(PopupMenu3->addAction(QStringLiteral("کپي با نشاني")), "CopyWithReference");
    connect(CopyWithReference, &QAction::triggered, this,
            [this] { Messages::guard([this] { CopyWithReferenceClick(); }); });

    // The panes' own menu: the ordinary copy of the selection, and the verse with its reference.
    PopupMenu6 = named(new PaneMenu(
                           QStringLiteral("کپي آيه با نشاني"),
                           [this](QPlainTextEdit *) { CopyVerseWithReferenceClick(); }, this),
                       "PopupMenu6");
    CopyPaneText = named(PopupMenu6->copyAction(), "CopyPaneText");
    CopyVerseWithReference = named(PopupMenu6->commandAction(), "CopyVerseWithReference");
    PopupMenu6->attach(DBMemo1);
    PopupMenu6->attach(DBMemo2);

    // The reader's own commands, in the grid's and the panes' menus.
    const ReaderActions reader = ReaderActions::install(
        this, {PopupMenu3, PopupMenu6}, {DBMemo1, DBMemo2}, [this] { AddBookmarkClick(); },
        [this] { EditNoteClick(); });
    AddBookmark = reader.addBookmark;
    EditNote = reader.editNote;

    // The panes lie over the grid; hiding them uncovers it.
    Views->addWidget(DbAltGrid3);
    Views->addWidget(Panes);
    Views->setCurrentWidget(Panes);
}

QWidget *QuranPage::buildGotoRow()
{
    auto *row = named(new QWidget(this), "GotoRow");
    GotoLabel = named(new QLabel(QStringLiteral("برو به آيه:"), row), "GotoLabel");
    GotoBox = named(new QLineEdit(row), "GotoBox");
    GotoBox->setPlaceholderText(QStringLiteral("بقره ۲۵۵"));
    GotoBox->setToolTip(QStringLiteral(
        "سوره و آيه را بنويسيد و Enter را بزنيد: «بقره ۲۵۵»، «البقره ۲۵۵» يا «۲:۲۵۵»"));
    GotoLabel->setBuddy(GotoBox);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(GotoLabel);
    layout->addWidget(GotoBox, 1);
    GotoBox->installEventFilter(this);
    return row;
}

void QuranPage::fitSideTabs()
{
    // The topic buttons are 140 wide, 22 high and 3 apart, or as wide and high as the longest
    // caption needs; the side tabs widen with them and with their own captions.
    const QList<FlatButton *> buttons = m_topicButtons->findChildren<FlatButton *>();
    QSize size(140, 22);
    for (const FlatButton *button : buttons)
        size = size.expandedTo(button->sizeHint());
    int top = 0;
    for (FlatButton *button : buttons) {
        button->setGeometry(7, top, size.width(), size.height());
        top += size.height() + 3;
    }
    m_topicButtons->setMinimumSize(size.width() + 10, top - 3);
    const int scrollBar = ScrollBox1->verticalScrollBar()->sizeHint().width();
    ScrollBox1->setMinimumWidth(
        std::max(175, m_topicButtons->minimumWidth() + scrollBar + 2 * ScrollBox1->frameWidth()));
    const QTabBar *tabs = PageControl2->tabBar();
    PageControl2->setFixedWidth(
        std::max({183, ScrollBox1->minimumWidth() + 8, tabs->sizeHint().width() + 4}));
}

void QuranPage::followTheme()
{
    Theme &theme = Theme::current();
    theme.paint(Panel1, QPalette::Window, Theme::StatusPanel, QColor(0x80, 0xC4, 0xCF));
    const QColor light3d = theme.palette(Theme::Day).color(QPalette::Midlight);
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        theme.paint(ListBox5, role, Theme::SideList, light3d);
    theme.paint(m_topicButtons, QPalette::Window, Theme::SideList, light3d);
    theme.paint(ScrollBox1, QPalette::Window, Theme::SideList, light3d);
    // The views that keep a font of their own keep its text colour too.
    for (QWidget *view : {static_cast<QWidget *>(ListBox5), static_cast<QWidget *>(DBMemo1),
                          static_cast<QWidget *>(DBMemo2), static_cast<QWidget *>(DbAltGrid3),
                          static_cast<QWidget *>(DbAltGrid3->horizontalHeader()),
                          static_cast<QWidget *>(DbAltGrid3->verticalHeader())})
        theme.paintText(view);
    const QColor hot = theme.color(Theme::HotButton, QColor(0xC7, 0xC7, 0xCA));
    for (FlatButton *button : m_topicButtons->findChildren<FlatButton *>())
        button->setColours(hot, theme.color(Theme::DownButton, QColor(0xEE, 0xE8, 0xBB)));
    AdvToolButton1->setColours(hot, theme.color(Theme::DownButton, QColor(0xD2, 0xD3, 0xD8)));
}

DataSet *QuranPage::verses() const
{
    return m_verses->boundSet();
}

void QuranPage::showSuraListTab()
{
    PageControl2->setCurrentWidget(TabSheet8);
}

// Display.

void QuranPage::TrackBar3Change()
{
    // The column titles keep the font they have.
    OwnFont::set(DbAltGrid3->horizontalHeader(), DbAltGrid3->horizontalHeader()->font());
    OwnFont::set(DbAltGrid3->verticalHeader(), DbAltGrid3->verticalHeader()->font());
    for (QWidget *view : {static_cast<QWidget *>(DbAltGrid3), static_cast<QWidget *>(DBMemo1),
                          static_cast<QWidget *>(DBMemo2)})
        OwnFont::setPointSize(view, TrackBar3->value());
}

void QuranPage::CheckBox1Click()
{
    Views->setCurrentWidget(CheckBox1->isChecked() ? static_cast<QWidget *>(DbAltGrid3) : Panes);
}

void QuranPage::AdvToolButton1Click()
{
    showSuraListTab();
    emit questionRequested();
}

void QuranPage::Timer1Timer()
{
    QString banner;
    if (DBText1->text() != QLatin1String("9") && DBText3->text() == QLatin1String("1"))
        banner = Basmala;
    if (Panel2->text() != banner)
        Panel2->setText(banner);
}

void QuranPage::Timer3Timer()
{
    GroupBox2->setVisible(PageControl2->currentWidget() != TabSheet8);
}

void QuranPage::copyColumn(const QString &column)
{
    // One value a line, in the order the rows stand in the set; Linux ends lines with LF. The
    // values are read in place, and the set then moves once, to the last row copied.
    DataSet *set = verses();
    const QList<int> rows = DbAltGrid3->selectedRows();
    if (rows.isEmpty())
        return;
    const int field = set->requiredField(column);
    QString text;
    for (const int row : rows)
        text += set->text(row, field) + QLatin1Char('\n');
    set->gotoBookmark(rows.last());
    Clipboard::current().setText(text);
}

void QuranPage::Copy2Click()
{
    copyColumn(QStringLiteral("Arabic"));
}

void QuranPage::MoreComent1Click()
{
    copyColumn(QStringLiteral("English"));
}

QString QuranPage::verseReference(int sura, int verse)
{
    return QStringLiteral("(سوره %1، آيه %2)")
        .arg(SuraNames::name(sura).trimmed(), PersianDigits::number(verse));
}

QString QuranPage::verseWithReference(int row) const
{
    const DataSet *set = verses();
    int columns[4];
    const char *names[4] = {"Arabic", "English", "chapter", "vers"};
    for (int i = 0; i < 4; ++i)
        columns[i] = set->requiredField(QLatin1String(names[i]));
    return set->text(row, columns[0]) + QLatin1Char('\n') + set->text(row, columns[1]) +
           QLatin1Char('\n') +
           verseReference(set->text(row, columns[2]).toInt(), set->text(row, columns[3]).toInt());
}

void QuranPage::CopyWithReferenceClick()
{
    DataSet *set = verses();
    const QList<int> rows = DbAltGrid3->selectedRows();
    if (rows.isEmpty())
        return;
    QStringList copied;
    for (const int row : rows)
        copied.append(verseWithReference(row));
    set->gotoBookmark(rows.last());
    Clipboard::current().setText(copied.join(QStringLiteral("\n\n")));
}

void QuranPage::CopyVerseWithReferenceClick()
{
    const DataSet *set = verses();
    if (set->isEmpty())
        return;
    Clipboard::current().setText(verseWithReference(set->currentRow()));
}

// Navigation.

void QuranPage::ListBox5Click()
{
    const QList<QListWidgetItem *> selected = ListBox5->selectedItems();
    if (selected.isEmpty())
        return;
    const int sura = ListBox5->row(selected.first()) + 1;
    verses()->rebuild(
        {QStringLiteral("SELECT * "), kQuranJoin,
         QStringLiteral("WHERE (chapter = ") + QString::number(sura) + QStringLiteral(") ")});
}

void QuranPage::chapterChange()
{
    const QString typed = chapter->text();
    if (IntegerText::toInt(typed) > SuraNames::Count)
        Messages::showMessage(QStringLiteral("شماره سوره غير معتبر است "), this);
    verses()->rebuild({QStringLiteral("SELECT * "), kMainJoin,
                       QStringLiteral("WHERE (chapter like '") + SqlValue::insideQuotes(typed) +
                           QStringLiteral("') ")});
}

void QuranPage::verseChange()
{
    DataSet *set = verses();
    // A number refused leaves the set closed on the statement's first lines.
    set->setSql({QStringLiteral("SELECT * "), kMainJoin});
    set->rebuild(set->sql() +
                 QStringList{QStringLiteral("WHERE (chapter = ") +
                             SqlValue::integer(chapter->text()) + QStringLiteral(") AND (vers = ") +
                             SqlValue::integer(verse->text()) + QStringLiteral(") ")});
    if (DBMemo2->toPlainText().isEmpty())
        Messages::showMessage(QStringLiteral("اين آيه يافت نشد"), this);
}

void QuranPage::chapterEnter()
{
    KeyboardLayout::current().activate(KeyboardLayout::Persian);
    showFocus(chapter, true);
}

void QuranPage::chapterExit()
{
    showFocus(chapter, false);
}

void QuranPage::chapterClick()
{
    chapter->selectAll();
}

void QuranPage::verseEnter()
{
    showFocus(verse, true);
}

void QuranPage::verseExit()
{
    showFocus(verse, false);
}

void QuranPage::verseClick()
{
    verse->selectAll();
    if (chapter->text().isEmpty()) {
        Messages::showMessage(QStringLiteral("اول شماره سوره مورد نظر را وارد نماييد"), this);
        chapter->setFocus(Qt::OtherFocusReason);
    }
}

void QuranPage::BitBtn1Click()
{
    verses()->prior();
}

void QuranPage::BitBtn2Click()
{
    verses()->next();
}

void QuranPage::chapterReturn()
{
    // The sura is listed as it is typed; Enter goes on to the verse, or to the verse box.
    if (verse->text().trimmed().isEmpty())
        verse->setFocus(Qt::TabFocusReason);
    else
        verseChange();
}

void QuranPage::verseReturn()
{
    if (chapter->text().trimmed().isEmpty())
        verseClick();
    else if (!verse->text().trimmed().isEmpty())
        verseChange();
}

void QuranPage::GotoBoxReturn()
{
    const QString typed = GotoBox->text();
    const std::optional<VerseAddress> address = VerseAddress::parse(typed);
    if (!address) {
        // The text stays in the box for the reader to mend, and the page as it was.
        Messages::showMessage(VerseAddress::problem(typed), this);
        GotoBox->selectAll();
        return;
    }
    showVerse(address->sura, address->verse);
}

// Topical index.

void QuranPage::topicButtonClick(const char *button)
{
    const Topics::Topic *topic = Topics::find(button);
    const QString code = QLatin1String(topic->code);
    if (b->text() == code)
        bChange(); // a repeated click lists the topic again
    else
        b->setText(code);
    Topic->setText(QString::fromUtf8(topic->caption));
}

void QuranPage::bChange()
{
    verses()->rebuild({QStringLiteral("SELECT * "),
                       QStringLiteral("From main left join num on main.id1=num.id"),
                       QStringLiteral("WHERE (sub like '%") + SqlValue::insideQuotes(b->text()) +
                           QStringLiteral("%') ")});
}

// Quick search.

void QuranPage::BitBtn6Click()
{
    const QString typed = Edit1->text();
    if (!ar->isChecked() && !fa->isChecked())
        return;
    const QString column = ar->isChecked() ? QStringLiteral("search1") : QStringLiteral("English");
    verses()->rebuild({QStringLiteral("SELECT * "), kQuranJoin,
                       QStringLiteral("WHERE ( ") + column + QStringLiteral(" like '%") +
                           SqlValue::insideQuotes(typed) + QStringLiteral("%') ")});
    if (typed.isEmpty())
        Messages::showMessage(QStringLiteral("کلمه اي براي جستجو بنويسيد"), this);
    else if (DBMemo2->toPlainText().isEmpty())
        Messages::showMessage(QStringLiteral("چيزي يافت نشد "), this);
    else
        Messages::showMessage(
            QString::number(verses()->recordCount()) + QStringLiteral("مورد نتيجه داشت"), this);
}

void QuranPage::Edit1Enter()
{
    KeyboardLayout::current().activate(KeyboardLayout::Persian);
    showFocus(Edit1, true);
}

void QuranPage::Edit1Exit()
{
    showFocus(Edit1, false);
}

// Events.

bool QuranPage::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == PageControl2) {
        if (type == QEvent::FontChange)
            fitSideTabs();
        return false;
    }
    if (watched == ListBox5->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            m_suraListMousePressed = true;
            m_suraListMoved = false;
        } else if (type == QEvent::MouseButtonRelease && m_suraListMousePressed) {
            // A click on an item lists it again, the one already selected included; a drag
            // off the items lists the item it left highlighted.
            m_suraListMousePressed = false;
            const auto *release = static_cast<QMouseEvent *>(event);
            if (m_suraListMoved || ListBox5->indexAt(release->position().toPoint()).isValid())
                Messages::guard([this] { ListBox5Click(); });
        }
        return false;
    }
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        using Handler = void (QuranPage::*)();
        const Handler handler = watched == chapter   ? &QuranPage::chapterReturn
                                : watched == verse   ? &QuranPage::verseReturn
                                : watched == GotoBox ? &QuranPage::GotoBoxReturn
                                                     : nullptr;
        if (!handler)
            return false; // the quick search box leaves Enter to the default button
        Messages::guard([this, handler] { (this->*handler)(); });
        return true;
    }
    if (type != QEvent::FocusIn && type != QEvent::FocusOut && type != QEvent::MouseButtonRelease)
        return false;
    using Handler = void (QuranPage::*)();
    struct Box {
        QObject *box;
        Handler enter, exit, click;
    };
    const Box boxes[] = {
        {chapter, &QuranPage::chapterEnter, &QuranPage::chapterExit, &QuranPage::chapterClick},
        {verse, &QuranPage::verseEnter, &QuranPage::verseExit, &QuranPage::verseClick},
        {Edit1, &QuranPage::Edit1Enter, &QuranPage::Edit1Exit, nullptr},
    };
    for (const Box &box : boxes) {
        if (watched != box.box)
            continue;
        const Handler handler = type == QEvent::FocusIn    ? box.enter
                                : type == QEvent::FocusOut ? box.exit
                                                           : box.click;
        if (handler)
            Messages::guard([this, handler] { (this->*handler)(); });
    }
    return false;
}

void QuranPage::setReader(ReaderData *reader)
{
    m_reader = reader;
    AddBookmark->setVisible(reader != nullptr);
    EditNote->setVisible(reader != nullptr);
    if (!reader)
        return;
    DbAltGrid3->dataModel()->setRowMark([this](int row) {
        const DataSet *set = m_verses->dataSet();
        if (!set || !m_reader->isOpen() || row < 0 || row >= set->recordCount())
            return QString();
        const int suraColumn = set->fieldIndex(QStringLiteral("chapter"));
        const int verseColumn = set->fieldIndex(QStringLiteral("vers"));
        if (suraColumn < 0 || verseColumn < 0)
            return QString();
        const ReaderRef ref = ReaderRef::ofVerse(set->text(row, suraColumn).toInt(),
                                                 set->text(row, verseColumn).toInt());
        return m_reader->hasNote(ref) ? QStringLiteral("✎") : QString();
    });
    connect(reader, &ReaderData::notesChanged, this, [this] {
        DbAltGrid3->dataModel()->marksChanged();
        showNoteMarks();
    });
    connect(m_verses, &DataSource::currentChanged, this, [this] { showNoteMarks(); });
    connect(m_verses, &DataSource::reset, this, [this] { showNoteMarks(); });
    showNoteMarks();
}

void QuranPage::showNoteMarks()
{
    const std::optional<ReaderRef> at = currentVerse();
    const bool noted = m_reader && m_reader->isOpen() && at && m_reader->hasNote(*at);
    DBMemo1->setNoted(noted);
    DBMemo2->setNoted(noted);
}

std::optional<ReaderRef> QuranPage::currentVerse() const
{
    const DataSet *set = m_verses->dataSet();
    if (!set || set->isEmpty() || set->currentRow() < 0)
        return std::nullopt;
    const int suraColumn = set->fieldIndex(QStringLiteral("chapter"));
    const int verseColumn = set->fieldIndex(QStringLiteral("vers"));
    if (suraColumn < 0 || verseColumn < 0)
        return std::nullopt;
    const ReaderRef ref = ReaderRef::ofVerse(set->text(set->currentRow(), suraColumn).toInt(),
                                             set->text(set->currentRow(), verseColumn).toInt());
    return ref.isWellFormed() ? std::optional<ReaderRef>(ref) : std::nullopt;
}

std::vector<ReaderRef> QuranPage::chosenVerses() const
{
    std::vector<ReaderRef> refs;
    const DataSet *set = m_verses->dataSet();
    if (set && !set->isEmpty() && Views->currentWidget() == DbAltGrid3) {
        const int suraColumn = set->fieldIndex(QStringLiteral("chapter"));
        const int verseColumn = set->fieldIndex(QStringLiteral("vers"));
        for (const int row : DbAltGrid3->selectedRows()) {
            const ReaderRef ref = ReaderRef::ofVerse(set->text(row, suraColumn).toInt(),
                                                     set->text(row, verseColumn).toInt());
            if (suraColumn >= 0 && verseColumn >= 0 && ref.isWellFormed())
                refs.push_back(ref);
        }
    }
    if (refs.empty()) {
        if (const std::optional<ReaderRef> at = currentVerse())
            refs.push_back(*at);
    }
    return refs;
}

void QuranPage::AddBookmarkClick()
{
    if (!m_reader)
        return;
    const std::vector<ReaderRef> refs = chosenVerses();
    if (!refs.empty())
        m_reader->addBookmarks(refs);
}

void QuranPage::EditNoteClick()
{
    if (!m_reader)
        return;
    if (const std::optional<ReaderRef> at = currentVerse())
        m_reader->editNote(*at, window());
}

void QuranPage::goToVerse(DataSet *set, int sura, int number)
{
    set->rebuild(
        {QStringLiteral("SELECT * "), kQuranJoin,
         QStringLiteral("WHERE (chapter = ") + QString::number(sura) + QStringLiteral(") ")});
    const int column = set->fieldIndex(QStringLiteral("vers"));
    const int rows = set->recordCount();
    // The verses stand in order: the verse's row is found at once, checked all the same.
    int row = std::clamp(number - 1, 0, std::max(rows - 1, 0));
    if (rows > 0 && column >= 0 && set->text(row, column).toInt() != number) {
        for (int r = 0; r < rows; ++r) {
            if (set->text(r, column).toInt() == number) {
                row = r;
                break;
            }
        }
    }
    if (rows > 0)
        set->gotoBookmark(row);
}

void QuranPage::showVerse(int sura, int number)
{
    goToVerse(verses(), sura, number);
    const QSignalBlocker quiet(ListBox5);
    ListBox5->setCurrentRow(sura - 1);
}
