#include "CommSetup.h"

#include "ButtonLabel.h"
#include "LineMonitor.h"
#include "MessageBox.h"
#include "MonitorSettings.h"
#include "PortTable.h"
#include "SkinStore.h"
#include "WindowDragger.h"
#include "frmCommManual.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

CommSetup::CommSetup(SkinStore& skins, LineMonitor& monitor, PortTable& ports, QSettings& settings,
                     int& manualPort, Detect detect, Autostart autostart, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_skins(skins)
    , m_monitor(monitor)
    , m_ports(ports)
    , m_manualPort(manualPort)
    , m_detect(std::move(detect))
    , m_autostart(std::move(autostart))
    , m_setup(monitor, ports, settings)
{
    lblcaption = ImageButton::setUpDialog(this, QStringLiteral("CommSetup"), QStringLiteral("Modem..."),
                                          QSize(380, 221));
    lblcaption->setText(QStringLiteral("Setup"));
    new WindowDragger(this);
    lblmodem = new QLabel(QStringLiteral("Select the modem"), this);
    lblmodem->setGeometry(10, 22, 360, 18);
    lstmdm = new QComboBox(this);
    lstmdm->setObjectName(QStringLiteral("lstmdm"));
    lstmdm->setGeometry(10, 40, 360, 24);
    lblmodem->setBuddy(lstmdm);
    lblDevice = new QLabel(this);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    lblDevice->setGeometry(10, 66, 360, 30);
    lblDevice->setWordWrap(true);
    const ImageButton::Parts nameList = ImageButton::addCheckBox(
        this, QStringLiteral("ImgNameList"), {10, 104}, QStringLiteral("Announce Name from Phone List"),
        QRect(32, 102, 330, 20), QKeySequence(Qt::ALT | Qt::Key_N));
    ImgNameList = nameList.image;
    lblUselistName = nameList.label;
    const ImageButton::Parts atLogin = ImageButton::addCheckBox(
        this, QStringLiteral("ImgAutostart"), {10, 128}, QStringLiteral("Start Nimbrel when I log in"),
        QRect(32, 126, 330, 20), QKeySequence(Qt::ALT | Qt::Key_L));
    ImgAutostart = atLogin.image;
    lblAutostart = atLogin.label;
    lblAutostart->setToolTip(m_autostart.entryFile());
    lblSource = new QLabel(QStringLiteral("Calls from:"), this);
    lblSource->setGeometry(10, 156, 72, 20);
    txtSource = new QLineEdit(this);
    txtSource->setObjectName(QStringLiteral("txtSource"));
    txtSource->setGeometry(84, 154, 286, 24);
    lblSource->setBuddy(txtSource);
    txtSource->setPlaceholderText(QStringLiteral("the modem, or an NCID server: ncid://host:3333"));
    txtSource->setToolTip(
        QStringLiteral("Leave empty to watch the modem; name an NCID server to take its calls "
                       "instead (VoIP lines, another computer's modem)."));
    ImageButton::addDialogButtons(this, m_skins, m_buttons, 190,
                                  {imgOK, lblOK, QStringLiteral("OK"), [this] { SaveSetup(); }},
                                  {imgCancel, lblCancel, QStringLiteral("Cancel"), [this] { close(); }});
    connect(ImgNameList, &ButtonLabel::released, this, &CommSetup::ImgNameList_MouseUp);
    connect(ImgAutostart, &ButtonLabel::released, this, &CommSetup::toggleAutostart);
    connect(lstmdm, &QComboBox::currentIndexChanged, this, &CommSetup::showDevice);
}

void CommSetup::Form_Load()
{
    ImageButton::loadWindow(this, m_skins, m_buttons);
    showNameList();
    ImageButton::setChecked(ImgAutostart, m_skins, m_autostart.isOn());
    lblcaption->move(8, 0);
    if (m_monitor.watchesNetwork())
        txtSource->setText(MonitorSettings::sourceText(m_monitor.ncidHost(), m_monitor.ncidPort()));
    FillModemList();
}

void CommSetup::FillModemList()
{
    m_found = m_detect();
    QStringList lines = ModemList::modemLines(m_found.registry);
    std::stable_sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    lstmdm->addItems(lines);
    lstmdm->setCurrentIndex(-1);
    if (!m_found.problems.isEmpty())
        lblDevice->setText(m_found.problems.join(QLatin1Char('\n')));
    else if (lines.isEmpty())
        lblDevice->setText(
            QStringLiteral("No modem found: plug it in and open Setup again, or press OK to keep "
                           "port %1.")
                .arg(m_monitor.port()));
    else
        lblDevice->setText(
            QStringLiteral("Found %1: choose your modem (name, port number; caller-ID command), "
                           "then press OK.")
                .arg(lines.size() == 1 ? QStringLiteral("one modem")
                                       : QStringLiteral("%1 modems").arg(lines.size())));
    lblDevice->setToolTip(lblDevice->text());
}

void CommSetup::showDevice()
{
    QString error;
    const std::optional<ModemList::Choice> choice = ModemList::readLine(lstmdm->currentText(), &error);
    const QString device = choice && choice->port
                               ? m_found.devicePaths.value(*choice->port, m_ports.devicePath(*choice->port))
                               : QString();
    lblDevice->setText(device.isEmpty() ? QString()
                                        : QStringLiteral("Port %1 is %2.").arg(*choice->port).arg(device));
    lblDevice->setToolTip(lblDevice->text());
}

void CommSetup::ImgNameList_MouseUp(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    // Takes effect at once; OK stores it, and so does the end of the program.
    m_monitor.calls().setUseNameList(!m_monitor.calls().useNameList());
    showNameList();
}

void CommSetup::toggleAutostart(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    // Takes effect at once, as the desktop's own autostart settings do.
    QString error;
    if (!m_autostart.setOn(!m_autostart.isOn(), &error))
        MessageBox::show(this, error, MessageBox::Icon::Warning);
    ImageButton::setChecked(ImgAutostart, m_skins, m_autostart.isOn());
}

void CommSetup::showNameList()
{
    ImageButton::setChecked(ImgNameList, m_skins, m_monitor.calls().useNameList());
}

void CommSetup::SaveSetup()
{
    if (m_manual)
        return;
    const QString text = lstmdm->currentIndex() < 0 ? QString() : lstmdm->currentText();
    if (text.isEmpty()) {
        finishSave(std::nullopt, {});
        return;
    }
    QString error;
    const std::optional<ModemList::Choice> choice = ModemList::readLine(text, &error);
    if (!choice)
        MessageBox::show(this, error, MessageBox::Icon::Critical);
    else if (!choice->port)
        askPort(*choice);
    else
        finishSave(choice, m_found.lentPorts.value(*choice->port));
}

void CommSetup::askPort(const ModemList::Choice& choice)
{
    m_manual = new frmCommManual(m_skins, m_ports, this);
    m_manual->Form_Load();
    connect(m_manual, &frmCommManual::portChosen, this, [this, choice](int port) {
        m_manualPort = port;
        finishSave(ModemList::Choice{port, choice.command}, {});
    });
    connect(m_manual, &frmCommManual::cancelled, this, [this, choice] {
        // A port chosen by hand earlier in this run stands until another is chosen.
        if (m_manualPort != 0) {
            finishSave(ModemList::Choice{m_manualPort, choice.command}, {});
            return;
        }
        MessageBox::show(this,
                         QStringLiteral("No port was chosen for the modem, so nothing was changed.\nPress OK "
                                        "again and choose its port, or press Cancel."),
                         MessageBox::Icon::Information);
    });
    m_manual->show();
}

void CommSetup::finishSave(const std::optional<ModemList::Choice>& choice, const QString& lentDevice)
{
    QString error;
    if (!m_setup.save(choice, lentDevice, txtSource->text(), &error)) {
        MessageBox::show(this, error, MessageBox::Icon::Critical);
        return;
    }
    close();
}
