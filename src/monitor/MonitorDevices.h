#pragma once

#include <QString>

#include <functional>
#include <memory>

class Clock;
class HelpViewer;
class SoundPlayer;
class SpeechEngine;
class TextViewer;

// The outside things the main window talks to besides the modem, given to it so that tests can put
// fakes in their place.
struct MonitorDevices {
    Clock& clock;
    SoundPlayer& sound;
    TextViewer& viewer;
    HelpViewer& help;
    std::function<std::unique_ptr<SpeechEngine>(const QString& engineName)> makeSpeechEngine;
    // Where the machine's /sys and /run lie, for finding its modems.
    QString machineRoot = QStringLiteral("/");
};
