// A caller-ID message in hex, as the modems that pass the raw Bellcore or ETSI message send it.
#include "CallerIdMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto message = CallerIdMessage::fromHexLine(bytes))
        static_cast<void>(message->number.size() + message->name.size());
    static_cast<void>(CallerIdMessage::fromHexParameters(bytes));
    return 0;
}
