#include "Accessibility.h"
#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "RecentCallsGrid.h"
#include "TestProgram.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace
{

void press(QWidget* widget, Qt::MouseButton button)
{
    QTest::mousePress(widget, button, Qt::NoModifier, QPoint(5, 5));
}

void release(QWidget* widget, Qt::MouseButton button)
{
    QTest::mouseRelease(widget, button, Qt::NoModifier, QPoint(5, 5));
}

// What a screen reader says of a control: its role, and its name or the label that names it.
QString spoken(QWidget* widget)
{
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
    const auto labels = control->relations(QAccessible::Label);
    const QString name =
        labels.isEmpty() ? control->text(QAccessible::Name) : labels.first().first->text(QAccessible::Name);
    return QStringLiteral("%1 \"%2\"")
        .arg(QMetaEnum::fromType<QAccessible::Role>().valueToKey(control->role()), name);
}

// The controls the Tab key visits from the one with the focus, once round the window, as a screen reader
// names them. A date box keeps the focus while Tab walks its day, month and year.
QStringList tabStops(QWidget* window)
{
    QStringList stops;
    QWidget* const first = window->focusWidget();
    QWidget* last = nullptr;
    for (int key = 0; key < 40; ++key) {
        QWidget* focus = window->focusWidget();
        if (!focus || (focus == first && last && last != first))
            break;
        if (focus != last)
            stops << focus->objectName() + ' ' + spoken(focus);
        last = focus;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return stops;
}

LoggedCall call(const QString& number, const QString& name)
{
    return LoggedCall{QDateTime(QDate(2026, 12, 7), QTime(9, 30)), number, name};
}

} // namespace

class tst_frmLineInfo : public QObject
{
    Q_OBJECT
private slots:
    void startUp_data();
    void startUp();
    void unloadSavesOnlyInTheNormalState_data();
    void unloadSavesOnlyInTheNormalState();
    void positionIsRestoredWhenVisible_data();
    void positionIsRestoredWhenVisible();
    void startFailuresAreSaid_data();
    void startFailuresAreSaid();
    void commandsWhileMonitoring_data();
    void commandsWhileMonitoring();
    void commandsAndWindowImages();
    void fitGridColumns();
    void gridKeepsTheLatestCalls();
    void newestCallIsAlwaysInView();
    void playWave_data();
    void playWave();
    void keyboardAlone();
    void everyWindowByKeyboard_data();
    void everyWindowByKeyboard();
};

void tst_frmLineInfo::startUp_data()
{
    QTest::addColumn<QString>("stored"); // "Properties" keys and values
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("useNameList");
    QTest::addColumn<QString>("initCallerID");
    QTest::newRow("no settings") << "CommPort=" << 1 << false << QString();
    QTest::newRow("stored settings") << "CommPort=7;UseNameList=True;InitCallerID=AT#CID=2" << 7 << true
                                     << "AT#CID=2";
    QTest::newRow("hand-broken settings fall back") << "CommPort=seven;UseNameList=maybe" << 1 << false << "";
    QTest::newRow("a port out of range falls back") << "CommPort=0" << 1 << false << QString();
    QTest::newRow("the last port") << "CommPort=16" << 16 << false << QString();
    QTest::newRow("numbers read as Booleans") << "UseNameList=-1" << 1 << true << QString();
    QTest::newRow("turned off as Nimbrel writes it") << "UseNameList=False" << 1 << false << QString();
}

void tst_frmLineInfo::startUp()
{
    QFETCH(QString, stored);
    QFETCH(int, port);
    QFETCH(bool, useNameList);
    QFETCH(QString, initCallerID);
    TestProgram program;
    for (const QString& entry : stored.split(';'))
        program.settings.setValue("Properties/" + entry.section('=', 0, 0), entry.section('=', 1));
    program.load();
    frmLineInfo& window = *program.window;
    QCOMPARE(window.monitor().port(), port);
    QCOMPARE(window.monitor().calls().useNameList(), useNameList);
    QCOMPARE(window.monitor().initCallerID(), initCallerID);
    QVERIFY(!window.ncidServer()); // nothing listens on the network unless the user asks for it
    QStringList header;
    for (int column = 0; column < 3; ++column)
        header << window.FlexGrid->model()->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(header, QStringList({"Date & Time", "Caller Number", "Caller Name"}));
    QVERIFY(!window.FlexGrid->model()->headerData(3, Qt::Horizontal).isValid());
    QCOMPARE(window.FlexGrid->Rows(), 2);
    QCOMPARE(window.lblstart->text(), QStringLiteral("Start"));

    // The welcome is said 1.5 seconds after the load, once; a second arming speaks only the last text.
    program.clock.advance(1499);
    QCOMPARE(program.spoken, QStringList());
    program.clock.advance(1);
    QCOMPARE(program.spoken, QStringList({"stop", "say:Welcome to. Nimbrel"}));
    window.armSpeech("Ann is calling");
    program.clock.advance(700);
    window.armSpeech("Bob is calling");
    program.clock.advance(5000);
    QCOMPARE(program.spoken, QStringList({"stop", "say:Welcome to. Nimbrel", "stop", "say:Bob is calling"}));
    QCOMPARE(program.speechEnginesMade, 1);
}

void tst_frmLineInfo::unloadSavesOnlyInTheNormalState_data()
{
    QTest::addColumn<bool>("minimized");
    QTest::newRow("normal window saves options and position") << false;
    QTest::newRow("minimised window saves nothing") << true;
}

void tst_frmLineInfo::unloadSavesOnlyInTheNormalState()
{
    QFETCH(bool, minimized);
    TestProgram program("accept=AT+VCID=1");
    program.settings.setValue("Properties/InitCallerID", "AT+VCID=1");
    program.settings.setValue("Properties/UseNameList", "1");
    program.load();
    program.window->move(150, 90);
    if (minimized)
        program.window->setWindowState(Qt::WindowMinimized);
    program.startMonitoring();
    program.unload();
    program.settings.sync();
    QCOMPARE(program.settings.contains("Window/Top"), !minimized);
    if (!minimized) {
        QCOMPARE(program.settings.value("Window/Top").toString(), QStringLiteral("1350"));
        QCOMPARE(program.settings.value("Window/Left").toString(), QStringLiteral("2250"));
        QCOMPARE(program.settings.value("Properties/UseNameList").toString(), QStringLiteral("True"));
        QCOMPARE(program.settings.value("Properties/InitCallerID").toString(), QStringLiteral("AT+VCID=1"));
    } else {
        QCOMPARE(program.settings.value("Properties/UseNameList").toString(), QStringLiteral("1"));
    }
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());
}

