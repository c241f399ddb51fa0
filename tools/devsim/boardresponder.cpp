#include "boardresponder.h"

QByteArray TBoardResponder::Answer(const QByteArray &received)
{
    QByteArray answer;
    answer.reserve(received.size() + 4);
    for (const char byte : received) {
        answer.append(byte);
        if (byte == '\r') {
            if (m_line.compare("AT", Qt::CaseInsensitive) == 0)
                answer.append("OK\r\n");
            m_line.clear();
        } else if (byte != '\n' && m_line.size() < kMaxLine) {
            m_line.append(byte);
        }
    }
    return answer;
}
