#include "TestProgram.h"

#include "ButtonLabel.h"
#include "MessageBox.h"
#include "RecentCallsGrid.h"
#include "TestSupport.h"

#include <QTest>

TestProgram::TestProgram(const QString& profile)
    : modem(ModemProfile::fromText(profile, nullptr))
    , settings(dir.filePath(QStringLiteral("config/Nimbrel/Nimbrel.conf")), QSettings::IniFormat)
{
    QString error;
    if (!modem.start(&error))
        qFatal("%s", qPrintable(error));
    settings.setValue(QStringLiteral("Properties/CommPort"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    MessageBox::setSink([this](const QString& text, MessageBox::Icon icon) {
        messages << text;
        icons << icon;
        return answerYes;
    });
}

TestProgram::~TestProgram()
{
    MessageBox::setSink({});
}

void TestProgram::load()
{
    const MonitorDevices devices{clock,
                                 sound,
                                 viewer,
                                 help,
                                 [this](const QString&) {
                                     ++speechEnginesMade;
                                     return std::make_unique<FakeSpeech>(spoken);
                                 },
                                 dir.path()};
    window = std::make_unique<frmLineInfo>(devices, AppPaths(dir.path(), dir.path()), settings);
    QString error;
    QVERIFY2(window->Form_Load(&error), qPrintable(error));
}

void TestProgram::unload()
{
    window->Form_Unload();
    window.reset();
}

void TestProgram::startMonitoring()
{
    window->monitor().startStopMonitoring();
    QVERIFY(TestSupport::runUntil(clock, modem, [this] { return window->monitor().isMonitoring(); }));
    QCOMPARE(window->lblstart->text(), QStringLiteral("Stop"));
}

void TestProgram::play(const QByteArray& lines)
{
    for (const QByteArray& line : lines.split('\n')) {
        if (line == "wait") {
            TestSupport::waitForQuietLine(modem); // the lines before it are read before time passes
            clock.advance(9000);
        } else
            modem.sendLine(line);
    }
    TestSupport::waitForQuietLine(modem);
}

void TestProgram::playScenario(const QList<ScenarioPlayer::Step>& steps)
{
    for (const ScenarioPlayer::Step& step : steps) {
        switch (step.kind) {
        case ScenarioPlayer::Step::Line:
            modem.sendLine(step.bytes);
            break;
        case ScenarioPlayer::Step::Raw:
            modem.sendRaw(step.bytes);
            break;
        case ScenarioPlayer::Step::Wait:
            TestSupport::waitForQuietLine(modem);
            clock.advance(step.waitMs);
            break;
        case ScenarioPlayer::Step::Unplug:
            TestSupport::waitForQuietLine(modem);
            modem.unplug();
            break;
        }
    }
    TestSupport::waitForQuietLine(modem);
}

QStringList TestProgram::calls() const
{
    return TestSupport::readRows(databasePath(),
                                 QStringLiteral("SELECT id, number, name FROM PhoneCalls ORDER BY rowid"));
}

QStringList TestProgram::gridRows() const
{
    QStringList rows;
    for (int row = 1; row < window->FlexGrid->Rows() - 1; ++row)
        rows << window->FlexGrid->TextMatrix(row, 1) + QLatin1Char('|')
                    + window->FlexGrid->TextMatrix(row, 2);
    return rows;
}
