#include "platform/forms/WindowAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {
QAccessibleInterface* Factory(const QString& className, QObject* object) {
    // Only the class itself: a window class of the program derives from it and is asked
    // under its own name first, and a control inside a window is no window.
    if (className != QLatin1String("Form") || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}
} // namespace

void InstallWindowAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}
