#pragma once

#include "Autostart.h"
#include "ImageButton.h"
#include "ModemDetection.h"
#include "ModemList.h"
#include "ModemSetup.h"
#include "frmCommManual.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class ButtonLabel;
class LineMonitor;
class PortTable;
class QComboBox;
class QLabel;
class QLineEdit;
class QSettings;
class SkinStore;

// "Setup": the modem to watch, chosen from the modems found on this machine, and whether names come
// from the phone list only. OK stores them; a line without a port asks for it in frmCommManual.
class CommSetup : public QWidget
{
    Q_OBJECT
public:
    using Detect = std::function<DetectedModems()>;

    // manualPort: the port last chosen by hand, kept for the rest of the run.
    CommSetup(SkinStore& skins, LineMonitor& monitor, PortTable& ports, QSettings& settings, int& manualPort,
              Detect detect, Autostart autostart, QWidget* parent = nullptr);

    void Form_Load();
    void SaveSetup();
    frmCommManual* manualDialog() const { return m_manual; }

    QLabel* lblcaption = nullptr;
    QLabel* lblmodem = nullptr;
    QComboBox* lstmdm = nullptr;
    QLabel* lblDevice = nullptr;
    ButtonLabel* ImgNameList = nullptr;
    ButtonLabel* lblUselistName = nullptr;
    ButtonLabel* ImgAutostart = nullptr;
    ButtonLabel* lblAutostart = nullptr;
    QLabel* lblSource = nullptr;
    QLineEdit* txtSource = nullptr;
    ButtonLabel* imgOK = nullptr;
    ButtonLabel* lblOK = nullptr;
    ButtonLabel* imgCancel = nullptr;
    ButtonLabel* lblCancel = nullptr;

private:
    void FillModemList();
    void showDevice();
    void ImgNameList_MouseUp(Qt::MouseButton button);
    void showNameList();
    void toggleAutostart(Qt::MouseButton button);
    void askPort(const ModemList::Choice& choice);
    void finishSave(const std::optional<ModemList::Choice>& choice, const QString& lentDevice);

    SkinStore& m_skins;
    LineMonitor& m_monitor;
    PortTable& m_ports;
    int& m_manualPort;
    Detect m_detect;
    Autostart m_autostart;
    ModemSetup m_setup;
    DetectedModems m_found;
    QList<ImageButton::Parts> m_buttons;
    QPointer<frmCommManual> m_manual;
};
