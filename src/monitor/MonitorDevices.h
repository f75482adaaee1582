#pragma once

#include <functional>
#include <memory>

class Clock;
class QString;
class SoundPlayer;
class SpeechEngine;
class TextViewer;

// The outside things the main window talks to besides the modem, given to it so that tests can put
// fakes in their place.
struct MonitorDevices {
    Clock& clock;
    SoundPlayer& sound;
    TextViewer& viewer;
    std::function<std::unique_ptr<SpeechEngine>(const QString& engineName)> makeSpeechEngine;
};
