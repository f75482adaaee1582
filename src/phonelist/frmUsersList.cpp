#include "frmUsersList.h"

#include "ButtonLabel.h"
#include "ImageButton.h"
#include "MessageBox.h"
#include "SkinStore.h"
#include "SpeechService.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace
{

constexpr int kButtonWidth = 78;
constexpr int kButtonHeight = 22;
constexpr int kEntryRole = Qt::UserRole;

} // namespace

frmUsersList::frmUsersList(SkinStore& skins, SpeechService& speech, CallStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_skins(skins)
    , m_speech(speech)
    , m_phoneList(store)
{
    lblcaption = ImageButton::setUpDialog(this, QStringLiteral("frmUsersList"), QStringLiteral("Phone List"),
                                          QSize(385, 281));
    lstphonedir = new QListWidget(this);
    lstphonedir->setObjectName(QStringLiteral("lstphonedir"));
    lstphonedir->setGeometry(8, 22, 196, 250);
    // Lines wider than the list can be scrolled sideways.
    lstphonedir->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstphonedir->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    lstphonedir->setAccessibleName(QStringLiteral("Phone list"));
    lblname = new QLabel(QStringLiteral("Name"), this);
    lblname->move(214, 24);
    txtname = new QLineEdit(this);
    txtname->setObjectName(QStringLiteral("txtname"));
    txtname->setGeometry(214, 40, 162, 22);
    lblname->setBuddy(txtname);
    lblnumber = new QLabel(QStringLiteral("Number"), this);
    lblnumber->move(214, 68);
    txtPhone = new QLineEdit(this);
    txtPhone->setObjectName(QStringLiteral("txtPhone"));
    txtPhone->setGeometry(214, 84, 162, 22);
    lblnumber->setBuddy(txtPhone);
    const ImageButton::Parts sound = ImageButton::addCheckBox(
        this, QStringLiteral("imgSound"), {214, 116}, QStringLiteral("Play sound with this number"),
        QRect(236, 110, 140, 30), QKeySequence(Qt::ALT | Qt::Key_P));
    imgSound = sound.image;
    lblsound = sound.label;

    const auto at = [](int x, int y) { return QRect(x, y, kButtonWidth, kButtonHeight); };
    const auto button = [this](const ImageButton::NamedButton& named) {
        ImageButton::addNamed(this, m_skins, m_buttons, named);
    };
    button({imgAdd, lblAdd, QStringLiteral("Add"), QStringLiteral("Add"), at(214, 150), Qt::Key_A,
            [this](bool byLabel) { add(byLabel); }});
    button({ImgRemove, lblRemove, QStringLiteral("Remove"), QStringLiteral("Remove"), at(298, 150), Qt::Key_R,
            [this](bool) { remove(); }});
    button({imgUpdate, lblUpdate, QStringLiteral("Update"), QStringLiteral("Update"), at(214, 178), Qt::Key_U,
            [this](bool) { update(); }});
    button({imgTest, lblTest, QStringLiteral("Test"), QStringLiteral("Speak"), at(298, 178), Qt::Key_S,
            [this](bool) { m_speech.SpeakText(txtname->text()); }});
    button({imgCancel, lblCancel, QStringLiteral("Cancel"), QStringLiteral("Close"), at(298, 250), Qt::Key_C,
            [this](bool) { close(); }});
    connect(lstphonedir, &QListWidget::itemClicked, this, &frmUsersList::lstphonedir_Click);
    // The arrow keys pick a line as a click does.
    connect(lstphonedir, &QListWidget::currentItemChanged, this, [this](const QListWidgetItem* item) {
        if (item && lstphonedir->hasFocus())
            lstphonedir_Click();
    });
    connect(imgSound, &ButtonLabel::released, this, &frmUsersList::imgSound_MouseUp);
    // Enter in a box: Update when a line of the list is selected, else Add.
    for (QLineEdit* box : {txtname, txtPhone}) {
        connect(box, &QLineEdit::returnPressed, this, [this] {
            const QListWidgetItem* item = lstphonedir->currentItem();
            if (item && item->isSelected())
                update();
            else
                add(false);
        });
    }
}

void frmUsersList::Form_Load(const QString& unknownNumber)
{
    ImageButton::loadWindow(this, m_skins, m_buttons);
    showSound(false);
    lblcaption->move(8, 2);
    fillList();
    txtPhone->setText(unknownNumber.trimmed());
}

void frmUsersList::fillList()
{
    lstphonedir->clear();
    txtname->clear();
    txtPhone->clear();
    QString error;
    const QList<PhoneListEntry> entries = m_phoneList.FillPhoneList(&error);
    for (const PhoneListEntry& entry : entries) {
        auto* item = new QListWidgetItem(entry.line(), lstphonedir);
        item->setData(kEntryRole, QVariant::fromValue(entry.rowId));
        item->setData(kEntryRole + 1, entry.id);
        item->setData(kEntryRole + 2, entry.name);
        item->setData(kEntryRole + 3, entry.number);
        item->setData(kEntryRole + 4, entry.sound);
    }
    report(error.isEmpty(), error);
}

void frmUsersList::lstphonedir_Click()
{
    const QListWidgetItem* item = lstphonedir->currentItem();
    if (!item)
        return;
    // The line's own row, not the first row that shares its name or number.
    txtname->setText(item->data(kEntryRole + 2).toString());
    txtPhone->setText(item->data(kEntryRole + 3).toString());
    m_selectedRowId = item->data(kEntryRole).toLongLong();
    SelectedEntryId = item->data(kEntryRole + 1).toLongLong();
    showSound(item->data(kEntryRole + 4).toBool());
}

void frmUsersList::imgSound_MouseUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        showSound(!m_soundOn);
}

void frmUsersList::showSound(bool on)
{
    m_soundOn = on;
    ImageButton::setChecked(imgSound, m_skins, on);
}

bool frmUsersList::report(bool done, const QString& error)
{
    if (!error.isEmpty())
        MessageBox::show(this, error, MessageBox::Icon::Warning);
    return done;
}

void frmUsersList::add(bool byLabel)
{
    QString error;
    if (report(m_phoneList.AddPhoneListEntry(txtname->text(), txtPhone->text(), m_soundOn, &error), error)) {
        fillList();
        if (byLabel)
            showSound(false);
    }
}

void frmUsersList::remove()
{
    const QListWidgetItem* item = lstphonedir->currentItem();
    if (!item || !item->isSelected())
        return;
    QString error;
    if (report(m_phoneList.RemovePhoneListEntry(item->data(kEntryRole).toLongLong(), &error), error))
        fillList();
}

void frmUsersList::update()
{
    if (m_selectedRowId == 0)
        return;
    QString error;
    if (report(m_phoneList.UpdatePhoneListEntry(m_selectedRowId, txtname->text(), txtPhone->text(), m_soundOn,
                                                &error),
               error))
        fillList();
}
