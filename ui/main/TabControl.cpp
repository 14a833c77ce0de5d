#include "ui/main/TabControl.h"

#include "ui/main/FixedTabBar.h"

TabControl::TabControl(const QSize &tabSize, QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new FixedTabBar(tabSize, this));
}
