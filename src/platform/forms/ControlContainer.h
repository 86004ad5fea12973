#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

// What a custom control sees of the window that holds it: the ambient font, whether the
// program runs (user mode) or the control sits on a design surface, and the "property
// changed" notification that marks the design as needing to be saved.
class ControlContainer {
public:
    // The container every control has until its window gives it its own: user mode on, the
    // application font as the ambient font.
    static ControlContainer& RunTime();

    void PropertyChanged(const QString& name);
    // Every notification received, in order; tests read it.
    const QStringList& ChangedProperties() const { return changed_; }
    void ClearChangedProperties() { changed_.clear(); }
    void SetPropertyChangedHandler(std::function<void(const QString&)> handler) {
        handler_ = std::move(handler);
    }

    bool UserMode() const { return userMode_; }
    void SetUserMode(bool on) { userMode_ = on; }

    QFont AmbientFont() const;
    void SetAmbientFont(const QFont& font) {
        ambientFont_ = font;
        hasAmbientFont_ = true;
    }

private:
    QStringList changed_;
    std::function<void(const QString&)> handler_;
    bool userMode_ = true;
    QFont ambientFont_;
    bool hasAmbientFont_ = false;
};
