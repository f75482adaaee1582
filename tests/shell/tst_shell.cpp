#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "ImageButton.h"
#include "MessageBox.h"
#include "SkinStore.h"
#include "TrayIcon.h"
#include "WindowDragger.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// A program folder with the shipped skin in it, less the files a test leaves out.
QString programFolder(QTemporaryDir& dir, const QStringList& leaveOut = {})
{
    QDir(dir.path()).mkpath("Skin");
    const QDir shipped(QStringLiteral(NIMBREL_DATA_DIR "/Skin"));
    for (const QString& name : shipped.entryList(QDir::Files)) {
        if (!leaveOut.contains(name))
            QFile::copy(shipped.filePath(name), dir.filePath("Skin/" + name));
    }
    return dir.path();
}

} // namespace

class tst_Shell : public QObject
{
    Q_OBJECT
private slots:
    void backgroundsFollowTheFormName_data();
    void backgroundsFollowTheFormName();
    void buttonProtocol();
    void aPictureButtonIsPressedByItsKeys_data();
    void aPictureButtonIsPressedByItsKeys();
    void aButtonsToolTipNamesItsShortcut_data();
    void aButtonsToolTipNamesItsShortcut();
    void trayCodes_data();
    void trayCodes();
    void noNotificationAreaLeavesTheWindowReachable();
    void dragByTheBodyOnly();
    void aQuestionAnswersWithTheButtonPressed_data();
    void aQuestionAnswersWithTheButtonPressed();
};

void tst_Shell::backgroundsFollowTheFormName_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QSize>("background");
    QTest::addColumn<bool>("fillsStore");
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<QSize>("drawn");
    const auto row = [](const char* name, const char* form, QSize background, bool fillsStore, QSize window,
                        QSize drawn) {
        QTest::newRow(name) << form << background << fillsStore << window << drawn;
    };
    const QSize large(385, 281), small(380, 165);
    row("main window", "frmLineInfo", large, true, large, large);
    row("phone list", "frmUsersList", large, false, large, large);
    row("report", "frmReport", small, false, small, small);
    row("about box", "frmAbout", small, false, small, small);
    row("as tall as its picture, narrower: the picture's left part", "frmAbout", small, false, {300, 165},
        small);
    row("manual port dialog, as wide as its picture, shorter: the picture's top part", "frmCommManual", large,
        false, {385, 229}, large);
    row("setup, grown past its picture: stretched to it", "CommSetup", small, false, {380, 197}, {380, 197});
    row("pop-up keeps its own look", "frmSplash", {}, false, {300, 100}, {});
}

void tst_Shell::backgroundsFollowTheFormName()
{
    QFETCH(QString, form);
    QFETCH(QSize, background);
    QFETCH(bool, fillsStore);
    QFETCH(QSize, windowSize);
    QFETCH(QSize, drawn);
    QTemporaryDir dir;
    SkinStore skins(programFolder(dir));
    QWidget window;
    window.setObjectName(form);
    window.resize(windowSize);
    new QLabel("a control", &window);
    skins.LoadSkin(&window);
    auto* label = window.findChild<QLabel*>("imgBackground");
    QCOMPARE(label ? label->pixmap().size() : QSize(), background);
    QCOMPARE(label ? label->size() : QSize(), drawn);
    if (label)
        QCOMPARE(window.children().first(), label); // drawn behind every control
    for (int i = 0; i < SkinStore::kPictureCount; ++i)
        QCOMPARE(!skins.imgSkins(i).isNull(), fillsStore);
}

void tst_Shell::buttonProtocol()
{
    QTemporaryDir dir;
    SkinStore skins(programFolder(dir));
    QWidget window;
    window.setObjectName("frmLineInfo");
    skins.LoadSkin(&window);
    QLabel image, label;
    ButtonLook::setForeColor(&label, Qt::green); // a design colour, which release must not bring back
    ButtonLook::ButtonDown(Qt::RightButton, &image, &label, skins);
    QVERIFY(image.pixmap().isNull());
    QCOMPARE(ButtonLook::foreColor(&label), QColor(Qt::green));
    ButtonLook::ButtonDown(Qt::LeftButton, &image, &label, skins);
    QCOMPARE(image.pixmap().cacheKey(), skins.imgSkins(SkinStore::ButtonDown).cacheKey());
    QCOMPARE(ButtonLook::foreColor(&label), QColor(Qt::black));
    ButtonLook::ButtonUp(&image, &label, skins);
    QCOMPARE(image.pixmap().cacheKey(), skins.imgSkins(SkinStore::ButtonUp).cacheKey());
    QCOMPARE(ButtonLook::foreColor(&label), QColor(0, 0, 192));

    // Without its picture a button is drawn as a plain panel, so it stays visible; a check box shows its
    // mark as text.
    QTemporaryDir bare;
    SkinStore noSkin(programFolder(bare, {"ButtonUP.Jpg", "CheckON.Jpg", "CheckOFF.Jpg"}));
    noSkin.LoadSkin(&window);
    ButtonLook::ButtonUp(&image, &label, noSkin);
    QCOMPARE(image.frameShape(), QFrame::Panel);
    QCOMPARE(image.frameShadow(), QFrame::Raised);
    QVERIFY(image.autoFillBackground());
    QCOMPARE(image.text(), QString());
    ButtonLook::setPicture(&image, noSkin, SkinStore::CheckOn);
    QCOMPARE(image.text(), QStringLiteral("\u2713"));
    ButtonLook::setPicture(&image, noSkin, SkinStore::CheckOff);
    QCOMPARE(image.text(), QString());
}

