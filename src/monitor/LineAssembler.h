#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// Turns the modem's bytes into lines: CR ends a line, LF is dropped wherever it stands, blank lines are
// never passed on. A line that never ends is cut at kMaxLineLength and the rest of it, up to its CR, dropped.
class LineAssembler
{
public:
    static constexpr qsizetype kMaxLineLength = 1024;
    using LineHandler = std::function<void(const QByteArray& line)>;

    explicit LineAssembler(LineHandler handler);
    void feed(QByteArrayView bytes);

private:
    LineHandler m_handler;
    QByteArray m_lineBuffer;
};
