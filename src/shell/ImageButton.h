#pragma once

#include <QKeySequence>
#include <QList>
#include <QRect>
#include <QString>

#include <functional>

class ButtonLabel;
class QLabel;
class QWidget;
class SkinStore;

// The program's buttons: a picture (imgName) with a label (lblName) lying on it. Pressing either shows
// the pressed look for the left button; releasing any button restores the look and runs the action.
namespace ImageButton
{

// The property of a button's picture that holds its caption label, for the accessible button.
inline constexpr char kCaptionLabel[] = "nimbrelCaptionLabel";

struct Parts {
    ButtonLabel* image;
    ButtonLabel* label;
};

struct Spec {
    QString imageName;
    QString labelName;
    QString caption;
    QRect geometry;
    QString toolTip;
    // Alt and a letter, anywhere in the window.
    QKeySequence mnemonic = {};
};

// Makes the button on parent and returns its parts. A mnemonic is added to the tool tip, and a screen
// reader reads it as the button's shortcut. The action learns whether the label (rather than the
// picture) was released. While `refused` answers true, presses and releases do nothing. The pair is one
// stop of the Tab key and one accessible push button named by its caption.
Parts add(QWidget* parent, SkinStore& skins, const Spec& spec,
          const std::function<void(bool byLabel)>& action, const std::function<bool()>& refused = {});

// A window's button: the picture "img<name>" and the label "lbl<name>" with its caption, Alt and mnemonic
// its shortcut; added to a window's buttons, its parts kept in image and label.
struct NamedButton {
    ButtonLabel*& image;
    ButtonLabel*& label;
    QString name;
    QString caption;
    QRect geometry;
    Qt::Key mnemonic;
    std::function<void(bool byLabel)> action;
};
void addNamed(QWidget* parent, SkinStore& skins, QList<Parts>& buttons, const NamedButton& button);

// One of a dialog's buttons: a named button captioned with its name, Alt and the name's first letter its
// mnemonic.
struct DialogButton {
    ButtonLabel*& image;
    ButtonLabel*& label;
    QString name;
    std::function<void()> action;
};

// A dialog's two buttons side by side at its bottom right (top edge y), added to buttons.
void addDialogButtons(QWidget* parent, SkinStore& skins, QList<Parts>& buttons, int y,
                      const DialogButton& first, const DialogButton& second);

// A check box drawn as a 16-pixel picture (named pictureName, its top left at `at`) with its caption in
// captionArea beside it: the picture takes the focus (Space toggles it as a left click does) and the
// caption shows the focus mark; one accessible check box named by the caption. Its mnemonic toggles it too.
Parts addCheckBox(QWidget* parent, const QString& pictureName, QPoint at, const QString& caption,
                  const QRect& captionArea, const QKeySequence& mnemonic);
// Shows a check box picture on or off, and tells assistive technology.
void setChecked(ButtonLabel* picture, const SkinStore& skins, bool on);

// The look of a window as it loads: its skin, and every button released.
void loadWindow(QWidget* window, SkinStore& skins, const QList<Parts>& buttons);

// A window box (close, minimise): a picture alone, pressed and released looks for the left button only,
// its action on a left click.
void connectWindowBox(ButtonLabel* image, const SkinStore& skins, int upPicture, int downPicture,
                      const std::function<void()>& action);

// A borderless dialog of the program: named, titled, of a fixed size, closed by Escape, gone when closed;
// returns its caption, in bold at the top left.
QLabel* setUpDialog(QWidget* window, const QString& name, const QString& title, const QSize& size);

} // namespace ImageButton
