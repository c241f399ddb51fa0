#pragma once

#include "color.h"

#include <QWidget>

// A panel drawn like a rack front plate: bevels and a screw head in each corner.
class TScrewPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(int BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int ScrewSize READ ScrewSize WRITE SetScrewSize)
    Q_PROPERTY(bool ShowScrews READ ShowScrews WRITE SetShowScrews)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    enum TBevelCut { bvNone, bvLowered, bvRaised };
    Q_ENUM(TBevelCut)

    explicit TScrewPanel(QWidget *parent = nullptr);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TColor HighlightColor() const { return m_highlight; }
    TColor ShadowColor() const { return m_shadow; }
    int BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(int cut);
    int BevelInner() const { return m_bevelInner; }
    void SetBevelInner(int cut);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    int Margin() const { return m_margin; }
    /// Ignored unless the screws still fit: below both width and height minus ScrewSize.
    void SetMargin(int margin);
    int ScrewSize() const { return m_screwSize; }
    /// Ignored unless below both width and height.
    void SetScrewSize(int size);
    bool ShowScrews() const { return m_showScrews; }
    void SetShowScrews(bool show);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    Qt::Alignment CaptionAlignment() const { return m_alignment; }
    void SetCaptionAlignment(Qt::Alignment alignment);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect DrawBevel(QPainter &painter, QRect rect, int cut) const;
    void DrawScrew(QPainter &painter, QPoint topLeft) const;

    TColor m_color = clBtnFace;
    TColor m_highlight = clWhite;
    TColor m_shadow = clGray;
    int m_bevelOuter = bvRaised;
    int m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    int m_margin = 2;
    int m_screwSize = 2;
    bool m_showScrews = true;
    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignCenter;
};
