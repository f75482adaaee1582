#include "AppPaths.h"
#include "Clock.h"
#include "frmLineInfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nimbrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Nimbrel"));

    QSettings settings(AppPaths::settingsFile(), QSettings::IniFormat);
    SystemClock clock;
    frmLineInfo window(clock, AppPaths::forRunningProgram(), settings);
    QString error;
    if (!window.Form_Load(&error)) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Nimbrel"), error, QMessageBox::Ok);
        QObject::connect(&box, &QMessageBox::finished, &app, &QApplication::quit);
        box.show();
        app.exec();
        return 1;
    }
    window.show();
    const int status = app.exec();
    window.Form_Unload();
    return status;
}
