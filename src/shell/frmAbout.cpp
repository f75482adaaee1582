#include "frmAbout.h"

#include "HelpViewer.h"
#include "MessageBox.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTextBrowser>

frmAbout::frmAbout(SkinStore& skins, HelpViewer& viewer, Files files, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_skins(skins)
    , m_viewer(viewer)
    , m_files(std::move(files))
{
    lblcaption = ImageButton::setUpDialog(this, QStringLiteral("frmAbout"), QStringLiteral("About Nimbrel"),
                                          QSize(380, 165));
    lblApplication =
        addText(QStringLiteral("lblApplication"),
                QStringLiteral("Application Name: Nimbrel - Version ") + QStringLiteral(NIMBREL_VERSION), 22);
    lblPurpose = addText(QStringLiteral("lblPurpose"),
                         QStringLiteral("Purpose: Display Caller ID when phone is on-hook."), 40);
    lblAuthor = addText(QStringLiteral("lblAuthor"),
                        QStringLiteral("Author: the Nimbrel developers (MIT License)."), 58);
    lblDate =
        addText(QStringLiteral("lblDate"), QStringLiteral("Date: first released in December 2026."), 76);
    const QString where = QStringLiteral("Calls: %1\nSettings: %2").arg(m_files.database, m_files.settings);
    lblFiles = addText(QStringLiteral("lblFiles"), where, 96);
    lblFiles->setGeometry(10, 96, 360, 32);
    lblFiles->setToolTip(where);
    lblFiles->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont small = lblFiles->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblFiles->setFont(small);
    ImageButton::addDialogButtons(this, m_skins, m_buttons, 136,
                                  {imgHelp, lblHelp, QStringLiteral("Help"), [this] { openHelp(); }},
                                  {imgClose, lblClose, QStringLiteral("Close"), [this] { close(); }});
}

QLabel* frmAbout::addText(const QString& name, const QString& text, int y)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(10, y, 360, 18);
    return label;
}

void frmAbout::Form_Load()
{
    ImageButton::loadWindow(this, m_skins, m_buttons);
    lblcaption->move(8, 0);
}

void frmAbout::openHelp()
{
    const QDir folder(m_files.appPath);
    const QString chm = folder.filePath(QStringLiteral("NIMBREL.CHM"));
    if (QFile::exists(chm) && m_viewer.open(chm))
        return;
    const QString index = folder.filePath(QStringLiteral("help/index.html"));
    if (QFile::exists(index)) {
        showHtmlGuide(index);
        return;
    }
    MessageBox::show(this,
                     QStringLiteral("The help files are missing: neither %1 nor %2 exists.\nInstall Nimbrel "
                                    "again, or build it again (the build makes them from data/help).")
                         .arg(chm, index),
                     MessageBox::Icon::Warning);
}

void frmAbout::showHtmlGuide(const QString& indexPath)
{
    if (!m_helpWindow) {
        m_helpWindow = new QTextBrowser(this);
        m_helpWindow->setWindowFlags(Qt::Window);
        m_helpWindow->setObjectName(QStringLiteral("helpWindow"));
        m_helpWindow->setWindowTitle(QStringLiteral("Nimbrel Help"));
        m_helpWindow->setOpenExternalLinks(true);
        m_helpWindow->resize(640, 520);
    }
    m_helpWindow->setSource(QUrl::fromLocalFile(indexPath));
    m_helpWindow->show();
    m_helpWindow->raise();
}
