#pragma once

#include <QTabWidget>

// A tab control whose tabs have one fixed size.
class TabControl : public QTabWidget {
    Q_OBJECT
public:
    TabControl(const QSize &tabSize, QWidget *parent = nullptr);
};
