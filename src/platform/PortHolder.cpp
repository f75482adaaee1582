#include "PortHolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString portHolder(const QString& devicePath, const QString& procRoot)
{
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir proc(procRoot);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isProcess = false;
        pid.toInt(&isProcess);
        if (!isProcess)
            continue;
        const QDir descriptors(proc.filePath(pid + QStringLiteral("/fd")));
        for (const QFileInfo& descriptor : descriptors.entryInfoList(QDir::Files | QDir::System)) {
            if (descriptor.symLinkTarget() != target)
                continue;
            QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
            const QString program =
                comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed() : QString();
            return QStringLiteral("%1 (process %2)")
                .arg(program.isEmpty() ? QStringLiteral("a program") : program, pid);
        }
    }
    return {};
}
