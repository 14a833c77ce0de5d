#include "ui/main/Tmain.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "platform/Messages.h"
#include "ui/main/AboutPage.h"
#include "ui/main/IdleSteps.h"
#include "ui/main/TabControl.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QCloseEvent>
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
    , TabSheet3([this] { return place(2, new SearchPage(DataSource2, this)); })
    , TabSheet4([this] { return makeQuestionPage(); })
    , TabSheet5([this] { return makeDisplaySettingsPage(); })
    , TabSheet6([this] { return place(5, new AboutPage(DataSource1, this)); })
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
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    resize(799, 570);

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
    const QString captions[] = {
        QStringLiteral("قرآن"),          QStringLiteral("نهج البلاغه"),
        QStringLiteral("صفحه جستجو"),    QStringLiteral("سؤال از ما "),
        QStringLiteral("تنظيمات نمايش"), QStringLiteral("درباره نرم افزار")};
    for (int i = 0; i < 6; ++i) {
        auto *empty = new QWidget;
        empty->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        PageControl1->addTab(empty, captions[i]);
    }
    PageControl1->setCurrentIndex(0);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!m_selectingFromCode)
            Messages::guard([this] { PageControl1Change(); });
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);
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
    connect(page, &QuranPage::questionRequested, this, [this] { setActivePage(TabSheet4.get()); });
    if (DisplaySettingsPage *settings = TabSheet5.made())
        settings->attach(page);
    return page;
}

NahjPage *Tmain::makeNahjPage()
{
    auto *page = place(1, new NahjPage(DataSource3, this));
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
        TabSheet2.get()->prepareContentsTree();
        ADOConnection1->open();
        TabSheet2.get()->buildContentsTree(ADOQuery1, ADOQuery2);
        if (QuestionPage *question = TabSheet4.made())
            question->LoadSenderSettings();
        else
            m_sender = QuestionPage::readSender();
        TabSheet5.get()->presetAndRestore();
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
