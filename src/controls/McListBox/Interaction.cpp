#include "controls/McListBox/McListBox.h"

#include "platform/forms/KeyCodes.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <cmath>

namespace {

constexpr short kKeyboardStep = 999;

const QCursor& HandCursor() {
    static const QCursor cursor = [] {
        QSvgRenderer renderer(QStringLiteral(":/controls/HandCursor.svg"));
        if (!renderer.isValid())
            return QCursor(Qt::PointingHandCursor);
        // At the densest screen's density, so that the hand is as sharp as the list under it.
        const qreal ratio = qGuiApp->devicePixelRatio();
        QImage image(QSize(32, 32) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, 32, 32));
        painter.end();
        return QCursor(QPixmap::fromImage(image), 4, 0);
    }();
    return cursor;
}

int Floor(double value) {
    return static_cast<int>(std::floor(value));
}

} // namespace

QPointF McListBox::ClientPoint(const QPointF& widgetPoint) const {
    return widgetPoint - QPointF(FrameWidth(), FrameWidth());
}

bool McListBox::InClientArea(const QPointF& clientPoint) const {
    return clientPoint.x() >= 0 && clientPoint.y() >= 0 && clientPoint.x() < ClientWidth() &&
           clientPoint.y() < ClientHeight();
}

void McListBox::TrackInput(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    // The key states the handlers read "now": the state the latest input event reported.
    keys_.Left = buttons.testFlag(Qt::LeftButton);
    keys_.Ctrl = modifiers.testFlag(Qt::ControlModifier);
    keys_.Shift = modifiers.testFlag(Qt::ShiftModifier);
}

void McListBox::Press(short Button, short Shift, float X, float y) {
    using namespace ScrollBars;
    if (listIndex_ < 0 || listIndex_ > ListCount() - 1)
        return;
    int t = 0;
    if (Button == kKeyboardStep) {
        t = static_cast<int>(std::nearbyint(X));
    } else {
        const double h = rowPitch_;
        if (!(h > 0))
            return;
        const int row = Floor(y / h) + bars_.GetBarValue(kVertical);
        if (row >= ListCount())
            return;
        t = row;
    }
    listIndex_ = t;
    if (Button == KeyCodes::kLeftButton && keys_.Ctrl && multiSelect_) {
        const int p = SelPosition(t);
        if (p != 0) {
            Selection.erase(Selection.begin() + (p - 1));
        } else {
            Selection.push_back(t);
            SortSelection();
        }
        selectionAnchor_ = t;
    } else if (keys_.Shift && multiSelect_) {
        const int lo = std::min(selectionAnchor_, t);
        const int hi = std::max(selectionAnchor_, t);
        ResetSelection();
        for (int i = lo; i <= hi; ++i)
            Selection.push_back(i);
        SortSelection();
    } else {
        selectionAnchor_ = t;
        ResetSelection();
        Selection.push_back(t);
    }
    QCoreApplication::processEvents();
    DrawList();
    Q_EMIT SelChange();
    Q_EMIT MouseDown(Button, Shift, X, y);
}

void McListBox::Release(short Button, short Shift, float X, float y) {
    if (listIndex_ < 0 || listIndex_ > ListCount() - 1)
        return;
    if (multiSelect_)
        Q_EMIT SelChange();
    Q_EMIT MouseUp(Button, Shift, X, y);
}

bool McListBox::SetHotIndex(int index) {
    if (index >= ListCount()) {
        listIndex_ = ListCount() - 1;
        return false;
    }
    if (index < 0) {
        listIndex_ = 0;
        return false;
    }
    listIndex_ = index;
    return true;
}

