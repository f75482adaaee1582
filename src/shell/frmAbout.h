#pragma once

#include "ImageButton.h"

#include <QPointer>
#include <QTextBrowser>
#include <QWidget>

class ButtonLabel;
class HelpViewer;
class QLabel;
class SkinStore;

// "About Nimbrel": the name, version and purpose, where the files are, and the way into the user's
// guide: NIMBREL.CHM in the desktop's CHM viewer, or else the HTML guide in a help window of its own.
class frmAbout : public QWidget
{
    Q_OBJECT
public:
    struct Files {
        QString appPath; // where the help files lie
        QString database;
        QString settings;
    };

    frmAbout(SkinStore& skins, HelpViewer& viewer, Files files, QWidget* parent = nullptr);

    void Form_Load();
    void openHelp();
    QTextBrowser* helpWindow() const { return m_helpWindow; }

    QLabel* lblcaption = nullptr;
    QLabel* lblApplication = nullptr;
    QLabel* lblPurpose = nullptr;
    QLabel* lblAuthor = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblFiles = nullptr;
    ButtonLabel* imgHelp = nullptr;
    ButtonLabel* lblHelp = nullptr;
    ButtonLabel* imgClose = nullptr;
    ButtonLabel* lblClose = nullptr;

private:
    QLabel* addText(const QString& name, const QString& text, int y);
    void showHtmlGuide(const QString& indexPath);

    SkinStore& m_skins;
    HelpViewer& m_viewer;
    Files m_files;
    QList<ImageButton::Parts> m_buttons;
    QPointer<QTextBrowser> m_helpWindow;
};