void tst_frmLineInfo::positionIsRestoredWhenVisible_data()
{
    QTest::addColumn<QString>("stored"); // "Window" keys and values
    QTest::addColumn<QPoint>("position");
    QTest::newRow("on the screen") << "Left=1500;Top=3000" << QPoint(100, 200);
    QTest::newRow("on a screen that is gone") << "Left=90000;Top=3000" << QPoint(0, 0);
    QTest::newRow("partly off the screen (saved at another scale): wholly on it")
        << "Left=10500;Top=10500" << QPoint(800 - 393, 800 - 240); // the offscreen screen is 800 by 800
    QTest::newRow("half a position is none") << "Top=3000" << QPoint(0, 0);
}

void tst_frmLineInfo::positionIsRestoredWhenVisible()
{
    QFETCH(QString, stored);
    QFETCH(QPoint, position);
    TestProgram program;
    for (const QString& entry : stored.split(';'))
        program.settings.setValue("Window/" + entry.section('=', 0, 0), entry.section('=', 1));
    program.load();
    QCOMPARE(program.window->pos(), position);
}

void tst_frmLineInfo::startFailuresAreSaid_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("device"); // empty: the simulated modem
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("critical");
    QTest::newRow("a modem that does not answer")
        << "silent" << QString() << "Port 1 not responding" << false;
    QTest::newRow("a device that is not there")
        << "accept=AT#CID=1"
        << "/dev/ttyNIMBRELNONE"
        << "Cannot open comm port 1 (/dev/ttyNIMBRELNONE): No such device" << true;
}

