#include "ui/main/Tmain.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "platform/Messages.h"
#include "ui/main/AboutPage.h"
#include "ui/main/TabControl.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QCloseEvent>
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

    TabSheet1 = new QuranPage(DataSource1);
    TabSheet2 = new NahjPage(DataSource3);
    TabSheet3 = new SearchPage(DataSource2);
    TabSheet4 = new QuestionPage(DataSource1);
    TabSheet5 = new DisplaySettingsPage(TabSheet1, TabSheet2, this);
    TabSheet6 = new AboutPage(DataSource1);

    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->addTab(TabSheet1, QStringLiteral("قرآن"));
    PageControl1->addTab(TabSheet2, QStringLiteral("نهج البلاغه"));
    PageControl1->addTab(TabSheet3, QStringLiteral("صفحه جستجو"));
    PageControl1->addTab(TabSheet4, QStringLiteral("سؤال از ما "));
    PageControl1->addTab(TabSheet5, QStringLiteral("تنظيمات نمايش"));
    PageControl1->addTab(TabSheet6, QStringLiteral("درباره نرم افزار"));
    PageControl1->setCurrentIndex(0);
    connect(TabSheet1, &QuranPage::questionRequested, this, [this] { setActivePage(TabSheet4); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!m_selectingFromCode)
            Messages::guard([this] { PageControl1Change(); });
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);
}

void Tmain::FormCreate()
{
    Messages::guard([this] {
        TabSheet2->prepareContentsTree();
        ADOConnection1->open();
        TabSheet2->buildContentsTree(ADOQuery1, ADOQuery2);
        TabSheet4->LoadSenderSettings();
        TabSheet5->presetAndRestore();
    });
}

void Tmain::FormClose()
{
    // A send still going on ends first (its QUIT goes out), so that nothing outlives the window.
    TabSheet4->endExchange();
    Messages::guard([this] { TabSheet4->SaveSenderSettings(); });
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
    TabSheet1->showSuraListTab();
}

void Tmain::setActivePage(QWidget *page)
{
    m_selectingFromCode = true;
    PageControl1->setCurrentWidget(page);
    m_selectingFromCode = false;
}
