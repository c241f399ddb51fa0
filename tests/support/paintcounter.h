#pragma once

#include <QEvent>
#include <QObject>

// Counts the paints a widget receives, to tell "drawn again" from "left alone". Install it as an
// event filter on the widget.
class TPaintCounter : public QObject
{
public:
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};