void tst_Shell::aPictureButtonIsPressedByItsKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::newRow("Space") << int(Qt::Key_Space) << 1;
    QTest::newRow("Return") << int(Qt::Key_Return) << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << 1;
    QTest::newRow("a letter") << int(Qt::Key_A) << 0;
}

void tst_Shell::aPictureButtonIsPressedByItsKeys()
{
    QFETCH(int, key);
    QFETCH(int, presses);
    ButtonLabel picture;
    QSignalSpy pressed(&picture, &ButtonLabel::pressed), clicked(&picture, &ButtonLabel::clicked);
    QTest::keyClick(&picture, Qt::Key(key));
    QKeyEvent heldDown(QEvent::KeyPress, key, Qt::NoModifier, QString(), true); // a key held repeats
    QApplication::sendEvent(&picture, &heldDown);
    QCOMPARE(pressed.count(), presses);
    QCOMPARE(clicked.count(), presses);
}

void tst_Shell::aButtonsToolTipNamesItsShortcut_data()
{
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("shown");
    QTest::newRow("both") << "Start/Stop Monitoring"
                          << "Alt+S"
                          << "Start/Stop Monitoring (Alt+S)";
    QTest::newRow("a dialog's button: the shortcut alone") << QString() << "Alt+O"
                                                           << "Alt+O";
}

void tst_Shell::aButtonsToolTipNamesItsShortcut()
{
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    QFETCH(QString, shown);
    SkinStore skins;
    QWidget window;
    const ImageButton::Parts button = ImageButton::add(
        &window, skins, {"imgOK", "lblOK", "OK", {0, 0, 112, 22}, toolTip, QKeySequence(shortcut)},
        [](bool) {});
    QCOMPARE(button.image->toolTip(), shown);
    QCOMPARE(button.label->toolTip(), shown);
}

void tst_Shell::trayCodes_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("minimizedAfter");
    QTest::newRow("left double click restores") << int(QSystemTrayIcon::DoubleClick) << 1 << false;
    QTest::newRow("right press keeps the state") << int(QSystemTrayIcon::Context) << 2 << true;
    QTest::newRow("single click does nothing") << int(QSystemTrayIcon::Trigger) << 0 << true;
}

void tst_Shell::trayCodes()
{
    QFETCH(int, reason);
    QFETCH(int, code);
    QFETCH(bool, minimizedAfter);
    QWidget window;
    window.showMinimized();
    TrayIcon tray;
    tray.AddTrayIcon(QIcon(), "Nimbrel", &window);
    QCOMPARE(tray.TrayCallback(QSystemTrayIcon::ActivationReason(reason)), code);
    QCOMPARE(window.isMinimized(), minimizedAfter);
    QVERIFY(window.isVisible());
}

void tst_Shell::noNotificationAreaLeavesTheWindowReachable()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // offscreen has none
    QWidget window;
    TrayIcon tray;
    tray.AddTrayIcon(QIcon(), "Nimbrel", &window);
    ShowForm(&window);
    QVERIFY(window.isVisible());
    QVERIFY(!tray.isShown());
    tray.RemoveTrayIcon();
}

void tst_Shell::dragByTheBodyOnly()
{
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.resize(300, 200);
    auto* caption = new QLabel("Nimbrel", &window);
    caption->setGeometry(10, 10, 100, 20);
    new WindowDragger(&window);
    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // No window manager here, so the window moves itself.
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
    QMouseEvent move(QEvent::MouseMove, QPointF(190, 170), window.mapToGlobal(QPointF(190, 170)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, QPoint(190, 170));
    QCOMPARE(window.pos(), QPoint(140, 120));

    // Then a drag on the caption (its moves reach the window) moves nothing.
    QTest::mousePress(caption, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QMouseEvent byCaption(QEvent::MouseMove, QPointF(60, 45), window.mapToGlobal(QPointF(60, 45)),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &byCaption);
    QTest::mouseRelease(caption, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(window.pos(), QPoint(140, 120));
}

void tst_Shell::aQuestionAnswersWithTheButtonPressed_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Y, for Yes") << int(Qt::Key_Y) << true;
    QTest::newRow("Enter takes No, the safe answer") << int(Qt::Key_Return) << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
}

void tst_Shell::aQuestionAnswersWithTheButtonPressed()
{
    QFETCH(int, key);
    QFETCH(bool, yes);
    std::optional<bool> answer;
    MessageBox::ask(nullptr, "Delete every call?", [&](bool saidYes) { answer = saidYes; });
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("Nimbrel"));
    QCOMPARE(box->text(), QStringLiteral("Delete every call?"));
    QTest::keyClick(box, Qt::Key(key));
    QTRY_VERIFY(answer.has_value());
    QCOMPARE(*answer, yes);
}

QTEST_MAIN(tst_Shell)
#include "tst_shell.moc"
