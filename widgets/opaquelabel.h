#pragma once

#include <QLabel>
#include <QPixmap>
#include <QGlyphRun>
#include <QRawFont>

// A label whose caption changes often, such as a running count. An ordinary label is
// transparent, so each new caption makes Qt repaint whatever lies behind it, a whole group box
// with its frame; this one paints a kept picture of its parent's background under the text and
// is opaque, so only the label itself is repainted. The picture is taken again when the label or
// its parent changes size, place, palette or style. A plain one-line caption whose characters the
// font has is drawn glyph by glyph, without the text layout QLabel runs on every paint; anything
// else is drawn as QLabel draws it.
class TOpaqueLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TOpaqueLabel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void WatchParent();
    void ForgetBackground();

    bool DrawPlainCaption(QPainter &painter);

    bool PrepareCaption(const QString &caption);

    QPixmap m_background;
    QRawFont m_rawFont;
    QString m_captionText;
    QGlyphRun m_caption;
    QWidget *m_watchedParent = nullptr;
};
