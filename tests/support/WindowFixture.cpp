#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/PasswordHash.h"
#include "platform/db/Recordset.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>

void WindowFixture::SetUp() {
    Connection& connection = Module1::DbConnection();
    if (connection.IsOpen())
        connection.Close();
    connection.Open(database_.ConnectionString());
    Module1::SetProgramFolder(database_.Folder());
    MsgBox::SetResponder([this](const MsgBox::Call& call) {
        boxes_.push_back(call);
        return answer_;
    });
    ProgramEnd::ResetEnded();
    ProgramEnd::SetHandler([] {});
}

void WindowFixture::TearDown() {
    MsgBox::SetResponder(nullptr);
    ProgramEnd::SetHandler(nullptr);
    ProgramEnd::ResetEnded();
    // A poller left by a failed test must not act in the next one.
    for (QTimer* poller : qApp->findChildren<QTimer*>(QStringLiteral("WhenVisiblePoller"),
                                                      Qt::FindDirectChildrenOnly))
        delete poller;
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    Module1::DbConnection().Close();
}

void WindowFixture::AddAccount(int userId, const QString& name, const QString& password) {
    Module1::DbConnection().Execute(Statements::S12(userId, name, PasswordHash::Hash(password)));
}

int WindowFixture::CountAccounts(const QString& name) {
    auto accounts = Module1::OpenRecordset(Statements::S9());
    int count = 0;
    if (accounts->RecordCount() > 0)
        accounts->MoveFirst();
    while (!accounts->Eof()) {
        if (accounts->Fields(QStringLiteral("username")).Value().EqualsText(name))
            ++count;
        accounts->MoveNext();
    }
    return count;
}

QStringList WindowFixture::Column(const QString& query, const QString& column) {
    QStringList values;
    auto rows = Module1::OpenRecordset(Statement{query, {}});
    if (rows->RecordCount() > 0)
        rows->MoveFirst();
    while (!rows->Eof()) {
        values.append(rows->Fields(column).Value().ToString());
        rows->MoveNext();
    }
    return values;
}

bool WindowFixture::ProgramEnded() const {
    return ProgramEnd::HasEnded();
}

void WindowFixture::FocusIn(QWidget* window, QWidget* widget) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    widget->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
}

void Later(std::function<void()> action) {
    QTimer::singleShot(0, qApp, std::move(action));
}

void WhenVisible(std::function<QWidget*()> find, std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(qApp);
    timer->setObjectName(QStringLiteral("WhenVisiblePoller"));
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, find, action] {
        if (QWidget* window = find()) {
            timer->stop();
            timer->deleteLater();
            action(window);
        }
    });
    timer->start();
}

void ExpectLayout(QWidget* window, const std::vector<Placed>& controls) {
    for (const Placed& placed : controls) {
        const auto* control = window->findChild<QWidget*>(QLatin1String(placed.name));
        ASSERT_NE(control, nullptr) << placed.name;
        EXPECT_EQ(control->geometry(),
                  TwipsRect(placed.left, placed.top, placed.width, placed.height))
            << placed.name;
        if (placed.colour) {
            const QPalette::ColorRole role = qobject_cast<const QAbstractButton*>(control)
                                                 ? QPalette::Button
                                                 : QPalette::WindowText;
            EXPECT_EQ(control->palette().color(role), SystemColors::ToQColor(*placed.colour))
                << placed.name;
        }
        // A wrapping label's text must fit its rectangle, in the fonts that stand in for the
        // design's.
        if (const auto* label = qobject_cast<const QLabel*>(control);
            label && label->wordWrap() && !label->text().isEmpty()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << placed.name << " cuts off its text";
        }
    }
}

void Type(QWidget* widget, const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, one);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, one);
        QApplication::sendEvent(widget, &release);
    }
}
