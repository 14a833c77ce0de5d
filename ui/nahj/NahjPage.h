#pragma once

#include <QWidget>

class DataSet;
class QTreeWidget;

// The Nahj al-Balagha page: the contents tree of sections and items.
class NahjPage : public QWidget {
    Q_OBJECT
public:
    explicit NahjPage(QWidget *parent = nullptr);

    // Mirrors the contents tree right to left and removes all nodes.
    void prepareContentsTree();
    // Adds a node for every section and, under it, one for every item of that section, through
    // the book set and the book lookup set, and closes both. Errors propagate; the nodes added
    // until then stay.
    void buildContentsTree(DataSet *book, DataSet *lookup);

    QTreeWidget *TreeView1;
};
