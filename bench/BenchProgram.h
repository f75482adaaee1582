#pragma once

#include "Clock.h"
#include "HelpViewer.h"
#include "SoundPlayer.h"
#include "TextViewer.h"
#include "frmLineInfo.h"

#include <QSettings>

// Nimbrel's main window on a benchmark's folder, with the real clock, sound and viewer, loaded and shown.
struct BenchProgram {
    explicit BenchProgram(const QString& folder)
        : settings(folder + QStringLiteral("/Nimbrel.conf"), QSettings::IniFormat)
    {
    }
    // False, after printing why, when the window cannot load.
    bool load(const QString& folder);

    QSettings settings;
    SystemClock clock;
    CanberraSoundPlayer sound;
    DesktopTextViewer viewer;
    DesktopHelpViewer help;
    std::unique_ptr<frmLineInfo> window;
};
