#include "BenchProgram.h"

#include <cstdio>

bool BenchProgram::load(const QString& folder)
{
    window = std::make_unique<frmLineInfo>(MonitorDevices{clock, sound, viewer, help, {}},
                                           AppPaths(folder, folder), settings);
    QString error;
    if (!window->Form_Load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    window->show();
    return true;
}
