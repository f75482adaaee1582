#pragma once

#include <QWidget>

#include <functional>

class ButtonLabel;
class QLabel;
class SkinStore;
class SoundService;

// The "INCOMING CALL" pop-up: the caller's name and number on top of whatever the user is doing, the
// doorbell for flagged callers, and the announcement handed to the main window's speech timer.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    using ArmSpeech = std::function<void(const QString& text)>;

    frmSplash(const SkinStore& skins, SoundService& sound, ArmSpeech armSpeech, QWidget* parent = nullptr);

    // The load steps, for a call just logged.
    void Form_Load(const QString& callName, const QString& number, bool playDoorbell);
    // The same call, completed by a late caller-ID line.
    void updateCaller(const QString& callName, const QString& number);

    QLabel* lblincomingcall = nullptr;
    QLabel* lblname = nullptr;
    QLabel* lblnumber = nullptr;
    ButtonLabel* imgClose = nullptr;

private:
    const SkinStore& m_skins;
    SoundService& m_sound;
    ArmSpeech m_armSpeech;
};
