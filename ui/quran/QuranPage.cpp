#include "ui/quran/QuranPage.h"

#include <QHBoxLayout>
#include <QTabWidget>

QuranPage::QuranPage(QWidget *parent)
    : QWidget(parent)
    , PageControl2(new QTabWidget(this))
    , TabSheet7(new QWidget)
    , TabSheet8(new QWidget)
{
    setObjectName(QStringLiteral("TabSheet1"));
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    TabSheet7->setObjectName(QStringLiteral("TabSheet7"));
    TabSheet8->setObjectName(QStringLiteral("TabSheet8"));
    PageControl2->setFixedWidth(183);
    PageControl2->setDocumentMode(true);
    PageControl2->addTab(TabSheet7, QStringLiteral("فهرست موضوعي"));
    PageControl2->addTab(TabSheet8, QStringLiteral("سوره ها"));
    PageControl2->setStyleSheet(QStringLiteral("QTabBar::tab { width: 87px; }"));
    showSuraListTab();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl2);
    layout->addStretch(1);
}

void QuranPage::showSuraListTab()
{
    PageControl2->setCurrentWidget(TabSheet8);
}
