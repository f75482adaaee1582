#pragma once

#include "ImageButton.h"

#include <QWidget>

class ButtonLabel;
class PortTable;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class SkinStore;

// "Communication Port Manual Setup": asks for the port of a modem whose line names none. Modal over the
// setup dialog; it answers through its signals and is gone when closed.
class frmCommManual : public QWidget
{
    Q_OBJECT
public:
    frmCommManual(SkinStore& skins, const PortTable& ports, QWidget* parent);

    void Form_Load();
    // The explanation: how to find the modem's device on Linux, and which device each port number is.
    static QString notification(const PortTable& ports);

    QLabel* lblcaption = nullptr;
    QPlainTextEdit* txtNotification = nullptr;
    QLabel* lbltext = nullptr;
    QComboBox* txtcommlist = nullptr;
    ButtonLabel* imgOK = nullptr;
    ButtonLabel* lblOK = nullptr;
    ButtonLabel* imgCancel = nullptr;
    ButtonLabel* lblCancel = nullptr;

signals:
    void portChosen(int port);
    void cancelled();

private:
    void ok();
    void cancel();

    SkinStore& m_skins;
    const PortTable& m_ports;
    QList<ImageButton::Parts> m_buttons;
};
