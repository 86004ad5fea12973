#pragma once

#include "platform/forms/ControlContainer.h"
#include "platform/forms/Controls.h"
#include "platform/forms/PropertyStore.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <future>
#include <map>
#include <utility>

class QEventLoop;

// A window as the program knows it. Loaded on first use; `Show(true)` returns only when the
// window hides or closes; its own Close/Cancel buttons hide it (fields keep their text); the
// title-bar close box unloads it, so the next use loads it afresh (`Form_Load` runs again)
// while the object and its public members live on.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    void Show(bool modal = false);
    void Hide() { hide(); }
    // Loads the window hidden if it is not loaded yet (touching a control does this).
    void EnsureLoaded();
    bool IsLoaded() const { return loaded_; }
    bool IsShowingModally() const { return modalLoop_ != nullptr; }

    ControlContainer& Container() { return container_; }

    // The stored design of one custom control: the object `control` of the JSON file at
    // `resource` (empty when either is missing).
    // Pictures in it are rendered with `pictureRatio` device pixels to the pixel (0: the
    // application's, read on the main thread only).
    static PropertyStore StoredDesign(const QString& resource, const QString& control,
                                      qreal pictureRatio = 0);
    // Starts reading that stored design on another thread while the window is built; the
    // next PreparedStoredDesign of the same control takes it, waiting if need be.
    void PrepareStoredDesign(const QString& resource, const QString& control);
    PropertyStore PreparedStoredDesign(const QString& resource, const QString& control);

    // The window's icon, drawn from the SVG at `path` on another thread while the window is
    // built; the window has it before it first shows.
    void SetIconLater(const QString& path);
    void setVisible(bool visible) override;

    // The window's picture, drawn unscaled from the top-left corner and cut off at the edges.
    void SetBackgroundPicture(const QImage& picture);
    void SetBackColor(uint32_t colour);
    // Client size and position, in twips.
    void SetClientSizeTwips(int width, int height);
    void MoveToTwips(int left, int top);
    // Places the client area (not the frame) with its top-left corner at `left`, `top`.
    void MoveClientToTwips(int left, int top);
    void CentreOnScreen();
    void CentreOver(QWidget* owner);
    // The control that takes the focus when the window is next shown, whatever had it before.
    void FocusWhenShown(QWidget* control);

Q_SIGNALS:
    void Unloaded();
    // A click on the window's own background, not on one of its controls.
    void Click();

protected:
    // Puts the controls in their initial state; runs when the window is loaded.
    virtual void Form_Load() {}
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Present();

    ControlContainer container_;
    QImage background_;
    std::future<QList<QImage>> icon_;
    std::map<std::pair<QString, QString>, std::future<PropertyStore>> designs_;
    bool loaded_ = false;
    QEventLoop* modalLoop_ = nullptr;
    QPointer<QWidget> focusWhenShown_;
    ClickTracker click_;
};

// The one shared instance of a window for the whole run, created on first use.
template <class T> T& Shared() {
    static QPointer<T> instance;
    if (!instance)
        instance = new T();
    instance->EnsureLoaded();
    return *instance;
}