void tst_frmLineInfo::startFailuresAreSaid()
{
    QFETCH(QString, profile);
    QFETCH(QString, device);
    QFETCH(QString, message);
    QFETCH(bool, critical);
    TestProgram program(profile);
    if (!device.isEmpty())
        program.settings.setValue("Ports/COM1", device);
    program.load();
    LineMonitor& monitor = program.window->monitor();
    monitor.startStopMonitoring();
    QVERIFY(TestSupport::runUntil(program.clock, program.modem, [&] { return !monitor.isStarting(); }));
    QCOMPARE(program.messages.size(), 1);
    QVERIFY2(program.messages.first().startsWith(message), qPrintable(program.messages.first()));
    QCOMPARE(program.icons.first() == MessageBox::Icon::Critical, critical);
    QCOMPARE(program.window->lblstart->text(), QStringLiteral("Start"));
}

void tst_frmLineInfo::commandsWhileMonitoring_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("refused");
    QTest::newRow("Setup is refused") << "lblComm" << true;
    QTest::newRow("Calls Database is refused") << "lblReport" << true;
    QTest::newRow("Phone List is refused") << "lbllist" << true;
    QTest::newRow("About works") << "lblAbout" << false;
    QTest::newRow("Exit works") << "lblExit" << false;
}

void tst_frmLineInfo::commandsWhileMonitoring()
{
    QFETCH(QString, label);
    QFETCH(bool, refused);
    TestProgram program;
    program.load();
    frmLineInfo& window = *program.window;
    QSignalSpy exit(&window, &frmLineInfo::exitRequested);
    const auto opened = [&] {
        return int(window.commSetup() != nullptr) + int(window.about() != nullptr)
               + int(window.report() != nullptr) + int(window.usersList() != nullptr) + exit.count();
    };
    auto* command = window.findChild<ButtonLabel*>(label);

    program.startMonitoring();
    QCOMPARE(ButtonLook::foreColor(command) == ButtonLook::refusedColor(), refused);
    press(command, Qt::LeftButton);
    QCOMPARE(ButtonLook::foreColor(command) == ButtonLook::kPressedColor, !refused);
    release(command, Qt::LeftButton);
    QCOMPARE(opened(), refused ? 0 : 1);

    window.monitor().startStopMonitoring();
    QCOMPARE(window.lblstart->text(), QStringLiteral("Start"));
    QCOMPARE(ButtonLook::foreColor(command), ButtonLook::kReleasedColor);
    press(command, Qt::LeftButton);
    release(command, Qt::LeftButton);
    QVERIFY(opened() > 0);
}

