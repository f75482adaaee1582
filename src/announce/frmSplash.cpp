#include "frmSplash.h"

#include "Accessibility.h"
#include "AlwaysOnTop.h"
#include "Announcement.h"
#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "ElidedText.h"
#include "ImageButton.h"
#include "SkinStore.h"
#include "SoundService.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace
{

QLabel* makeLabel(QWidget* parent, const QString& name, const QFont& font, const QColor& color)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace

frmSplash::frmSplash(const SkinStore& skins, SoundService& sound, ArmSpeech armSpeech, QWidget* parent)
    : QWidget(parent)
    , m_skins(skins)
    , m_sound(sound)
    , m_armSpeech(std::move(armSpeech))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("INCOMING CALL"));
    Accessibility::setRole(this, QAccessible::Notification);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(272, 105);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(255, 255, 128));
    setPalette(background);
    setAutoFillBackground(true);

    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(13.5);
    QFont bold = font;
    bold.setBold(true);
    lblincomingcall = makeLabel(this, QStringLiteral("lblincomingcall"), bold, QColor(128, 0, 128));
    lblincomingcall->setText(QStringLiteral("INCOMING CALL"));
    lblincomingcall->setAlignment(Qt::AlignCenter);
    lblincomingcall->setGeometry(54, 0, 165, 28);
    lblincomingcall->setAutoFillBackground(true);
    QPalette band = lblincomingcall->palette();
    band.setColor(QPalette::Window, QColor(128, 255, 255));
    lblincomingcall->setPalette(band);
    lblname = makeLabel(this, QStringLiteral("lblname"), font, Qt::red);
    lblname->move(104, 40);
    lblnumber = makeLabel(this, QStringLiteral("lblnumber"), font, Qt::red);
    lblnumber->move(104, 72);

    imgClose = new ButtonLabel(this);
    imgClose->setObjectName(QStringLiteral("imgClose"));
    imgClose->setGeometry(248, 0, 25, 25);
    imgClose->setScaledContents(true);
    imgClose->setToolTip(QStringLiteral("Close"));
    ImageButton::connectWindowBox(imgClose, m_skins, SkinStore::CloseUp, SkinStore::CloseDown,
                                  [this] { close(); });
}

void frmSplash::Form_Load(const QString& callName, const QString& number, bool playDoorbell)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ToggleTopmost(this);
    ButtonLook::setPicture(imgClose, m_skins, SkinStore::CloseUp);
    updateCaller(callName, number);
    Accessibility::announce(this);
    if (playDoorbell)
        m_sound.PlayDoorbell();
    m_armSpeech(announcementFor(callName));
}

void frmSplash::updateCaller(const QString& callName, const QString& number)
{
    setAccessibleName(QStringLiteral("Incoming call: %1, %2").arg(callName, number));
    // From the labels' left edge to the window's right edge.
    const int room = width() - lblname->x() - 4;
    for (const auto& [label, text] : {std::pair{lblname, callName}, {lblnumber, number}}) {
        ElidedText::show(label, text, room);
        label->adjustSize();
    }
}
