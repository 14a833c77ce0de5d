#include "ui/nahj/NahjPage.h"

#include "data/DataSet.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>

NahjPage::NahjPage(QWidget *parent)
    : QWidget(parent)
    , TreeView1(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("TabSheet2"));
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setFixedWidth(144);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeView1);
    layout->addStretch(1);
}

void NahjPage::prepareContentsTree()
{
    TreeView1->setLayoutDirection(Qt::RightToLeft);
    TreeView1->clear();
}

void NahjPage::buildContentsTree(DataSet *book, DataSet *lookup)
{
    book->close();
    book->clearSql();
    book->addSql(QStringLiteral("SELECT Type AS Type,Name AS Name FROM Type"));
    book->open();
    const int sections = book->recordCount();
    for (int i = 1; i <= sections; ++i) {
        auto *section =
            new QTreeWidgetItem(TreeView1, QStringList(book->fieldText(QStringLiteral("Name"))));
        lookup->close();
        lookup->clearSql();
        lookup->addSql(QStringLiteral("SELECT * FROM Main"));
        lookup->addSql(QStringLiteral("WHERE Code = ") + book->fieldText(QStringLiteral("Type")));
        lookup->open();
        const int items = lookup->recordCount();
        for (int j = 1; j <= items; ++j) {
            new QTreeWidgetItem(section, QStringList(lookup->fieldText(QStringLiteral("Name2")) +
                                                     QStringLiteral("    ") +
                                                     lookup->fieldText(QStringLiteral("Top"))));
            lookup->next();
        }
        book->next();
    }
    book->close();
    lookup->close();
}