void tst_frmLineInfo::commandsAndWindowImages()
{
    TestProgram program;
    program.load();
    frmLineInfo& window = *program.window;
    window.show();
    QSignalSpy exit(&window, &frmLineInfo::exitRequested);
    press(window.imgExit, Qt::LeftButton);
    QCOMPARE(window.imgExit->frameShadow(), QFrame::Sunken); // no skin here: a plain panel, still visible
    QCOMPARE(exit.count(), 0);
    release(window.imgExit, Qt::RightButton); // any button's release runs the command
    QCOMPARE(ButtonLook::foreColor(window.lblExit), ButtonLook::kReleasedColor);
    QCOMPARE(exit.count(), 1);

    QTest::mouseClick(window.ImgMinimize, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(window.isMinimized());
    // A window box looks pressed under the left button only, and runs its command only for it.
    press(window.imgClose, Qt::RightButton);
    QCOMPARE(window.imgClose->frameShadow(), QFrame::Raised);
    release(window.imgClose, Qt::RightButton);
    QCOMPARE(exit.count(), 1);
    press(window.imgClose, Qt::LeftButton);
    QCOMPARE(window.imgClose->frameShadow(), QFrame::Sunken);
    release(window.imgClose, Qt::LeftButton);
    QCOMPARE(window.imgClose->frameShadow(), QFrame::Raised);
    QCOMPARE(exit.count(), 2);
    // The window manager's close (Alt+F4, the task bar) ends the program too, instead of hiding it.
    QVERIFY(!window.close());
    QCOMPARE(exit.count(), 3);
}

void tst_frmLineInfo::fitGridColumns()
{
    TestProgram program;
    program.load();
    frmLineInfo& window = *program.window;
    RecentCallsGrid& grid = *window.FlexGrid;
    const QFontMetricsF metrics(window.font());
    for (const QString& name : {QString(), QStringLiteral("Ann"), QString(30, 'W')}) {
        if (!name.isEmpty())
            grid.appendCall(call("5551234", name));
        grid.FitGridColumns(window.font(), window.twipsPerPixel());
        int sum = 0;
        for (int column = 0; column < 3; ++column) {
            QStringList texts{grid.model()->headerData(column, Qt::Horizontal).toString()};
            for (int row = 0; row < grid.model()->rowCount(); ++row)
                texts << grid.model()->index(row, column).data().toString();
            for (const QString& text : texts)
                QVERIFY2(grid.ColWidth(column) >= int(metrics.horizontalAdvance(text) * 15),
                         qPrintable(text));
            sum += grid.ColWidth(column);
        }
        // The columns fill the grid; a name too long for it is cut, and its column stays wholly in view.
        const int spare = (grid.viewport()->width() - 24) * 15 - sum;
        QVERIFY(grid.columnWidth(0) + grid.columnWidth(1) + grid.columnWidth(2) <= grid.viewport()->width());
        QVERIFY2(name.size() == 30 ? spare < 0 : spare >= 0 && spare < 3, qPrintable(QString::number(spare)));
    }
}

void tst_frmLineInfo::gridKeepsTheLatestCalls()
{
    RecentCallsGrid grid;
    grid.appendCall(call("1", QString(30, 'W')));
    grid.appendCall(call("2", "Unknown Caller"));
    grid.FitGridColumns(grid.font(), 15);
    const int withTheWidestName = grid.ColWidth(2);
    grid.updateLastCall(call("2", "Bo")); // a late name: the call before keeps its width
    grid.FitGridColumns(grid.font(), 15);
    QCOMPARE(grid.ColWidth(2), withTheWidestName);
    grid.updateLastCall(call("2", QString(31, 'W'))); // a late name wider than any widens its column
    grid.FitGridColumns(grid.font(), 15);
    const int withTheLateName = grid.ColWidth(2);
    QVERIFY(withTheLateName > withTheWidestName);
    QFont larger = grid.font(); // a new desktop font is measured again
    larger.setPointSizeF(larger.pointSizeF() * 2);
    grid.FitGridColumns(larger, 15);
    QVERIFY(grid.ColWidth(2) > withTheLateName);
    RecentCallsGrid atOnce; // and so is a new scale, as if it had been the first
    atOnce.appendCall(call("1", QString(30, 'W')));
    atOnce.appendCall(call("2", QString(31, 'W')));
    atOnce.FitGridColumns(larger, 30);
    grid.FitGridColumns(larger, 30);
    QCOMPARE(grid.ColWidth(2), atOnce.ColWidth(2));
    for (int i = 3; i <= RecentCallsGrid::kMaxCalls + 5; ++i) {
        grid.appendCall(call(QString::number(i), "Ann"));
        if (i % 1000 == 0)
            grid.FitGridColumns(grid.font(), 15);
    }
    grid.FitGridColumns(grid.font(), 15); // the widest name has gone with its call
    QVERIFY(grid.ColWidth(2) < QFontMetricsF(grid.font()).horizontalAdvance(QString(30, 'W')) * 15);
    QCOMPARE(grid.Rows(), RecentCallsGrid::kMaxCalls + 2);
    QCOMPARE(grid.TextMatrix(1, 1), QStringLiteral("6"));
    QCOMPARE(grid.TextMatrix(grid.Rows() - 2, 1), QString::number(RecentCallsGrid::kMaxCalls + 5));
    QCOMPARE(grid.TextMatrix(grid.Rows() - 1, 1), QString());
    QCOMPARE(grid.TextMatrix(0, 3), QString()); // no fourth column
    QCOMPARE(grid.TextMatrix(1, -1), QString());
}

void tst_frmLineInfo::newestCallIsAlwaysInView()
{
    TestProgram program;
    program.load();
    frmLineInfo& window = *program.window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    RecentCallsGrid* grid = window.FlexGrid;
    program.startMonitoring();
    for (int i = 0; i < 12; ++i) {
        program.play(QStringLiteral("RING\nNMBR=555%1\nNAME=%2\nRING\nwait")
                         .arg(i)
                         .arg(QString((i % 5 + 1) * 6, 'W'))
                         .toLatin1());
        const QModelIndex newest =
            grid->model()->index(grid->NextGridRow() - 2, 2); // the model has no header
        QCOMPARE(grid->TextMatrix(grid->NextGridRow() - 1, 1), QStringLiteral("555%1").arg(i));
        QCOMPARE(newest.data().toString(), QString((i % 5 + 1) * 6, 'W')); // the text the view draws
        QVERIFY2(grid->viewport()->rect().contains(grid->visualRect(newest)), qPrintable(QString::number(i)));
    }
}

void tst_frmLineInfo::playWave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("eventsWork");
    QTest::addColumn<QStringList>("played");
    const QString call = "event:phone-incoming-call";
    QTest::newRow("the doorbell file")
        << QByteArray("RIFF....WAVE") << true << QStringList{"file:/doorbell.wav"};
    QTest::newRow("no file: the desktop's call sound") << QByteArray() << true << QStringList{call};
    QTest::newRow("no file, no call sound: the bell, and the log says when nothing rang")
        << QByteArray() << false << QStringList{call, "event:bell"};
    QTest::newRow("not a wave file") << QByteArray("garbage") << true << QStringList{call};
}

