#include "platform/forms/Form.h"

#include "platform/forms/AccessKeys.h"
#include "platform/forms/SystemColors.h"
#include "platform/forms/Twips.h"
#include "platform/forms/WindowAccessible.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <system_error>

Form::Form(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    InstallWindowAccessibility();
    container_.SetAmbientFont(font());
    AccessKeys::FollowFocus();
}

Form::~Form() {
    if (modalLoop_)
        modalLoop_->quit();
    // The window's own part is already gone when its controls are destroyed, and a focused
    // control reports losing the focus as it goes: no handler of this window may hear it.
    for (QObject* control : findChildren<QObject*>())
        QObject::disconnect(control, nullptr, this, nullptr);
}

void Form::EnsureLoaded() {
    if (loaded_)
        return;
    loaded_ = true;
    Form_Load();
}

void Form::Show(bool modal) {
    EnsureLoaded();
    if (!modal || modalLoop_) {
        Present();
        return;
    }
    QEventLoop loop;
    modalLoop_ = &loop;
    setWindowModality(Qt::ApplicationModal);
    Present();
    if (isVisible())
        loop.exec();
    modalLoop_ = nullptr;
    setWindowModality(Qt::NonModal);
}

void Form::Present() {
    show();
    // The offscreen platform of the tests cannot raise windows and says so on every call.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        raise();
    activateWindow();
}

void Form::closeEvent(QCloseEvent* event) {
    event->accept();
    loaded_ = false;
    Q_EMIT Unloaded();
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modalLoop_)
        modalLoop_->quit();
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWidget* control = focusWhenShown_) {
        focusWhenShown_ = nullptr;
        control->setFocus(Qt::OtherFocusReason);
    }
}

void Form::FocusWhenShown(QWidget* control) {
    if (isVisible())
        control->setFocus(Qt::OtherFocusReason);
    else
        focusWhenShown_ = control;
}

void Form::keyPressEvent(QKeyEvent* event) {
    // No button is a default or cancel button: Enter and Escape do nothing by themselves.
    event->ignore();
}

void Form::mousePressEvent(QMouseEvent* event) {
    click_.Press(*event);
    QWidget::mousePressEvent(event);
}

void Form::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = click_.Release(*event, rect());
    QWidget::mouseReleaseEvent(event);
    if (click)
        Q_EMIT Click();
}

void Form::SetBackgroundPicture(const QImage& picture) {
    // The picture is drawn unscaled from the top-left corner, and a window takes its fixed
    // size from its design before its picture: only the part within that size can ever show,
    // and a design's picture may be several times the window's size.
    const qreal ratio = picture.devicePixelRatio();
    const QRect shown(0, 0, static_cast<int>(std::ceil(maximumWidth() * ratio)),
                      static_cast<int>(std::ceil(maximumHeight() * ratio)));
    background_ = picture.isNull() || shown.contains(picture.rect())
                      ? picture
                      : picture.copy(picture.rect() & shown);
    update();
}

void Form::SetBackColor(uint32_t colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, SystemColors::ToQColor(colour, 0xFFFFFF));
    setPalette(p);
    setAutoFillBackground(true);
}

void Form::SetClientSizeTwips(int width, int height) {
    setFixedSize(TwipsToPixels(width), TwipsToPixels(height));
}

void Form::MoveToTwips(int left, int top) {
    move(TwipsToPixels(left), TwipsToPixels(top));
}

void Form::MoveClientToTwips(int left, int top) {
    setGeometry(QRect(QPoint(TwipsToPixels(left), TwipsToPixels(top)), size()));
}

void Form::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void Form::CentreOver(QWidget* owner) {
    if (!owner) {
        CentreOnScreen();
        return;
    }
    const QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
}

void Form::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (background_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
}

PropertyStore Form::StoredDesign(const QString& resource, const QString& control,
                                 qreal pictureRatio) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject design = QJsonDocument::fromJson(file.readAll()).object();
    return PropertyStore::FromJson(design.value(control).toObject(), pictureRatio);
}

namespace {

// Work started aside may outlive its window's use, and the window itself: a window made and
// never shown, or a run that ends at once. The application waits for what is still running
// as it is destroyed; a thread still drawing while the program's statics go would crash it.
std::mutex asideMutex;
std::condition_variable asideDone;
int asideRunning = 0;

void WaitForWorkAside() {
    std::unique_lock lock(asideMutex);
    asideDone.wait(lock, [] { return asideRunning == 0; });
}

void AsideFinished() {
    const std::lock_guard lock(asideMutex);
    if (--asideRunning == 0)
        asideDone.notify_all();
}

// Runs `work` on a thread of its own, beside the building of the window: what it makes
// (pictures mostly) is not wanted before the window shows. Where no thread can start, the
// work runs here and now.
template <class Work> auto StartAside(const Work& work) -> std::future<decltype(work())> {
    using Result = decltype(work());
    {
        const std::lock_guard lock(asideMutex);
        if (asideRunning++ == 0) {
            qRemovePostRoutine(WaitForWorkAside);
            qAddPostRoutine(WaitForWorkAside);
        }
    }
    try {
        return std::async(std::launch::async, [work] {
            const auto finished = qScopeGuard(AsideFinished);
            return work();
        });
    } catch (const std::system_error&) {
        AsideFinished();
        std::promise<Result> done;
        done.set_value(work());
        return done.get_future();
    }
}

} // namespace

void Form::PrepareStoredDesign(const QString& resource, const QString& control) {
    const qreal ratio = PictureRatio();
    designs_[{resource, control}] =
        StartAside([resource, control, ratio] { return StoredDesign(resource, control, ratio); });
}

PropertyStore Form::PreparedStoredDesign(const QString& resource, const QString& control) {
    const auto prepared = designs_.find({resource, control});
    if (prepared == designs_.end())
        return StoredDesign(resource, control);
    PropertyStore design = prepared->second.get();
    designs_.erase(prepared);
    return design;
}

void Form::SetIconLater(const QString& path) {
    icon_ = StartAside([path] { return IconPictures(path); });
}

void Form::setVisible(bool visible) {
    // The platform window takes the icon as it is made, on the first show.
    if (visible && icon_.valid())
        setWindowIcon(IconOf(icon_.get()));
    QWidget::setVisible(visible);
}
