#include "ui/main/Tmain.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "platform/Error.h"
#include "platform/Messages.h"
#include "reader/TextOpenings.h"
#include "settings/ResumeSetting.h"
#include "ui/main/AboutPage.h"
#include "ui/main/AccessibleNames.h"
#include "ui/main/IdleSteps.h"
#include "ui/main/MinimumSize.h"
#include "ui/main/PaneMenu.h"
#include "ui/main/ReadingOrder.h"
#include "ui/main/TabControl.h"
#include "ui/main/Theme.h"
#include "ui/nahj/NahjPage.h"
#include "ui/notes/NotesPage.h"
#include "ui/notes/ReaderData.h"
#include "ui/print/PrintCommands.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QAction>
#include <QCloseEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

const QString Tmain::Caption = QStringLiteral("ورتانس");

QFont Tmain::defaultFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

Tmain::Tmain(QWidget *parent)
    : QWidget(parent)
    , PageControl1(new TabControl(QSize(130, 30), this))
    , TabSheet1([this] { return makeQuranPage(); })
    , TabSheet2([this] { return makeNahjPage(); })
    , TabSheet3([this] {
        auto *page = place(2, new SearchPage(DataSource2, this));
        Printing->addTo(page->PopupMenu5);
        return page;
    })
    , TabSheet4([this] { return makeQuestionPage(); })
    , TabSheet5([this] { return makeDisplaySettingsPage(); })
    , TabSheet6([this] { return place(5, new AboutPage(DataSource1, this)); })
    , NotesSheet([this] { return makeNotesPage(); })
    , Reader(new ReaderData(this))
    , ADOConnection1(new Connection(this))
    , ADOQuery1(new DataSet(ADOConnection1, this))
    , ADOQuery2(new DataSet(ADOConnection1, this))
    , DataSource1(new DataSource(this))
    , DataSource2(new DataSource(this))
    , DataSource3(new DataSource(this))
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(Caption);
    setLayoutDirection(Qt::RightToLeft);
    setFont(defaultFont());
    // White shows only beside the page tabs, where no text is drawn; the pages stand on the
    // tab control's own background, with the desktop's text colour that goes with it.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    Theme::follow(this, [this] {
        Theme::current().paint(this, QPalette::Window, Theme::WindowBackground, Qt::white);
    });
    resize(799, 570);
    MinimumSize::keep(this, QSize(799, 570));

    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery2->setObjectName(QStringLiteral("ADOQuery2"));
    ADOQuery1->addSql(QStringLiteral("SELECT * FROM Main"));
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource3->setObjectName(QStringLiteral("DataSource3"));
    DataSource3->setDataSet(ADOQuery1);

    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    const QString captions[] = {QStringLiteral("قرآن"),
                                QStringLiteral("نهج البلاغه"),
                                QStringLiteral("صفحه جستجو"),
                                QStringLiteral("سؤال از ما "),
                                QStringLiteral("تنظيمات نمايش"),
                                QStringLiteral("درباره نرم افزار"),
                                NotesPage::Caption};
    for (int i = 0; i < 7; ++i) {
        auto *empty = new QWidget;
        empty->setObjectName(i < 6 ? QStringLiteral("TabSheet%1").arg(i + 1)
                                   : QStringLiteral("NotesPage"));
        PageControl1->addTab(empty, captions[i]);
    }
    PageControl1->setCurrentIndex(0);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        // What another program changed shows on the page the reader turns to.
        Reader->refreshIfChanged();
        if (!m_selectingFromCode)
            Messages::guard([this] { PageControl1Change(); });
    });
    // Ctrl+D bookmarks what the page in front shows, wherever the focus is in the window.
    auto *bookmark = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    bookmark->setObjectName(QStringLiteral("BookmarkShortcut"));
    connect(bookmark, &QShortcut::activated, this, [this] {
        QWidget *page = PageControl1->currentWidget();
        if (QuranPage *quran = TabSheet1.made(); quran && page == quran)
            quran->AddBookmark->trigger();
        else if (NahjPage *nahj = TabSheet2.made(); nahj && page == nahj)
            nahj->AddBookmark->trigger();
    });
    connect(DataSource1, &DataSource::currentChanged, this, [this] { recordQuranPlace(); });
    connect(DataSource1, &DataSource::reset, this, [this] { recordQuranPlace(); });
    connect(DataSource3, &DataSource::reset, this, [this] { recordNahjPlace(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);
    Printing = new PrintCommands(this);
    AccessibleNames::apply(this);

    // Ctrl+Q ends the program as closing the window does (the sender settings are saved); F1
    // brings the about page to the front.
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { Messages::guard([this] { setActivePage(TabSheet6.get()); }); });
}

