#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// Turns the modem's bytes into lines: CR or LF ends a line (so CR, LF, CR LF and LF CR all do), blank lines
// are never passed on, and control bytes (NUL, DLE and the like; a tab is kept) are dropped wherever they
// stand. A line that never ends is cut at kMaxLineLength and the rest of it, up to its end, dropped.
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
