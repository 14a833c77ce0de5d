#pragma once

#include <QSize>
#include <QTabWidget>

// A tab control whose tabs have one fixed size.
class TabControl : public QTabWidget {
    Q_OBJECT
public:
    TabControl(const QSize &tabSize, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;

private:
    // What the tab bar and the page area were last placed by.
    struct Placement {
        QSize size, tabBar;
        TabPosition position = North;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        bool operator==(const Placement &o) const
        {
            return size == o.size && tabBar == o.tabBar && position == o.position &&
                   direction == o.direction;
        }
    };
    Placement m_placed;
};
