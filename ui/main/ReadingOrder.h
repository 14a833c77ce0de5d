#pragma once

#include <QList>
#include <QObject>

class QWidget;

// Keeps the Tab key's way through a page in the order a right-to-left page is read: from the
// top right to the bottom left. A control comes before another that stands wholly below it, and
// before one beside it further left; a column at the right is read to its end before the
// controls to its left. Controls not shown (another tab's, a scrolled list's) are placed where
// the part of the page that holds them stands.
class ReadingOrder : public QObject {
    Q_OBJECT
public:
    // Orders the page now and whenever it is shown or resized; Tab leaves its multi-line boxes.
    static void install(QWidget *page);
    // The page's controls that take the focus with Tab, in reading order.
    static QList<QWidget *> order(QWidget *page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ReadingOrder(QWidget *page);
    static void apply(QWidget *page);
};
