#include "platform/forms/PictureAccessible.h"

#include <QAccessible>
#include <QWidget>
#include <map>
#include <string>

namespace {
using PressFinder = std::function<std::function<void()>(QObject*)>;
struct PictureClass {
    std::function<bool(QObject*)> isPicture;
    PressFinder press;
};

std::map<std::string, PictureClass>& Classes() {
    static std::map<std::string, PictureClass> classes;
    return classes;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    const auto it = Classes().find(className.toStdString());
    if (it == Classes().end() || !object->isWidgetType() || !it->second.isPicture(object))
        return nullptr;
    std::function<std::function<void()>()> press;
    if (const PressFinder& find = it->second.press)
        press = [find, object] { return find(object); };
    return new PictureAccessible(static_cast<QWidget*>(object), std::move(press));
}
} // namespace

PictureAccessible::PictureAccessible(QWidget* picture, std::function<std::function<void()>()> press)
    : QAccessibleWidget(picture, QAccessible::Graphic)
    , press_(std::move(press)) {}

QAccessible::Role PictureAccessible::role() const {
    return Press() ? QAccessible::Link : QAccessible::Graphic;
}

QAccessible::State PictureAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (widget()->accessibleName().isEmpty())
        s.invisible = true;
    return s;
}

QStringList PictureAccessible::actionNames() const {
    return Press() ? QStringList{pressAction()} : QStringList{};
}

void PictureAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction())
        return;
    if (const std::function<void()> press = Press())
        press();
}

void InstallPictureAccessibility(const char* className, std::function<bool(QObject*)> isPicture,
                                 PressFinder press) {
    if (Classes().empty())
        QAccessible::installFactory(Factory);
    Classes().emplace(className, PictureClass{std::move(isPicture), std::move(press)});
}