void McListBox::PointerMove(short Button, short Shift, float X, float y) {
    using namespace ScrollBars;
    pointerInside_ = y >= 0 && y <= ClientHeight();
    const double h = rowPitch_ > 0 ? rowPitch_ : ClientHeight() / double(visibleRows_);
    if (!(h > 0))
        return;
    const int r = Floor(y / h);
    ShowItemTip(r + 1);

    if (keys_.Left && multiSelect_ && !keys_.Ctrl && !keys_.Shift) {
        if (!SetHotIndex(r + bars_.GetBarValue(kVertical)) || listIndex_ == lastTrackedRow_)
            return;
        if (bars_.GetBarVisible(kVertical)) {
            int top = bars_.GetBarValue(kVertical);
            if (listIndex_ < top)
                bars_.SetBarValue(kVertical, std::max(top - 1, 0));
            top = bars_.GetBarValue(kVertical);
            const int fitting = Floor(ClientHeight() / double(rowHeight_));
            if (listIndex_ >= top + fitting && top != bars_.GetBarMax(kVertical))
                bars_.SetBarValue(kVertical, top + 1);
        }
        const int lo = std::min(selectionAnchor_, listIndex_);
        const int hi = std::max(selectionAnchor_, listIndex_);
        ResetSelection();
        for (int i = std::max(lo, 0); i <= hi; ++i)
            Selection.push_back(i);
        SortSelection();
        DrawList();
    }

    // While the button is held with the pointer above or below the list, every pass selects
    // the row beyond the visible part and brings it into view.
    while (keys_.Left && !multiSelect_) {
        const double pitch = rowPitch_ > 0 ? rowPitch_ : h;
        if (!SetHotIndex(Floor(y / pitch) + bars_.GetBarValue(kVertical)))
            return;
        if (listIndex_ != lastTrackedRow_) {
            lastTrackedRow_ = listIndex_;
            ResetSelection();
            Selection.push_back(listIndex_);
            ScrollIntoView(listIndex_);
            DrawList();
            Q_EMIT SelChange();
        }
        QCoreApplication::processEvents();
        if (pointerInside_ || destroying_)
            break;
    }

    UpdatePointerShape(y);
    lastTrackedRow_ = listIndex_;
    Q_EMIT MouseMove(Button, Shift, X, y);
}

void McListBox::UpdatePointerShape(float y) {
    if (Floor(y / rowHeight_) > ListCount() - 1)
        setCursor(Qt::ArrowCursor);
    else
        setCursor(HandCursor());
}

void McListBox::HandleKeyDown(short KeyCode, short Shift) {
    Q_EMIT KeyDown(KeyCode, Shift);
    int target = 0;
    switch (KeyCode) {
    case KeyCodes::kUp:
        target = listIndex_ - 1;
        break;
    case KeyCodes::kDown:
        target = listIndex_ + 1;
        break;
    case KeyCodes::kEnd:
        target = ListCount() - 1;
        break;
    case KeyCodes::kHome:
        target = 0;
        break;
    case KeyCodes::kPageDown:
        target = listIndex_ + visibleRows_;
        break;
    case KeyCodes::kPageUp:
        target = listIndex_ - visibleRows_;
        break;
    default:
        return;
    }
    if (target > ListCount() - 1)
        target = ListCount() - 1;
    if (target < 0)
        target = 0;
    // A refilled list has a current row but no selection at all. A plain arrow step there
    // selects the current row itself rather than its neighbour, so the keyboard alone can
    // choose the only row of a list, or the first. Every other step, an extending Shift step
    // included, goes to its own target and stops where that is the current row.
    const bool arrow = KeyCode == KeyCodes::kUp || KeyCode == KeyCodes::kDown;
    const bool extending = keys_.Shift && multiSelect_;
    if (arrow && !extending && Selection.empty() && ListCount() > 0)
        target = listIndex_;
    else if (target == listIndex_)
        return;
    ScrollIntoView(target);
    Press(kKeyboardStep, 0, static_cast<float>(target), 0);
}

void McListBox::DoubleClick() {
    if (mode_ == 4 || mode_ == 5) {
        try {
            ToggleTreeRow(listIndex_);
        } catch (const std::exception&) {
            // A folder that cannot be read ends the toggle; the list is refreshed anyway.
        }
    }
    Refresh();
    Q_EMIT DbClick();
}

void McListBox::ToggleTreeRow(int row) {
    // The root "/" is its own prefix; the rows under it end where the next drive's row is.
    const QString text = List(row);
    const QString prefix = text.endsWith(kPathSeparator) ? text : text + kPathSeparator;
    int end = NextDriveRow(row);
    bool removed = false;
    const auto under = [&](const Row& candidate) {
        QString record;
        candidate.AppendRecord(record);
        return record.startsWith(prefix, Qt::CaseSensitive);
    };
    while (row + 1 < end && under(Items[row + 1])) {
        Items.removeAt(row + 1);
        --end;
        removed = true;
    }
    setListBold(row, false);
    if (removed)
        return;
    QStringList files;
    QStringList folders;
    ListFolder(prefix, files, folders, QStringLiteral("*.*"));
    setListBold(row, true);
    int at = row + 1;
    auto insert = [&](const QString& name) {
        const Row record = MakeRow(prefix + name, -1, false);
        if (at >= ListCount())
            Items.append(record);
        else
            Items.insert(at, record);
        ++at;
    };
    for (const QString& name : folders)
        insert(name);
    if (mode_ == 5) {
        QStringList moreFiles;
        QStringList ignored;
        ListFolder(prefix, moreFiles, ignored, filter_);
        for (const QString& name : moreFiles)
            insert(name);
    }
}

