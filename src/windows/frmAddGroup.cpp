#include "windows/frmAddGroup.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/McListBox/McListBox.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/KeyCodes.h"
#include "platform/forms/Locale.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/WindowStyle.h"

namespace {
const QString kCaption = QStringLiteral("Add Group");
const QString kDesign = QStringLiteral(":/windows/frmAddGroup.json");
constexpr uint32_t kGreen = 0x00008000;

void Warn(const QString& text) {
    MessageBox(text, MsgBox::kExclamation, kCaption);
}
} // namespace

frmAddGroup::frmAddGroup(QWidget* parent)
    : Form(parent) {
    WindowStyle::PrepareEmblem(*this, kDesign);
    WindowStyle::SetUpWindow(*this, QStringLiteral("frmAddGroup"), kCaption,
                             QStringLiteral(":/windows/add-group-icon.svg"), 7095, 3420,
                             0x00C0FFC0);

    Image1 = WindowStyle::MakePicture(this, QStringLiteral("Image1"),
                                      QStringLiteral(":/windows/add-group-header.svg"), 0, 0, 7095,
                                      1215, true);
    TransPicBox1 = WindowStyle::MakeEmblem(*this);
    Label1 = WindowStyle::MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Add New Group"),
                                    2160, 120, 4455, 1095,
                                    WindowStyle::Font(QStringLiteral("Impact"), 36), kGreen);
    Label2 = WindowStyle::MakeLabel(this, QStringLiteral("Label2"),
                                    QStringLiteral("Enter Group Name:"), 240, 1440, 3615, 495,
                                    WindowStyle::Font(QStringLiteral("Impact"), 12), kGreen);
    // No limit of its own: Qt's largest.
    txtGroup =
        WindowStyle::MakeTextBox(this, QStringLiteral("txtGroup"), 240, 1800, 4095, 495, 32767);
    txtGroup->setFont(WindowStyle::Font(QStringLiteral("Arial"), 12, true));
    cmdAdd = WindowStyle::MakeButton(this, QStringLiteral("cmdAdd"), QStringLiteral("Add &Now"),
                                     4560, 1800, 2415, 615, 0x00FF8080);
    cmdClose = WindowStyle::MakeButton(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                                       4560, 2520, 2415, 615, 0x008080FF);

    Label2->setBuddy(txtGroup);
    WindowStyle::TabOrder({txtGroup, cmdAdd, cmdClose});

    WindowStyle::Handle(cmdAdd, &QPushButton::clicked, this, &frmAddGroup::cmdAdd_Click);
    WindowStyle::Handle(cmdClose, &QPushButton::clicked, this, &frmAddGroup::cmdClose_Click);
    WindowStyle::Handle(txtGroup, &TextBox::GotFocus, this, &frmAddGroup::txtGroup_GotFocus);
    WindowStyle::Handle(txtGroup, &TextBox::KeyUp, this, &frmAddGroup::txtGroup_KeyUp);
}

void frmAddGroup::Form_Load() {
    txtGroup->clear();
    WindowStyle::LoadEmblem(*TransPicBox1, kDesign, 120, -120, 1575, 1575);
    MoveClientToTwips(3930, 3675);
    FocusWhenShown(txtGroup);
}

bool frmAddGroup::validateGroup() {
    const QString name = Locale::TrimSpaces(txtGroup->text());
    if (name.isEmpty()) {
        Warn(QStringLiteral("Group Name must not be empty."));
        return false;
    }
    // The lists keep a row's parts joined by this mark: a name holding it would break its row.
    if (name.contains(McListBox::kSeparator)) {
        Warn(QStringLiteral("Group Name must not contain %1.").arg(McListBox::kSeparator));
        return false;
    }
    return true;
}

void frmAddGroup::cmdAdd_Click() {
    if (!validateGroup())
        return;
    const QString name = Locale::TrimSpaces(txtGroup->text());
    auto groups = Module1::OpenRecordset(Statements::S1());
    if (groups->RecordCount() > 0) {
        groups->MoveFirst();
        // Names compare without regard to letter case, as everywhere else in the program.
        groups->Find(Statements::F1(name));
        if (!groups->Eof()) {
            Warn(QStringLiteral("Group Name already exists."));
            return;
        }
    }
    Module1::DbConnection().Execute(Statements::S7(Module1::CurrentUserID(), name));
    MessageBox(QStringLiteral("Group successfully added."), MsgBox::kInformation, kCaption);
    hide();
    Module1::RefreshLists();
}

void frmAddGroup::cmdClose_Click() {
    hide();
}

void frmAddGroup::txtGroup_GotFocus() {
    txtGroup->SelectAllText();
}

void frmAddGroup::txtGroup_KeyUp(int KeyCode, int /*Shift*/) {
    if (KeyCode == KeyCodes::kEnter)
        cmdAdd->setFocus(Qt::OtherFocusReason);
}
