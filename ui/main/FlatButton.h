#pragma once

#include <QColor>
#include <QToolButton>

// A flat, text-only button that shows a hot colour under the pointer and a down colour while
// pressed; it draws itself and does not follow the desktop theme. It takes the focus from the
// keyboard, shows it with a dotted frame, and Return, Enter or Space press it.
class FlatButton : public QToolButton {
    Q_OBJECT
public:
    FlatButton(const QString &name, const QString &caption, const QColor &hot, const QColor &down,
               QWidget *parent = nullptr);

    // The hot and down colours from now on.
    void setColours(const QColor &hot, const QColor &down);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_hot;
    QColor m_down;
};