Tmain::~Tmain()
{
    // The data sets go with the window's children, after this object has stopped being a
    // Tmain; what they signal then must not reach it.
    for (DataSource *source : {DataSource1, DataSource2, DataSource3})
        disconnect(source, nullptr, this, nullptr);
}

template <typename T> T *Tmain::place(int index, T *page)
{
    QWidget *empty = PageControl1->widget(index);
    const QString caption = PageControl1->tabText(index);
    const int current = PageControl1->currentIndex();
    {
        const QSignalBlocker quiet(PageControl1);
        PageControl1->removeTab(index);
        PageControl1->insertTab(index, page, caption);
        PageControl1->setCurrentIndex(current);
    }
    delete empty;
    AccessibleNames::apply(page);
    ReadingOrder::install(page);
    return page;
}

QuranPage *Tmain::makeQuranPage()
{
    // The verse grid lists every verse: the rows start-up left are read before it is made.
    Messages::guard([this] {
        if (DataSet *verses = DataSource1->dataSet())
            verses->fetchAll();
    });
    auto *page = place(0, new QuranPage(DataSource1, this));
    page->setReader(Reader);
    connect(page, &QuranPage::questionRequested, this, [this] { setActivePage(TabSheet4.get()); });
    Printing->addTo(page->PopupMenu3);
    Printing->addTo(page->PopupMenu6);
    if (DisplaySettingsPage *settings = TabSheet5.made())
        settings->attach(page);
    return page;
}

NahjPage *Tmain::makeNahjPage()
{
    auto *page = place(1, new NahjPage(DataSource3, this));
    page->setReader(Reader);
    Printing->addTo(page->PopupMenu7);
    if (DisplaySettingsPage *settings = TabSheet5.made())
        settings->attach(page);
    return page;
}

QuestionPage *Tmain::makeQuestionPage()
{
    auto *page = place(3, new QuestionPage(DataSource1, this));
    if (m_sender)
        page->showSender(*m_sender);
    return page;
}

DisplaySettingsPage *Tmain::makeDisplaySettingsPage()
{
    auto *page = place(4, new DisplaySettingsPage(DataSource1, this, this));
    if (QuranPage *quran = TabSheet1.made())
        page->attach(quran);
    if (NahjPage *nahj = TabSheet2.made())
        page->attach(nahj);
    return page;
}

NotesPage *Tmain::makeNotesPage()
{
    auto *page = place(6, new NotesPage(
                              Reader,
                              [this](TextOpenings &openings) {
                                  ADOConnection1->open();
                                  openings.load(ADOConnection1->handle());
                              },
                              this));
    connect(page, &NotesPage::openRequested, this,
            [this](const ReaderRef &ref) { Messages::guard([&] { openRef(ref); }); });
    return page;
}

void Tmain::openReaderData()
{
    if (!Reader->open())
        return;
    Messages::guard([this] {
        if (!ResumeSetting::load())
            return;
        const std::optional<ReaderRef> at = Reader->store().place(ReaderStore::Slot::Quran);
        if (at && at->isWellFormed() && DataSource1->dataSet())
            QuranPage::goToVerse(DataSource1->dataSet(), at->number, at->verse);
    });
}

void Tmain::openRef(const ReaderRef &ref)
{
    if (ref.isVerse()) {
        TabSheet1.get()->showVerse(ref.number, ref.verse);
        TabSheet1.get()->showSuraListTab();
        setActivePage(TabSheet1.get());
    } else if (ref.isNahj()) {
        TabSheet2.get()->showItem(ref.nahjCode(), ref.number);
        setActivePage(TabSheet2.get());
    }
}

