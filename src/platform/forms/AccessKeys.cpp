#include "platform/forms/AccessKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QSet>
#include <QShortcutEvent>

namespace AccessKeys {
namespace {

// The control that `key` reaches through `carrier`, or null: a button is reached itself, a
// label through its buddy. Hidden and disabled carriers take no key.
QWidget* Reached(QWidget* carrier, const QKeySequence& key) {
    if (!carrier->isVisible() || !carrier->isEnabled())
        return nullptr;
    QWidget* target = nullptr;
    QString caption;
    if (auto* button = qobject_cast<QAbstractButton*>(carrier)) {
        target = button;
        caption = button->text();
    } else if (auto* label = qobject_cast<QLabel*>(carrier)) {
        target = label->buddy();
        caption = label->text();
    }
    if (!target || target->focusPolicy() == Qt::NoFocus || !target->isVisible() ||
        !target->isEnabled() || QKeySequence::mnemonic(caption) != key)
        return nullptr;
    return target;
}

// Qt takes turns between the controls of a shared key by counting repeated presses, wherever
// the focus is; the turn is taken here instead, from the focused control.
class SharedKeyFilter final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut || !watched->isWidgetType())
            return false;
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous())
            return false;
        return FocusNextSharing(*static_cast<QWidget*>(watched)->window(), shortcut->key());
    }
};

} // namespace

void FollowFocus() {
    static SharedKeyFilter* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new SharedKeyFilter(qApp);
    qApp->installEventFilter(filter);
}

bool FocusNextSharing(QWidget& window, const QKeySequence& key) {
    QSet<QWidget*> targets;
    for (QWidget* carrier : window.findChildren<QWidget*>())
        if (QWidget* target = Reached(carrier, key))
            targets.insert(target);
    if (targets.isEmpty())
        return false;
    QWidget* start = window.focusWidget() ? window.focusWidget() : &window;
    // The focus chain is a ring through every widget of the window; one round finds the next.
    for (QWidget* w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain())
        if (targets.contains(w)) {
            w->setFocus(Qt::ShortcutFocusReason);
            window.setAttribute(Qt::WA_KeyboardFocusChange);
            return true;
        }
    // The focused control is the only one the key reaches: it keeps the focus.
    return targets.contains(start);
}

} // namespace AccessKeys
