#pragma once

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QThread;
class QTimer;
class QWidget;

// The reminder of the logged-in user's open to-dos that are due today or overdue, shown as one
// desktop notification through the session bus's notification service.
namespace DueReminder {

struct DueTodo {
    QString name;
    QDate due;
};

// The open to-dos of `currentUserId` due on `today` or before, the most overdue first (those
// due on one day in the database's order). A row whose due date is Null or no date is passed
// over. Reads through Module1::OpenRecordset; a failure reaches the caller.
std::vector<DueTodo> Collect(const QString& currentUserId, QDate today);

// The notification's summary: the program's name.
QString Summary();

// "2 due today, 1 overdue: Pay rent (3 Dec), Buy milk, Call Bob": the counts, then the names
// of the first five of `due` (an overdue one with its date, its year too when it is not this
// year's), then "and N more" for the rest. With `markup` (the service reads the body as
// markup) each name is escaped, so that it shows as typed.
QString Body(const std::vector<DueTodo>& due, QDate today, bool markup);

// Sends the reminder for Module1::CurrentUserID once the main window has painted, and again at
// every change of the calendar day; nothing when nothing is due. Nothing waits on the bus: the
// connection is made on a thread of its own and every call is asynchronous, and with no
// session bus or no notification service nothing happens at all. The notification's "Show"
// action brings the main window forward.
class Notifier : public QObject {
    Q_OBJECT
public:
    explicit Notifier(QWidget& mainWindow, QObject* parent = nullptr);
    ~Notifier() override;

    void Start();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    void ActionInvoked(uint id, const QString& actionKey);

private:
    enum class Bus { Unknown, Connecting, Ready, Absent };

    void FirstCheck();
    void Check();
    void ArmDayTimer();
    void Deliver();
    void ConnectBus();
    void AskCapabilities();
    void Send();

    QPointer<QWidget> mainWindow_;
    bool started_ = false;
    QTimer* dayTimer_ = nullptr;
    QDate checkedDay_;
    QThread* connecting_ = nullptr;
    Bus bus_ = Bus::Unknown;
    std::optional<bool> markup_;
    bool askingCapabilities_ = false;
    // What the next notification tells, until it has been handed to the service.
    std::optional<std::vector<DueTodo>> pending_;
    QDate pendingDay_;
    // The service's number for the last notification sent: the next one replaces it, and its
    // actions are the ones answered.
    uint lastId_ = 0;
};

} // namespace DueReminder
