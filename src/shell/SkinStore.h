#pragma once

#include <QPixmap>
#include <QString>

#include <array>

class QLabel;
class QWidget;

// The skin pictures in the "Skin" folder beside the program: window backgrounds, and the picture store
// imgSkins of button and check-box pictures that every window borrows from the main window.
class SkinStore
{
public:
    enum Picture {
        ButtonUp = 0,
        ButtonDown = 1,
        CloseUp = 2,
        CloseDown = 3,
        MinimizeUp = 4,
        MinimizeDown = 5,
        CheckOn = 6,
        CheckOff = 7,
    };
    static constexpr int kPictureCount = 8;
    static const QString kFileNames[kPictureCount];

    explicit SkinStore(QString appPath = {});
    QString skinFolder() const;

    // Loads the form's background, chosen by its object name, into its background label (created behind
    // every control on first use); for "frmLineInfo" it also fills the picture store. A missing or
    // unreadable file leaves the window's plain background.
    void LoadSkin(QWidget* form);

    QPixmap imgSkins(int index) const { return m_pictures.at(size_t(index)); }

private:
    QString m_appPath;
    std::array<QPixmap, kPictureCount> m_pictures;
};
