#include "ProcessExit.h"

#include <cstdio>
#include <cstdlib>

void endProcess(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}
