#pragma once

#include "frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>

// Notes when the pop-up is first painted: it is made during the call, so the whole application is watched.
class PaintWatch : public QObject
{
public:
    PaintWatch() { qApp->installEventFilter(this); }
    void reset(QElapsedTimer* timer)
    {
        m_timer = timer;
        m_paintedAfterMs = -1;
    }
    double paintedAfterMs() const { return m_paintedAfterMs; }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_paintedAfterMs < 0 && m_timer
            && qobject_cast<frmSplash*>(watched))
            m_paintedAfterMs = m_timer->nsecsElapsed() / 1e6;
        return false;
    }

private:
    QElapsedTimer* m_timer = nullptr;
    double m_paintedAfterMs = -1;
};
