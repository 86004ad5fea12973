#include "app/DueReminder.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "platform/RuntimeError.h"
#include "platform/db/Recordset.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QThread>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <exception>

namespace DueReminder {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

constexpr qsizetype kNamesShown = 5;

// A day change is looked for at least this often: the timer's clock stands still while the
// machine sleeps, and the wall clock may be set.
constexpr qint64 kLongestWaitMs = 15 * 60 * 1000;
constexpr int kLongestFirstWaitMs = 2000;

// A dated name reads as the program shows dates, in English whatever the user's language.
QString ShortDate(QDate date, QDate today) {
    return QLocale(QLocale::English)
        .toString(date, date.year() == today.year() ? QStringLiteral("d MMM")
                                                    : QStringLiteral("d MMM yyyy"));
}

// Without an address libdbus would start a bus of its own through the display server; a
// reminder never starts one.
bool SessionBusAddressKnown() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

std::optional<QDate> ReadableDate(const Variant& value) {
    if (value.IsNull())
        return std::nullopt;
    try {
        return value.ToDate();
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace

std::vector<DueTodo> Collect(const QString& currentUserId, QDate today) {
    std::vector<DueTodo> due;
    auto rows = Module1::OpenRecordset(Statements::DueTodos(currentUserId));
    if (rows->RecordCount() == 0)
        return due;
    rows->MoveFirst();
    const Field name = rows->Fields(QStringLiteral("TaskName"));
    const Field date = rows->Fields(QStringLiteral("DueDate"));
    for (; !rows->Eof(); rows->MoveNext()) {
        // A date is read as the main window reads it to show it; a value written by other
        // means that reads as none says nothing about when the to-do is due.
        const std::optional<QDate> when = ReadableDate(date.Value());
        if (when && *when <= today)
            due.push_back({name.Value().ToString(), *when});
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DueTodo& a, const DueTodo& b) { return a.due < b.due; });
    return due;
}

QString Summary() {
    return QStringLiteral("Pelmoran Todo List");
}

QString Body(const std::vector<DueTodo>& due, QDate today, bool markup) {
    const auto overdue =
        std::count_if(due.begin(), due.end(), [today](const DueTodo& t) { return t.due < today; });
    const auto dueToday = static_cast<qsizetype>(due.size()) - overdue;
    QStringList names;
    for (const DueTodo& todo : due) {
        if (names.size() == kNamesShown)
            break;
        QString name = markup ? todo.name.toHtmlEscaped() : todo.name;
        if (todo.due < today)
            name += QStringLiteral(" (") + ShortDate(todo.due, today) + u')';
        names.append(name);
    }
    QString body = QStringLiteral("%1 due today, %2 overdue: ").arg(dueToday).arg(overdue) +
                   names.join(QStringLiteral(", "));
    const auto more = static_cast<qsizetype>(due.size()) - names.size();
    if (more > 0)
        body += QStringLiteral(" and %1 more").arg(more);
    return body;
}

Notifier::Notifier(QWidget& mainWindow, QObject* parent)
    : QObject(parent)
    , mainWindow_(&mainWindow)
    , dayTimer_(new QTimer(this)) {
    dayTimer_->setSingleShot(true);
    connect(dayTimer_, &QTimer::timeout, this, [this] {
        if (QDate::currentDate() != checkedDay_)
            Check();
        else
            ArmDayTimer();
    });
}

Notifier::~Notifier() {
    if (connecting_)
        connecting_->wait();
}

void Notifier::Start() {
    // The first look waits for the main window's first paint, so that neither the reading
    // nor the sending comes between the log-in and the window the user is waiting for. A
    // window the screen already shows has painted (its lists let events run while they
    // fill); one never shown, minimised for one, is not waited on for long.
    const QWindow* window = mainWindow_ ? mainWindow_->windowHandle() : nullptr;
    if (window && window->isExposed()) {
        FirstCheck();
        return;
    }
    if (mainWindow_)
        mainWindow_->installEventFilter(this);
    QTimer::singleShot(kLongestFirstWaitMs, this, &Notifier::FirstCheck);
}

bool Notifier::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainWindow_ && event->type() == QEvent::Paint)
        FirstCheck();
    return QObject::eventFilter(watched, event);
}

