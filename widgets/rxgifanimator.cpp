#include "rxgifanimator.h"

#include "gifdelays.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace {

// A broken or hostile file must not eat the memory: stop decoding past this many pixels in all.
constexpr qint64 kMaxTotalPixels = 64LL * 1024 * 1024;

} // namespace

TRxGIFAnimator::TRxGIFAnimator(QWidget *parent)
    : QWidget(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TRxGIFAnimator::Tick);
}

void TRxGIFAnimator::SetSource(const QString &fileName)
{
    QFile file(fileName);
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    LoadFromData(data);
    m_source = fileName;
}

bool TRxGIFAnimator::LoadFromData(const QByteArray &data)
{
    m_source.clear();
    m_frames.clear();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    // Timing comes from the file itself: Qt's reader turns a missing delay into 100 ms.
    const std::vector<int> delays = GifFrameDelays(data);
    qint64 pixels = 0;
    QImage image;
    // Qt's reader composes each frame on the whole logical screen (disposal, transparency).
    while (reader.read(&image)) {
        pixels += qint64(image.width()) * image.height();
        if (pixels > kMaxTotalPixels)
            break;
        const size_t index = m_frames.size();
        const int delayMs = index < delays.size() ? delays[index] * 10 : reader.nextImageDelay();
        m_frames.push_back({image, std::clamp(delayMs, kMinDelayMs, kMaxDelayMs)});
    }
    m_frameIndex = 0;
    if (m_autoSize && !m_frames.empty())
        resize(m_frames.front().image.size());
    updateGeometry();
    UpdateTimer();
    update();
    return !m_frames.empty();
}

void TRxGIFAnimator::SetAnimate(bool animate)
{
    m_animate = animate;
    UpdateTimer();
}

void TRxGIFAnimator::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TRxGIFAnimator::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize && !m_frames.empty())
        resize(m_frames.front().image.size());
}

void TRxGIFAnimator::SetFrameIndex(int index)
{
    if (index < 0 || index >= FrameCount())
        return;
    m_frameIndex = index;
    UpdateTimer();
    update();
}

int TRxGIFAnimator::FrameDelay(int index) const
{
    return index >= 0 && index < FrameCount() ? m_frames[size_t(index)].delayMs : 0;
}

QImage TRxGIFAnimator::CurrentFrame() const
{
    return m_frames.empty() ? QImage() : m_frames[size_t(m_frameIndex)].image;
}

void TRxGIFAnimator::UpdateTimer()
{
    if (m_animate && !m_frames.empty())
        m_timer.start(FrameDelay(m_frameIndex));
    else
        m_timer.stop();
}

void TRxGIFAnimator::Tick()
{
    if (!isVisible() || !parentWidget() || FrameCount() < 2)
        return;
    m_frameIndex = (m_frameIndex + 1) % FrameCount();
    update();
    if (m_frameIndex == 0 && !m_loop)
        m_animate = false;
    UpdateTimer();
    emit FrameChanged(m_frameIndex);
}

QSize TRxGIFAnimator::sizeHint() const
{
    return m_frames.empty() ? QSize(0, 0) : m_frames.front().image.size();
}

void TRxGIFAnimator::paintEvent(QPaintEvent *)
{
    if (m_frames.empty())
        return;
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), palette().color(backgroundRole()));
    painter.drawImage(0, 0, CurrentFrame());
}
