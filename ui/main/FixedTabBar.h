#pragma once

#include <QHash>
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
    void changeEvent(QEvent *event) override;

private:
    QSize m_tabSize;
    // The captions' widths in the font at hand: the tabs are laid out again whenever one is
    // added, removed or made current, and a Persian caption is shaped anew at each measure.
    mutable QHash<QString, int> m_captionWidths;
};
