// What a screen reader sees of the list: the rows are pixels, so the control describes them
// itself, one list item per row, and tells the reader when the current row or the selection
// changes.

#include "controls/McListBox/McListBox.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QPointer>
#include <cmath>
#include <vector>

namespace {

bool IsSelected(const McListBox& list, int row) {
    for (int i = 0; i < list.SelCount(); ++i)
        if (list.SelItem(i) == row)
            return true;
    return false;
}

// One row. Rows have no object of their own; each is the list and a position, read live, so a
// row interface stays valid while the rows change under it (a row past the end is invalid).
class RowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RowAccessible(McListBox* list, int row)
        : list_(list)
        , row_(row) {}

    bool isValid() const override { return list_ && row_ < list_->ListCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return {};
        return list_->List(row_);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        const int top = list_->Bars().GetBarValue(ScrollBars::kVertical);
        const int frame = list_->FrameWidth();
        const int y = frame + static_cast<int>(std::floor((row_ - top) * list_->RowPitch()));
        const QRect local(frame, y, list_->ClientWidth(),
                          static_cast<int>(std::ceil(list_->RowPitch())));
        return QRect(list_->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = IsSelected(*list_, row_);
        s.focused = list_->hasFocus() && list_->ListIndex() == row_;
        s.active = list_->ListIndex() == row_;
        const int top = list_->Bars().GetBarValue(ScrollBars::kVertical);
        s.invisible = row_ < top || row_ >= top + list_->VisibleRows() + 1;
        if (list_->Mode() == 4 || list_->Mode() == 5) {
            s.expandable = true;
            s.expanded = list_->ListBold(row_);
        }
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        return {toggleAction(), setFocusAction(), pressAction()};
    }
    // Choosing a row from the reader chooses it as a press would: it becomes the current and
    // only selected row, and the host hears SelChange.
    void doAction(const QString& name) override {
        if (!isValid() || !actionNames().contains(name))
            return;
        list_->setListIndex(row_);
        if (name == setFocusAction())
            list_->setFocus(Qt::OtherFocusReason);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<McListBox> list_;
    int row_;
};

class ListAccessible : public QAccessibleWidget {
public:
    explicit ListAccessible(McListBox* list)
        : QAccessibleWidget(list, QAccessible::List) {}
    ~ListAccessible() override {
        for (QAccessible::Id id : rows_)
            QAccessible::deleteAccessibleInterface(id);
    }

    McListBox* List() const { return static_cast<McListBox*>(object()); }

    int childCount() const override { return List()->ListCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        // Rows keep one interface each for the life of the list, so a reader that holds on to
        // a row keeps talking about the same position.
        while (static_cast<int>(rows_.size()) <= index)
            rows_.push_back(QAccessible::registerAccessibleInterface(
                new RowAccessible(List(), static_cast<int>(rows_.size()))));
        return QAccessible::accessibleInterface(rows_[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (QAccessible::accessibleInterface(rows_[i]) == child)
                return static_cast<int>(i) < childCount() ? static_cast<int>(i) : -1;
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        if (!List()->hasFocus())
            return nullptr;
        return child(List()->ListIndex());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int top = List()->Bars().GetBarValue(ScrollBars::kVertical);
        const QPoint local = List()->mapFromGlobal(QPoint(x, y));
        if (!List()->rect().contains(local) || !(List()->RowPitch() > 0))
            return nullptr;
        const int row =
            top +
            static_cast<int>(std::floor((local.y() - List()->FrameWidth()) / List()->RowPitch()));
        return child(row);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.multiSelectable = List()->MultiSelect();
        return s;
    }

private:
    mutable std::vector<QAccessible::Id> rows_;
};

QAccessibleInterface* ListFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("McListBox"))
        if (auto* list = qobject_cast<McListBox*>(object))
            return new ListAccessible(list);
    return nullptr;
}

} // namespace

void McListBox::InitAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ListFactory);
        return true;
    }();
    (void)installed;
    connect(this, &McListBox::SelChange, this, [this] { AnnounceCurrentRow(); });
}

void McListBox::AnnounceCurrentRow() {
    if (!QAccessible::isActive())
        return;
    const int row = ListIndex();
    if (row < 0 || row >= ListCount())
        return;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(row);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(row);
        QAccessible::updateAccessibility(&focus);
    }
}
