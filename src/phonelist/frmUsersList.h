#pragma once

#include "ImageButton.h"
#include "PhoneList.h"

#include <QWidget>

class ButtonLabel;
class QLabel;
class QLineEdit;
class QListWidget;
class SkinStore;
class SpeechService;

// The phone list editor: every entry as "Name-number", the name and number boxes, the doorbell check,
// and Add, Remove, Update, Speak and Close.
class frmUsersList : public QWidget
{
    Q_OBJECT
public:
    frmUsersList(SkinStore& skins, SpeechService& speech, CallStore& store, QWidget* parent = nullptr);

    // Loads the window: the whole list, and the number of the last unknown caller in the number box.
    void Form_Load(const QString& unknownNumber);

    // The identifier of the entry last clicked; 0 before any click.
    qint64 SelectedEntryId = 0;
    bool soundChecked() const { return m_soundOn; }

    QLabel* lblcaption = nullptr;
    QLabel* lblname = nullptr;
    QLineEdit* txtname = nullptr;
    QLabel* lblnumber = nullptr;
    QLineEdit* txtPhone = nullptr;
    QListWidget* lstphonedir = nullptr;
    ButtonLabel* imgSound = nullptr;
    ButtonLabel* lblsound = nullptr;
    ButtonLabel* imgAdd = nullptr;
    ButtonLabel* lblAdd = nullptr;
    ButtonLabel* ImgRemove = nullptr;
    ButtonLabel* lblRemove = nullptr;
    ButtonLabel* imgUpdate = nullptr;
    ButtonLabel* lblUpdate = nullptr;
    ButtonLabel* imgTest = nullptr;
    ButtonLabel* lblTest = nullptr;
    ButtonLabel* imgCancel = nullptr;
    ButtonLabel* lblCancel = nullptr;

private:
    void fillList();
    void lstphonedir_Click();
    void imgSound_MouseUp(Qt::MouseButton button);
    void showSound(bool on);
    void add(bool byLabel);
    void remove();
    void update();
    bool report(bool done, const QString& error);

    SkinStore& m_skins;
    SpeechService& m_speech;
    PhoneList m_phoneList;
    QList<ImageButton::Parts> m_buttons;
    qint64 m_selectedRowId = 0;
    bool m_soundOn = false;
};