void Notifier::FirstCheck() {
    if (started_)
        return;
    started_ = true;
    if (mainWindow_)
        mainWindow_->removeEventFilter(this);
    // After the paint under way has reached the screen.
    QTimer::singleShot(0, this, &Notifier::Check);
}

void Notifier::Check() {
    checkedDay_ = QDate::currentDate();
    ArmDayTimer();
    std::vector<DueTodo> due;
    try {
        due = Collect(Module1::CurrentUserID(), checkedDay_);
    } catch (const std::exception&) {
        // A reminder that cannot be read is not worth a message over the user's work.
        return;
    }
    if (due.empty())
        return;
    pending_ = std::move(due);
    pendingDay_ = checkedDay_;
    Deliver();
}

void Notifier::ArmDayTimer() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    // A second past midnight, so that the timer firing a little early still finds the new day.
    const qint64 wait = std::clamp<qint64>(now.msecsTo(midnight) + 1000, 1000, kLongestWaitMs);
    dayTimer_->start(static_cast<int>(wait));
}

void Notifier::Deliver() {
    if (!pending_)
        return;
    switch (bus_) {
    case Bus::Unknown:
        ConnectBus();
        return;
    case Bus::Connecting:
        return;
    case Bus::Absent:
        pending_.reset();
        return;
    case Bus::Ready:
        break;
    }
    if (!markup_) {
        if (!askingCapabilities_)
            AskCapabilities();
        return;
    }
    Send();
}

void Notifier::ConnectBus() {
    bus_ = Bus::Connecting;
    // Connecting waits on the bus's answer to our greeting; on this thread a stuck bus would
    // freeze every window.
    connecting_ = QThread::create([this] {
        bool ready = SessionBusAddressKnown();
        if (ready) {
            QDBusConnection bus = QDBusConnection::sessionBus();
            // Any sender: naming the service would make the connection look up its owner
            // and wait for the answer. Only the notification service emits this signal on
            // this path, and the number it carries must be ours.
            ready = bus.isConnected() &&
                    bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                                SLOT(ActionInvoked(uint, QString)));
        }
        QMetaObject::invokeMethod(
            this,
            [this, ready] {
                bus_ = ready ? Bus::Ready : Bus::Absent;
                Deliver();
            },
            Qt::QueuedConnection);
    });
    connecting_->setParent(this);
    connecting_->start();
}

void Notifier::AskCapabilities() {
    askingCapabilities_ = true;
    const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                             QStringLiteral("GetCapabilities"));
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                askingCapabilities_ = false;
                const QDBusPendingReply<QStringList> reply = *finished;
                if (reply.isError()) {
                    // No notification service: this reminder is dropped, the next day's
                    // asks again.
                    pending_.reset();
                    return;
                }
                // A service that reads no markup shows an escaped name with its escapes.
                markup_ = reply.value().contains(QStringLiteral("body-markup"));
                Deliver();
            });
}

void Notifier::Send() {
    const QString body = Body(*pending_, pendingDay_, *markup_);
    pending_.reset();
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    // A new day's reminder takes the place of the last one rather than piling up beside it.
    // "default" is the press on the notification itself.
    call << Summary() << lastId_ << QString() << Summary() << body
         << QStringList{QStringLiteral("default"), QStringLiteral("Show"), QStringLiteral("show"),
                        QStringLiteral("Show")}
         << QVariantMap() << -1;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<uint> reply = *finished;
                if (!reply.isError())
                    lastId_ = reply.value();
            });
}

void Notifier::ActionInvoked(uint id, const QString& actionKey) {
    if (id == 0 || id != lastId_ || !mainWindow_)
        return;
    if (actionKey != QLatin1String("show") && actionKey != QLatin1String("default"))
        return;
    if (mainWindow_->isMinimized())
        mainWindow_->showNormal();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

} // namespace DueReminder
