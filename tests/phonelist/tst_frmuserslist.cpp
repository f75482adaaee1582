#include "Accessibility.h"
#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "RecentCallsGrid.h"
#include "TestProgram.h"
#include "TestSupport.h"
#include "frmUsersList.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace
{

void click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(widget, button, Qt::NoModifier, QPoint(4, 4));
}

QStringList listLines(const frmUsersList& editor)
{
    QStringList lines;
    for (int i = 0; i < editor.lstphonedir->count(); ++i)
        lines << editor.lstphonedir->item(i)->text();
    return lines;
}

void doubleClickCell(RecentCallsGrid* grid, int row, int column)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void clickLine(frmUsersList& editor, const QString& line, int occurrence = 1)
{
    for (int i = 0, seen = 0; i < editor.lstphonedir->count(); ++i) {
        QListWidgetItem* item = editor.lstphonedir->item(i);
        if (item->text() == line && ++seen == occurrence) {
            const QRect rect = editor.lstphonedir->visualItemRect(item);
            QTest::mouseClick(editor.lstphonedir->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
            return;
        }
    }
    QFAIL(qPrintable("no line " + line));
}

// Nimbrel with the phone list editor open on a few entries.
struct EditorRig {
    explicit EditorRig(const QStringList& entries = {"Ann|555|1", "Ann|111|0", "Jean-Paul|777|0"})
    {
        program.load();
        QStringList rows;
        for (const QString& entry : entries)
            rows << QString::number(rows.size() + 1) + '|' + entry;
        TestSupport::insertRows(program.window->store().connectionName(), "UsersList", rows);
        program.window->show();
        QTest::mouseClick(program.window->lbllist, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        editor = program.window->usersList();
        editor->show();
    }
    QStringList rows() const
    {
        return TestSupport::readRows(program.databasePath(), "SELECT id, Name, number, sound FROM UsersList");
    }
    TestProgram program;
    frmUsersList* editor = nullptr;
};

} // namespace

class tst_frmUsersList : public QObject
{
    Q_OBJECT
private slots:
    void listLinesFillTheBoxesFromTheirOwnRows();
    void takingOverAnUnknownNumber();
    void updateRewritesTheRowClicked();
    void removeActsOnTheSelectedLine();
    void doorbellCheck();
    void speak();
};

void tst_frmUsersList::listLinesFillTheBoxesFromTheirOwnRows()
{
    EditorRig rig;
    QCOMPARE(listLines(*rig.editor), QStringList({"Ann-111", "Ann-555", "Jean-Paul-777"}));
    const auto boxes = [&] {
        return QStringList{rig.editor->txtname->text(), rig.editor->txtPhone->text(),
                           QString::number(rig.editor->SelectedEntryId),
                           rig.editor->soundChecked() ? "1" : "0"}
            .join('|');
    };
    QCOMPARE(boxes(), QStringLiteral("||0|0"));
    for (const auto& [line, shown] : {std::pair{"Ann-555", "Ann|555|1|1"},
                                      {"Ann-111", "Ann|111|2|0"},
                                      {"Jean-Paul-777", "Jean-Paul|777|3|0"}}) {
        clickLine(*rig.editor, line);
        QCOMPARE(boxes(), QString(shown));
    }
}

void tst_frmUsersList::takingOverAnUnknownNumber()
{
    EditorRig rig;
    rig.editor->close();
    QTRY_VERIFY(!rig.program.window->usersList());
    rig.program.startMonitoring();
    rig.program.play("RING\nNMBR = 321\nwait\nRING\nNMBR=P\nwait\nRING\nNMBR=999");
    rig.program.window->monitor().startStopMonitoring();
    RecentCallsGrid* grid = rig.program.window->FlexGrid;
    doubleClickCell(grid, 0, 1); // the number, not the name
    doubleClickCell(grid, 1, 2); // a blocked caller
    QVERIFY(!rig.program.window->usersList());
    doubleClickCell(grid, 0, 2);
    frmUsersList* editor = rig.program.window->usersList();
    QVERIFY(editor);
    QCOMPARE(editor->txtPhone->text(), QStringLiteral("321"));
    editor->txtname->setText("Carol");
    click(editor->lblAdd);
    QVERIFY(listLines(*editor).contains("Carol-321"));
    QCOMPARE(editor->txtname->text(), QString());
    QCOMPARE(editor->txtPhone->text(), QString());
    // Shown again while open: not loaded anew.
    editor->txtPhone->setText("typing");
    doubleClickCell(grid, 2, 2);
    QCOMPARE(rig.program.window->usersList(), editor);
    QCOMPARE(editor->txtPhone->text(), QStringLiteral("typing"));
}

void tst_frmUsersList::updateRewritesTheRowClicked()
{
    EditorRig rig({"Ann|555|1", "Ann|555|0"});
    clickLine(*rig.editor, "Ann-555", 2);
    rig.editor->txtname->setText("Anne");
    click(rig.editor->imgUpdate);
    QCOMPARE(rig.rows(), QStringList({"1|Ann|555|1", "2|Anne|555|0"}));
    QCOMPARE(listLines(*rig.editor), QStringList({"Ann-555", "Anne-555"}));
    QCOMPARE(rig.editor->txtname->text(), QString());
    // Update before any click on a fresh editor does nothing.
    rig.editor->close();
    click(rig.program.window->lbllist);
    rig.program.window->usersList()->txtname->setText("X");
    rig.program.window->usersList()->txtPhone->setText("1");
    click(rig.program.window->usersList()->lblUpdate);
    QCOMPARE(rig.rows(), QStringList({"1|Ann|555|1", "2|Anne|555|0"}));
    QCOMPARE(rig.program.messages, QStringList());
}

void tst_frmUsersList::removeActsOnTheSelectedLine()
{
    EditorRig rig;
    click(rig.editor->lblRemove); // nothing selected: nothing happens
    QCOMPARE(rig.rows().size(), 3);
    clickLine(*rig.editor, "Ann-555");
    click(rig.editor->ImgRemove);
    QCOMPARE(rig.rows(), QStringList({"2|Ann|111|0", "3|Jean-Paul|777|0"}));
    // Update of the entry just removed says so, and keeps what was typed.
    rig.editor->txtname->setText("Anne");
    rig.editor->txtPhone->setText("555");
    click(rig.editor->lblUpdate);
    QCOMPARE(rig.program.messages.size(), 1);
    QVERIFY2(rig.program.messages.first().contains("no longer in the phone list"),
             qPrintable(rig.program.messages.first()));
    QCOMPARE(rig.editor->txtname->text(), QStringLiteral("Anne"));
    QCOMPARE(rig.rows().size(), 2);
    clickLine(*rig.editor, "Jean-Paul-777");
    click(rig.editor->lblRemove);
    QCOMPARE(listLines(*rig.editor), QStringList{"Ann-111"});
}

void tst_frmUsersList::doorbellCheck()
{
    EditorRig rig(QStringList{});
    click(rig.editor->imgSound, Qt::RightButton);
    click(rig.editor->lblsound);
    QVERIFY(!rig.editor->soundChecked());
    QStringList told; // what a screen reader hears of the change
    Accessibility::setSink([&](QAccessibleEvent* event) {
        if (event->type() == QAccessible::StateChanged
            && static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked)
            told << event->object()->objectName();
    });
    click(rig.editor->imgSound);
    Accessibility::setSink({});
    QVERIFY(rig.editor->soundChecked());
    QCOMPARE(told, QStringList{"imgSound"});
    // Added through the picture the check stays; through the caption it is cleared.
    for (QWidget* add :
         {static_cast<QWidget*>(rig.editor->imgAdd), static_cast<QWidget*>(rig.editor->lblAdd)}) {
        rig.editor->txtname->setText("Dave");
        rig.editor->txtPhone->setText("  444 ");
        click(add);
    }
    QCOMPARE(rig.rows(), QStringList({"1|Dave|444|1", "2|Dave|444|1"}));
    QVERIFY(!rig.editor->soundChecked());
    click(rig.editor->imgSound);
    click(rig.editor->imgSound);
    QVERIFY(!rig.editor->soundChecked());
}

void tst_frmUsersList::speak()
{
    EditorRig rig;
    rig.program.clock.advance(2000);
    rig.program.spoken.clear();
    click(rig.editor->lblTest);
    QCOMPARE(rig.program.spoken, QStringList({"stop", "say:"}));
    rig.editor->txtname->setText("Ann");
    QTest::mousePress(rig.editor->imgTest, Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(ButtonLook::foreColor(rig.editor->lblTest), ButtonLook::kReleasedColor);
    QTest::mouseRelease(rig.editor->imgTest, Qt::RightButton, Qt::NoModifier, QPoint(4, 4));
    QCOMPARE(rig.program.spoken.last(), QStringLiteral("say:Ann"));
}

QTEST_MAIN(tst_frmUsersList)
#include "tst_frmuserslist.moc"
