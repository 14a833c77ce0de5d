#pragma once

#include <QSize>
#include <QTabBar>

// A tab bar whose tabs all have one size, unless a caption needs more width.
class FixedTabBar : public QTabBar {
    Q_OBJECT
public:
    FixedTabBar(const QSize &tabSize, QWidget *parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    QSize m_tabSize;
};
