#include "platform/forms/ControlContainer.h"

#include <QApplication>

ControlContainer& ControlContainer::RunTime() {
    static ControlContainer container;
    return container;
}

void ControlContainer::PropertyChanged(const QString& name) {
    changed_.append(name);
    if (handler_)
        handler_(name);
}

QFont ControlContainer::AmbientFont() const {
    if (hasAmbientFont_)
        return ambientFont_;
    // The windows' default font.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}
