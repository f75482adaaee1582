#include "TextViewer.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopTextViewer::open(const QString& path, QString* error)
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return true;
    *error =
        QStringLiteral("The report was written to %1, but no program to show text files could be "
                       "started.\nOpen the file with a text editor, or install one (for example gedit or "
                       "mousepad).")
            .arg(path);
    return false;
}
