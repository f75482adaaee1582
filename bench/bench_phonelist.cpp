// The phone list editor with 10,000 entries: from the click on "Phone List..." to the editor painted.
#include "BenchDatabase.h"
#include "BenchProgram.h"
#include "ButtonLabel.h"
#include "Clock.h"
#include "SoundPlayer.h"
#include "TextViewer.h"
#include "frmLineInfo.h"
#include "frmUsersList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace
{

class PaintWatch : public QObject
{
public:
    PaintWatch() { qApp->installEventFilter(this); }
    double paintedAfterMs = -1;
    QElapsedTimer* timer = nullptr;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && paintedAfterMs < 0 && timer
            && qobject_cast<frmUsersList*>(watched))
            paintedAfterMs = timer->nsecsElapsed() / 1e6;
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QString error;
    if (!fillBenchDatabase(dir.filePath(QStringLiteral("callerid.mdb")), 1000000, 10000, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    BenchProgram program(dir.path());
    if (!program.load(dir.path()))
        return 1;
    frmLineInfo& window = *program.window;
    QCoreApplication::processEvents();

    std::vector<double> opened;
    PaintWatch paints;
    QElapsedTimer timer;
    for (int round = 0; round < 20; ++round) {
        paints.paintedAfterMs = -1;
        paints.timer = &timer;
        timer.start();
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.lbllist, &release);
        while (paints.paintedAfterMs < 0)
            QCoreApplication::processEvents();
        opened.push_back(paints.paintedAfterMs);
        if (window.usersList()->lstphonedir->count() != 10000)
            return 1;
        window.usersList()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::sort(opened.begin(), opened.end());
    std::printf("phone list editor with 10,000 entries, click to painted (20 openings): median %.1f ms, "
                "slowest %.1f ms\n",
                opened.at(opened.size() / 2), opened.back());
    window.Form_Unload();
    return 0;
}
