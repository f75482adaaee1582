#include "HelpViewer.h"

#include <QProcess>
#include <QStandardPaths>

bool DesktopHelpViewer::open(const QString& chmPath)
{
    for (const char* viewer : {"xchm", "kchmviewer"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(viewer));
        if (!program.isEmpty() && QProcess::startDetached(program, {chmPath}))
            return true;
    }
    return false;
}
