#pragma once

#include <QTest>
#include <QWidget>

// Types a text letter by letter as a Persian keyboard delivers it: key events that carry the
// letters (ZWNJ and Persian digits included), none of which has a key code of its own.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}
