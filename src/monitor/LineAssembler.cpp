#include "LineAssembler.h"

namespace
{

bool isControl(unsigned char byte)
{
    return (byte < 0x20 && byte != '\t') || byte == 0x7f;
}

} // namespace

LineAssembler::LineAssembler(LineHandler handler)
    : m_handler(std::move(handler))
{
    m_lineBuffer.reserve(kMaxLineLength);
}

void LineAssembler::feed(QByteArrayView bytes)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p != end) {
        const char* runEnd = p;
        while (runEnd != end && !isControl(static_cast<unsigned char>(*runEnd)))
            ++runEnd;
        const qsizetype room = kMaxLineLength - m_lineBuffer.size();
        m_lineBuffer.append(p, std::min<qsizetype>(room, runEnd - p));
        if (runEnd == end)
            return;
        if ((*runEnd == '\r' || *runEnd == '\n') && !m_lineBuffer.isEmpty()) {
            const QByteArray line = m_lineBuffer;
            m_lineBuffer.resize(0);
            m_handler(line);
        }
        p = runEnd + 1;
    }
}