void Tmain::recordQuranPlace()
{
    if (!Reader->isOpen())
        return;
    const DataSet *set = DataSource1->dataSet();
    if (!set || set->isEmpty() || set->currentRow() < 0)
        return;
    const int sura = set->fieldIndex(QStringLiteral("chapter"));
    const int verse = set->fieldIndex(QStringLiteral("vers"));
    if (sura < 0 || verse < 0)
        return;
    const ReaderRef ref = ReaderRef::ofVerse(set->text(set->currentRow(), sura).toInt(),
                                             set->text(set->currentRow(), verse).toInt());
    if (ref.isWellFormed())
        Reader->recordPlace(ReaderStore::Slot::Quran, ref);
}

void Tmain::recordNahjPlace()
{
    if (!Reader->isOpen())
        return;
    if (NahjPage *nahj = TabSheet2.made()) {
        if (const std::optional<ReaderRef> item = nahj->shownItem())
            Reader->recordPlace(ReaderStore::Slot::Nahj, *item);
    }
}

void Tmain::makePage(int index)
{
    switch (index) {
    case 0:
        TabSheet1.get();
        break;
    case 1:
        TabSheet2.get();
        break;
    case 2:
        TabSheet3.get();
        break;
    case 3:
        TabSheet4.get();
        break;
    case 4:
        TabSheet5.get();
        break;
    case 5:
        TabSheet6.get();
        break;
    case 6:
        NotesSheet.get();
        break;
    }
}

void Tmain::makePages()
{
    for (int i = 0; i < PageControl1->count(); ++i)
        makePage(i);
}

void Tmain::makePagesWhenIdle(QWidget *afterPaintOf, std::function<void()> first)
{
    new IdleSteps(
        afterPaintOf,
        [this, first = std::move(first), next = -1]() mutable {
            // One page a step, in tab order, each tried once: a page that fails to be made is
            // reported, and made again only when it is needed.
            const int index = next++;
            if (index < 0) {
                if (first)
                    first();
            } else {
                Messages::guard([this, index] { makePage(index); });
            }
            return next < PageControl1->count();
        },
        this);
}

void Tmain::setVisible(bool visible)
{
    if (visible)
        makePages();
    QWidget::setVisible(visible);
}

void Tmain::FormCreate()
{
    Messages::guard([this] {
        try {
            TabSheet2.get()->prepareContentsTree();
            ADOConnection1->open();
            TabSheet2.get()->buildContentsTree(ADOQuery1, ADOQuery2);
            if (QuestionPage *question = TabSheet4.made())
                question->LoadSenderSettings();
            else
                m_sender = QuestionPage::readSender();
            TabSheet5.get()->presetAndRestore();
        } catch (const Error &e) {
            m_creationError = e.message();
            throw;
        }
    });
}

void Tmain::FormClose()
{
    // A send still going on ends first (its QUIT goes out), so that nothing outlives the window.
    // A question page never made has sent nothing and changed no setting.
    if (QuestionPage *question = TabSheet4.made()) {
        question->endExchange();
        Messages::guard([question] { question->SaveSenderSettings(); });
    }
    if (m_applicationMainWindow)
        m_applicationMainWindow->close();
}

void Tmain::closeEvent(QCloseEvent *event)
{
    // Each note editor closes first: one whose text cannot be saved asks whether to keep the
    // text in a file, drop it, or stay; staying keeps the window open too.
    if (!Reader->closeEditors()) {
        event->ignore();
        return;
    }
    Reader->flushPlaces();
    FormClose();
    event->accept();
}

void Tmain::PageControl1Change()
{
    if (QuranPage *quran = TabSheet1.made())
        quran->showSuraListTab();
}

void Tmain::setActivePage(QWidget *page)
{
    m_selectingFromCode = true;
    PageControl1->setCurrentWidget(page);
    m_selectingFromCode = false;
}
