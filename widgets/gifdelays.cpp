#include "gifdelays.h"

namespace {

constexpr unsigned char kExtension = 0x21;
constexpr unsigned char kImage = 0x2C;
constexpr unsigned char kGraphicControl = 0xF9;

class TGifScanner
{
public:
    explicit TGifScanner(const QByteArray &data) : m_data(data) {}

    std::vector<int> Delays()
    {
        std::vector<int> delays;
        if (!m_data.startsWith("GIF") || !Has(13))
            return delays;
        m_pos = 13;
        SkipColorTable(Byte(10));
        int pending = 0;
        while (Has(1)) {
            const unsigned char kind = Byte(m_pos++);
            if (kind == kExtension && Has(1)) {
                const unsigned char label = Byte(m_pos++);
                if (label == kGraphicControl && Has(5) && Byte(m_pos) == 4)
                    pending = Byte(m_pos + 2) | Byte(m_pos + 3) << 8;
                SkipSubBlocks();
            } else if (kind == kImage && Has(10)) {
                delays.push_back(pending);
                pending = 0;
                const unsigned char flags = Byte(m_pos + 8);
                m_pos += 9;
                SkipColorTable(flags);
                ++m_pos; // LZW minimum code size
                SkipSubBlocks();
            } else {
                break; // trailer or damage
            }
        }
        return delays;
    }

private:
    bool Has(qsizetype count) const { return m_pos + count <= m_data.size(); }
    unsigned char Byte(qsizetype at) const { return static_cast<unsigned char>(m_data[at]); }
    void SkipColorTable(unsigned char flags)
    {
        if (flags & 0x80)
            m_pos += 3 * (2 << (flags & 7));
    }
    void SkipSubBlocks()
    {
        while (Has(1)) {
            const int size = Byte(m_pos++);
            if (size == 0)
                return;
            m_pos += size;
        }
    }

    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

} // namespace

std::vector<int> GifFrameDelays(const QByteArray &gif)
{
    return TGifScanner(gif).Delays();
}
