// A modems.reg file, as the setup reads it beside the program or in the user's settings folder.
#include "RegistryFile.h"
#include "RegistryTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RegistryTree tree;
    const QStringList problems = RegistryFile::mergeText(
        tree, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("modems.reg"));
    static_cast<void>(problems.size());
    return 0;
}