void tst_frmLineInfo::playWave()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, eventsWork);
    QFETCH(QStringList, played);
    TestProgram program;
    if (!file.isEmpty())
        TestSupport::writeFile(program.dir.filePath("doorbell.wav"), file);
    program.sound.eventsWork = eventsWork;
    program.load();
    const QString silence =
        "Nimbrel: the doorbell is not heard: no sound could be played (no sound server or device)";
    QTest::failOnWarning(QRegularExpression("doorbell"));
    if (!eventsWork)
        QTest::ignoreMessage(QtWarningMsg, qPrintable(silence)); // once a run, not at every call
    QString name = "\\doorbell.wav";
    program.window->sound().PlayWave(name);
    QCOMPARE(name, program.dir.path() + "/doorbell.wav");
    played.replaceInStrings("file:", "file:" + program.dir.path());
    QCOMPARE(program.sound.played, played);
    program.window->sound().PlayDoorbell();
    QCOMPARE(program.sound.played, played + played);
}

void tst_frmLineInfo::keyboardAlone()
{
    TestProgram program;
    program.load();
    frmLineInfo& window = *program.window;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.FlexGrid->setFocus();
    QCOMPARE(tabStops(&window),
             (QStringList{"FlexGrid Table \"Recent calls\"", "imgstart Button \"Start\"",
                          "imgComm Button \"Setup...\"", "ImgReport Button \"Calls Database...\"",
                          "imgList Button \"Phone List...\"", "imgabout Button \"About...\"",
                          "imgExit Button \"Exit\""}));
    // Each pair is one push button, named by its caption; the caption itself is hidden from the reader.
    QAccessibleInterface* start = QAccessible::queryAccessibleInterface(window.imgstart);
    QCOMPARE(start->text(QAccessible::Accelerator), QStringLiteral("Alt+S"));
    QVERIFY(QAccessible::queryAccessibleInterface(window.lblstart)->state().invisible);
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(window.lblStatus);
    QCOMPARE(status->role(), QAccessible::StatusBar);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(window.FlexGrid);
    QCOMPARE(grid->tableInterface()->columnCount(), 3);

    // A whole call handled, and its caller added to the phone list, without the mouse.
    window.imgstart->setFocus();
    QTest::keyClick(window.imgstart, Qt::Key_Space);
    QVERIFY(
        TestSupport::runUntil(program.clock, program.modem, [&] { return window.monitor().isMonitoring(); }));
    QCOMPARE(start->text(QAccessible::Name), QStringLiteral("Stop"));
    QList<QWidget*> announced;
    Accessibility::setSink([&](QAccessibleEvent* event) {
        if (event->type() == QAccessible::Alert)
            announced << qobject_cast<QWidget*>(event->object());
    });
    program.play("RING\nNMBR=5550123\nRING");
    Accessibility::setSink({});
    QVERIFY(window.splash() && window.splash()->isVisible());
    QCOMPARE(announced, QList<QWidget*>{window.splash()});
    QAccessibleInterface* popUp = QAccessible::queryAccessibleInterface(window.splash());
    QCOMPARE(popUp->role(), QAccessible::Notification);
    QCOMPARE(popUp->text(QAccessible::Name), QStringLiteral("Incoming call: Unknown Caller, 5550123"));
    QCOMPARE(spoken(window.splash()->imgClose), QStringLiteral("Button \"Close\""));
    QCOMPARE(spoken(window.ImgMinimize), QStringLiteral("Button \"Minimize Window\""));
    QCOMPARE(status->text(QAccessible::Name), window.lblStatus->text());
    // The screen reader reads the call from the grid's cells.
    QAccessibleInterface* numberCell = grid->tableInterface()->cellAt(0, 1);
    QCOMPARE(numberCell->text(QAccessible::Name), QStringLiteral("5550123"));
    QCOMPARE(numberCell->text(QAccessible::Description), QString()); // said once, not twice
    QCOMPARE(grid->tableInterface()->rowDescription(0), QString());  // rows have no header to read
    window.activateWindow(); // offscreen Qt activates the pop-up; a window manager does not (see
                             // tst_frmsplash_x11)
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.splash() || !window.splash()->isVisible());
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier); // refused while monitoring
    QVERIFY(!window.usersList());
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    QVERIFY(!window.monitor().isMonitoring());
    window.FlexGrid->setFocus();
    QTest::keyClick(window.FlexGrid, Qt::Key_Home, Qt::ControlModifier); // the first call
    QTest::keyClick(window.FlexGrid, Qt::Key_Return);
    frmUsersList* list = window.usersList();
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->txtPhone->text(), QStringLiteral("5550123"));
    list->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(list));
    list->txtname->setFocus();
    QTest::keyClicks(list->txtname, "Carol");
    QTest::keyClick(list, Qt::Key_P, Qt::AltModifier); // the doorbell for her
    QVERIFY(QAccessible::queryAccessibleInterface(list->imgSound)->state().checked);
    QTest::keyClick(list->txtname, Qt::Key_Return);
    QCOMPARE(list->lstphonedir->count(), 1);
    QCOMPARE(list->lstphonedir->item(0)->text(), QStringLiteral("Carol-5550123"));
    QCOMPARE(TestSupport::readRows(program.databasePath(), "SELECT Name, number, sound FROM UsersList"),
             QStringList{"Carol|5550123|1"});
    QVERIFY(QAccessible::queryAccessibleInterface(list->imgSound)->state().checked); // Enter keeps the check
    list->lstphonedir->setFocus();
    QTest::keyClick(list->lstphonedir, Qt::Key_Down); // the arrows pick a line as a click does
    QCOMPARE(list->txtname->text(), QStringLiteral("Carol"));
    QVERIFY(QAccessible::queryAccessibleInterface(list->imgSound)->state().checked);
    QTest::keyClick(list, Qt::Key_Escape);
    QTRY_VERIFY(!window.usersList());
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    QVERIFY(window.about() && window.about()->isVisible());
    QAccessible::queryAccessibleInterface(window.about()->imgClose)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(!window.about());
    QAccessible::queryAccessibleInterface(window.ImgMinimize)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(window.isMinimized());
}

