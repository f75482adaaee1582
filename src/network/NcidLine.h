#pragma once

#include <QByteArrayView>
#include <QString>

// A line from an NCID server (Network Caller ID, protocol 1.x), as a client reads it.
struct NcidLine {
    enum class Kind {
        Greeting,   // "200 ...": the server says who it is
        StartupEnd, // "300 ...": the greeting and the call log are over
        Call,       // "CID: *DATE*...*NMBR*...*NAME*...*": a call, now
        RingInfo,   // "CIDINFO: *LINE*...*RING*n*": the ring count; 0 or less when the ringing is over
        Other       // the API level, options, the call log and its markers, messages, hang-ups ...
    };
    Kind kind = Kind::Other;
    QString number; // a call's; "O" or "P" for a withheld one, empty for none
    QString name;
    int ring = 0;
    QString text; // the greeting's words

    static NcidLine read(QByteArrayView line);
};

// The value of a label in NCID's field pairs, "*LABEL*value*LABEL*value*"; empty when absent.
QString ncidField(QByteArrayView pairs, QByteArrayView label);
