#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <vector>

// Plays an animated GIF: each frame stays for its own delay; playback advances only while the
// control is visible and has a parent, and the clock runs on the event loop, never blocking it.
class TRxGIFAnimator : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Source READ Source WRITE SetSource)
    Q_PROPERTY(bool Animate READ Animate WRITE SetAnimate)
    Q_PROPERTY(bool Loop READ Loop WRITE SetLoop)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    static constexpr int kMinDelayMs = 50;
    static constexpr int kMaxDelayMs = 10000;

    explicit TRxGIFAnimator(QWidget *parent = nullptr);

    /// Loads the file (or ":/resource"); frame 0 becomes current. Unreadable data leaves no frames.
    QString Source() const { return m_source; }
    void SetSource(const QString &fileName);
    bool LoadFromData(const QByteArray &data);

    bool Animate() const { return m_animate; }
    void SetAnimate(bool animate);
    bool Loop() const { return m_loop; }
    void SetLoop(bool loop) { m_loop = loop; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);

    int FrameCount() const { return int(m_frames.size()); }
    int FrameIndex() const { return m_frameIndex; }
    void SetFrameIndex(int index);
    /// How long a frame stays: the file's delay limited to kMinDelayMs .. kMaxDelayMs.
    int FrameDelay(int index) const;
    QImage CurrentFrame() const;
    /// The clock's current period in milliseconds.
    int Interval() const { return m_timer.interval(); }

    /// One tick of the clock: shows the next frame when the control can be seen.
    void Tick();

    QSize sizeHint() const override;

signals:
    void FrameChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct TFrame
    {
        QImage image;
        int delayMs;
    };
    void UpdateTimer();

    QString m_source;
    std::vector<TFrame> m_frames;
    int m_frameIndex = 0;
    bool m_animate = false;
    bool m_loop = true;
    bool m_transparent = true;
    bool m_autoSize = true;
    QTimer m_timer;
};