void tst_frmLineInfo::everyWindowByKeyboard_data()
{
    QTest::addColumn<int>("mnemonic"); // with Alt, in the main window
    QTest::addColumn<QStringList>("stops");
    QTest::newRow("phone list") << int(Qt::Key_P)
                                << QStringList{"lstphonedir List \"Phone list\"",
                                               "txtname EditableText \"Name\"",
                                               "txtPhone EditableText \"Number\"",
                                               "imgSound CheckBox \"Play sound with this number\"",
                                               "imgAdd Button \"Add\"",
                                               "imgRemove Button \"Remove\"",
                                               "imgUpdate Button \"Update\"",
                                               "imgTest Button \"Speak\"",
                                               "imgCancel Button \"Close\""};
    QTest::newRow("calls database") << int(Qt::Key_C)
                                    << QStringList{"txtStartDate SpinBox \"Start Date:\"",
                                                   "txtstarttime ComboBox \"Start Time\"",
                                                   "txtEndDate SpinBox \"End Date\"",
                                                   "txtendtime ComboBox \"End Time\"",
                                                   "imgCreate Button \"Create Report\"",
                                                   "imgDelete Button \"Clear Database\"",
                                                   "imgClose Button \"Close\""};
    QTest::newRow("setup") << int(Qt::Key_U)
                           << QStringList{"lstmdm ComboBox \"Select the modem\"",
                                          "ImgNameList CheckBox \"Announce Name from Phone List\"",
                                          "ImgAutostart CheckBox \"Start Nimbrel when I log in\"",
                                          "txtSource EditableText \"Calls from:\"",
                                          "imgOK Button \"OK\"",
                                          "imgCancel Button \"Cancel\""};
    QTest::newRow("about") << int(Qt::Key_A)
                           << QStringList{"imgHelp Button \"Help\"", "imgClose Button \"Close\""};
}

