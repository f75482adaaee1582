#pragma once

#include <QByteArray>
#include <QIODevice>

#include <utility>

// Hands each complete line waiting in the device to take(), with its line end, at most maxLength
// characters long; a longer line is dropped up to its end. skipping carries "inside a dropped line" from
// one call to the next. A peer can thus neither grow a line without bound nor smuggle one in its tail.
template <typename Take>
void readCappedLines(QIODevice& device, qsizetype maxLength, bool& skipping, Take take)
{
    while (device.canReadLine() || device.bytesAvailable() > maxLength) {
        const QByteArray line = device.readLine(maxLength + 2);
        const bool complete = line.endsWith('\n');
        if (std::exchange(skipping, !complete) || !complete)
            continue;
        take(line);
    }
}
