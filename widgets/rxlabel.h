#pragma once

#include "color.h"

#include <QLabel>

// A label whose text carries a drop shadow: drawn once in the shadow colour, offset, then in the
// font colour in its own place.
class TRxLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(uint ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(int ShadowSize READ ShadowSize WRITE SetShadowSize)
    Q_PROPERTY(int ShadowPos READ ShadowPos WRITE SetShadowPos)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
    Q_ENUM(TShadowPosition)

    explicit TRxLabel(QWidget *parent = nullptr);

    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor color);
    int ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(int size);
    int ShadowPos() const { return m_shadowPos; }
    void SetShadowPos(int position);
    bool Transparent() const { return !autoFillBackground(); }
    void SetTransparent(bool transparent);

    /// Where the shadow is drawn relative to the text.
    QPoint ShadowOffset() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TColor m_shadowColor = clBtnHighlight;
    int m_shadowSize = 1;
    int m_shadowPos = spLeftTop;
};