void tst_frmLineInfo::everyWindowByKeyboard()
{
    QFETCH(int, mnemonic);
    QFETCH(QStringList, stops);
    TestProgram program;
    program.load();
    frmLineInfo& window = *program.window;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QList<QWidget*> before = QApplication::topLevelWidgets();
    const auto openByMnemonic = [&]() -> QWidget* {
        QTest::keyClick(&window, Qt::Key(mnemonic), Qt::AltModifier);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!before.contains(top) && top->isVisible())
                return top;
        }
        return nullptr;
    };
    QWidget* dialog = openByMnemonic();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QCOMPARE(tabStops(dialog), stops);

    // Its caption names the window; Escape closes it, and so does Alt+C.
    QCOMPARE(QAccessible::queryAccessibleInterface(dialog)->text(QAccessible::Name), dialog->windowTitle());
    QPointer<QWidget> open = dialog;
    QTest::keyClick(dialog, Qt::Key_Escape);
    QTRY_VERIFY(!open);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    open = openByMnemonic();
    QVERIFY(open);
    QVERIFY(QTest::qWaitForWindowActive(open));
    QTest::keyClick(open, Qt::Key_C, Qt::AltModifier); // its Close, or Cancel
    QTRY_VERIFY(!open);
}

QTEST_MAIN(tst_frmLineInfo)
#include "tst_frmlineinfo.moc"