void McListBox::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    event->accept();
    TrackInput(event->buttons(), event->modifiers());
    // The second press of a double-click is the double-click itself, as the platform reports
    // it: no press of its own.
    if (event->flags().testFlag(Qt::MouseEventCreatedDoubleClick) || tipDoubleClickPress_) {
        pressedHere_ = false;
        return;
    }
    afterDoubleClick_ = false;
    const QPointF p = ClientPoint(event->position());
    // The frame is outside the client area: presses there never reach the list.
    pressedHere_ = InClientArea(p);
    if (!pressedHere_)
        return;
    Press(static_cast<short>(KeyCodes::ButtonValue(event->button())),
          static_cast<short>(KeyCodes::ShiftState(event->modifiers())), static_cast<float>(p.x()),
          static_cast<float>(p.y()));
}

void McListBox::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    event->accept();
    TrackInput(event->buttons(), event->modifiers());
    const QPointF p = ClientPoint(event->position());
    Release(static_cast<short>(KeyCodes::ButtonValue(event->button())),
            static_cast<short>(KeyCodes::ShiftState(event->modifiers())), static_cast<float>(p.x()),
            static_cast<float>(p.y()));
    // The platform's click: a press and a release over the control, not the release that
    // ends a double-click.
    const bool click =
        pressedHere_ && !afterDoubleClick_ && rect().contains(event->position().toPoint());
    pressedHere_ = false;
    afterDoubleClick_ = false;
    if (click)
        Q_EMIT Click();
}

void McListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    TrackInput(event->buttons(), event->modifiers());
    afterDoubleClick_ = true;
    pressedHere_ = false;
    const QPointF p = ClientPoint(event->position());
    if (!InClientArea(p))
        return;
    DoubleClick();
}

void McListBox::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    event->accept();
    TrackInput(event->buttons(), event->modifiers());
    const QPointF p = ClientPoint(event->position());
    // The frame and the corner between the bars are not the list's client area: the pointer
    // there has left the rows, as on the bars. Only a held button keeps the moves coming.
    if (event->buttons() == Qt::NoButton && !InClientArea(p)) {
        PointerLeft();
        return;
    }
    PointerMove(static_cast<short>(KeyCodes::ButtonValue(event->buttons())),
                static_cast<short>(KeyCodes::ShiftState(event->modifiers())),
                static_cast<float>(p.x()), static_cast<float>(p.y()));
    PointerMoved();
}

void McListBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
    TrackInput(keys_.Left ? Qt::LeftButton : Qt::NoButton, event->modifiers());
    HandleKeyDown(static_cast<short>(KeyCodes::FromQtKey(event->key())),
                  static_cast<short>(KeyCodes::ShiftState(event->modifiers())));
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).unicode() < 256)
        Q_EMIT KeyPress(static_cast<short>(text.at(0).unicode()));
    // Keys the list does not navigate with go on to the window too, so that its default and
    // cancel buttons still answer Enter and Escape.
    switch (KeyCodes::FromQtKey(event->key())) {
    case KeyCodes::kUp:
    case KeyCodes::kDown:
    case KeyCodes::kHome:
    case KeyCodes::kEnd:
    case KeyCodes::kPageUp:
    case KeyCodes::kPageDown:
        break;
    default:
        event->ignore();
        break;
    }
}

void McListBox::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    TrackInput(keys_.Left ? Qt::LeftButton : Qt::NoButton, event->modifiers());
    if (event->isAutoRepeat())
        return;
    Q_EMIT KeyUp(static_cast<short>(KeyCodes::FromQtKey(event->key())),
                 static_cast<short>(KeyCodes::ShiftState(event->modifiers())));
}

void McListBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    hasFocus_ = true;
}

void McListBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    hasFocus_ = false;
    DrawList();
}
