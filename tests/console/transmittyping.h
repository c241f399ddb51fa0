#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

// Types text into a widget key by key: CR as Return, BS as Backspace, anything outside ASCII as a
// key that carries just its character, as a keyboard layout would deliver it.
inline void TypeKeys(QWidget *widget, const QString &text)
{
    for (char32_t c : text.toUcs4()) {
        if (c == U'\r')
            QTest::keyClick(widget, Qt::Key_Return);
        else if (c == U'\b')
            QTest::keyClick(widget, Qt::Key_Backspace);
        else if (c < 0x80)
            QTest::keyClick(widget, char(c));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}
