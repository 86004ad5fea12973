#include "controls/McListBox/McListBox.h"

#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Locale.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cmath>

const QString McListBox::kSeparator = QStringLiteral("<%S%>");
// Tree paths are file-system paths of the machine the program runs on.
const QChar McListBox::kPathSeparator = u'/';

namespace {

constexpr int kTextField = 0;
constexpr int kIconField = 1;
constexpr int kBoldField = 2;

// A record field read as a whole number the way the original conversion reads it: leading
// and trailing spaces allowed, a fraction rounded halves to even.
int ToNumber(const QString& field) {
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    if (!ok)
        throw RuntimeError::TypeMismatch();
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw RuntimeError::Overflow();
    return static_cast<int>(rounded);
}

} // namespace

QString McListBox::MakeRecord(const QString& text, int icon, bool bold) {
    return text + kSeparator + QString::number(icon) + kSeparator +
           (bold ? QStringLiteral("True") : QStringLiteral("False"));
}

QStringList McListBox::SplitRecord(const QString& record) {
    return record.split(kSeparator);
}

void McListBox::CheckRow(int index) const {
    if (index < 0 || index >= Items.size())
        throw RuntimeError::SubscriptOutOfRange();
}

void McListBox::Notify(const char* name) {
    container_->PropertyChanged(QString::fromLatin1(name));
}

int McListBox::ListCount() const {
    return static_cast<int>(Items.size());
}

int McListBox::ListIcon(int Index) const {
    CheckRow(Index);
    const QStringList fields = SplitRecord(Items[Index]);
    if (fields.size() <= kIconField)
        throw RuntimeError::SubscriptOutOfRange();
    return ToNumber(fields[kIconField]);
}

void McListBox::setListIcon(int Index, int value) {
    ReplaceField(Index, kIconField, QString::number(value));
    Notify("ListIcon");
    DrawList();
}

bool McListBox::ListBold(int Index) const {
    CheckRow(Index);
    const QStringList fields = SplitRecord(Items[Index]);
    if (fields.size() <= kBoldField)
        throw RuntimeError::SubscriptOutOfRange();
    return fields[kBoldField] == QLatin1String("True");
}

void McListBox::setListBold(int Index, bool value) {
    ReplaceField(Index, kBoldField, value ? QStringLiteral("True") : QStringLiteral("False"));
    Notify("ListBold");
    DrawList();
}

void McListBox::ReplaceField(int index, int field, const QString& value) {
    CheckRow(index);
    QStringList fields = SplitRecord(Items[index]);
    if (fields.size() <= field)
        throw RuntimeError::SubscriptOutOfRange();
    fields[field] = value;
    Items[index] = fields.join(kSeparator);
}

int McListBox::ListIndex() const {
    return Items.isEmpty() ? -1 : listIndex_;
}

void McListBox::setListIndex(int value) {
    if (value < 0 || value > ListCount() - 1)
        return;
    listIndex_ = value;
    ScrollIntoView(value);
    ResetSelection();
    Selection.push_back(value);
    Notify("ListIndex");
    ClampListIndex();
    DrawList();
    Q_EMIT SelChange();
}

void McListBox::ScrollIntoView(int index) {
    using namespace ScrollBars;
    if (!bars_.GetBarVisible(kVertical))
        return;
    if (index < bars_.GetBarValue(kVertical))
        bars_.SetBarValue(kVertical, index);
    const int top = bars_.GetBarValue(kVertical);
    const int fitting = static_cast<int>(std::floor(ClientHeight() / double(rowHeight_)));
    if (index >= top + fitting && top != bars_.GetBarMax(kVertical))
        bars_.SetBarValue(kVertical, index - visibleRows_ + 1);
}

QString McListBox::Text() const {
    if (listIndex_ < 0 || listIndex_ >= Items.size())
        return {};
    return SplitRecord(Items[listIndex_]).value(kTextField);
}

QString McListBox::List(int Index) const {
    if (Index < 0 || Index >= Items.size())
        return {};
    return SplitRecord(Items[Index]).value(kTextField);
}

void McListBox::setList(int Index, const QString& value) {
    ReplaceField(Index, kTextField, value);
}

int McListBox::SelCount() const {
    return static_cast<int>(Selection.size());
}

int McListBox::SelItem(int vSelIndex) const {
    if (vSelIndex < 0 || vSelIndex >= SelCount())
        throw RuntimeError::SubscriptOutOfRange();
    return Selection[static_cast<size_t>(vSelIndex)];
}

void McListBox::ClearSelection() {
    ResetSelection();
    Selection.push_back(listIndex_);
    DrawList();
    Q_EMIT SelChange();
}

void McListBox::SelectAll() {
    ResetSelection();
    for (int i = 0; i < ListCount(); ++i)
        Selection.push_back(i);
    DrawList();
    Q_EMIT SelChange();
}

void McListBox::AddItem(const QString& Text, int Index, int Icon, bool Bold) {
    if (mode_ != 0)
        return;
    const QString record = MakeRecord(Text, Icon, Bold);
    if (Index == ListCount() || Index == -1)
        Items.append(record);
    else if (Index >= 0 && Index < ListCount())
        Items.insert(Index, record);
    else
        throw RuntimeError::SubscriptOutOfRange();
    if (autoRefresh_)
        StartRefreshTimer();
}

void McListBox::StartRefreshTimer() {
    // Starting the timer again while it runs replaces it, so a burst ends in one refresh.
    if (refreshTimerId_ != 0)
        killTimer(refreshTimerId_);
    refreshTimerId_ = startTimer(1);
    refreshTicks_ = 0;
}

void McListBox::Remove(int Index) {
    if (mode_ != 0)
        return;
    const int row = Index == -1 ? listIndex_ : Index;
    CheckRow(row);
    Items.removeAt(row);
    SortItems();
    Refresh();
}

void McListBox::Clear() {
    if (mode_ != 0)
        return;
    Items.clear();
    ResetSelection();
    surface_.Clear();
    Refresh();
}

void McListBox::Refresh() {
    using namespace ScrollBars;
    ++refreshCount_;
    try {
        visibleRows_ =
            std::max(1, static_cast<int>(std::floor(ClientHeight() / double(rowHeight_))));
        if (visibleRows_ < ListCount()) {
            bars_.SetBarVisible(kVertical, true);
            bars_.SetBarEnabled(kVertical, true);
            bars_.SetBarMax(kVertical, ListCount() - visibleRows_);
            const int m = bars_.GetBarMax(kVertical);
            bars_.SetBarMax(kVertical, m - 6);
        } else {
            bars_.SetBarValue(kVertical, 0);
            bars_.SetBarVisible(kVertical, !autoHideScrollBars_);
            bars_.SetBarEnabled(kVertical, autoHideScrollBars_);
        }
        bars_.SetSmallChange(kVertical, 1);
        bars_.SetLargeChange(kVertical, 5);
        bars_.SetSmallChange(kHorizontal, 5);
        bars_.SetLargeChange(kHorizontal, 15);
    } catch (const std::exception&) {
        // The rows are still sorted and drawn.
    }
    SortItems();
    DrawList();
}

void McListBox::ClampListIndex() {
    if (Items.isEmpty())
        listIndex_ = 0;
    else if (listIndex_ > ListCount() - 1)
        listIndex_ = ListCount() - 1;
    else if (listIndex_ < 0)
        listIndex_ = 0;
}

void McListBox::SortItems() {
    if (mode_ != 0 || (sortOrder_ != -1 && sortOrder_ != 1) || Items.size() < 2)
        return;
    // Inserting each record before the first one it compares `sortOrder_` against, as rows
    // were always ordered, is a stable sort by that comparison; a stable n log n sort gives
    // the same order without the quadratic cost on every refresh.
    const int order = sortOrder_;
    auto before = [order](int comparison) { return comparison == order; };
    bool sorted = true;
    for (qsizetype i = 1; i < Items.size() && sorted; ++i)
        sorted = !before(Locale::CompareTextNoCase(Items[i], Items[i - 1]));
    if (sorted)
        return;
    const QCollator& collator = Locale::TextNoCaseCollator();
    // The C locale's collation keys are the plain texts, case and all, while its comparison
    // ignores case: there the comparison itself has to order the rows, or a sorted list
    // would never pass the check above.
    if (collator.locale().language() == QLocale::C) {
        std::stable_sort(Items.begin(), Items.end(), [&](const QString& a, const QString& b) {
            return before(Locale::CompareTextNoCase(a, b));
        });
        return;
    }
    // Elsewhere collation keys compare as the collator does, at a fraction of the cost per
    // comparison.
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keyed;
    keyed.reserve(static_cast<size_t>(Items.size()));
    for (qsizetype i = 0; i < Items.size(); ++i)
        keyed.emplace_back(collator.sortKey(Items[i]), i);
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        const int c = a.first.compare(b.first);
        return before(c < 0 ? -1 : (c > 0 ? 1 : 0));
    });
    QStringList ordered;
    ordered.reserve(Items.size());
    for (const auto& entry : keyed)
        ordered.append(Items[entry.second]);
    Items = std::move(ordered);
}

int McListBox::SelPosition(int index) const {
    const auto it = std::find(Selection.begin(), Selection.end(), index);
    return it == Selection.end() ? 0 : static_cast<int>(it - Selection.begin()) + 1;
}

void McListBox::SortSelection() {
    std::sort(Selection.begin(), Selection.end());
}

void McListBox::CheckItem(QString& sText, int& lShift, int lTop) {
    const double half = rowHeight_ / 2.0;
    const auto grey = static_cast<uint32_t>(0x80000011u);
    const int levels = TreeLevel(sText);
    for (int level = 0; level < levels; ++level) {
        if (lTop != -1) {
            const int x = static_cast<int>(std::nearbyint(lShift + half));
            surface_.Line(x, lTop, x, lTop + rowHeight_ + 2, grey);
        }
        lShift += rowHeight_;
    }
    // A drive keeps its whole root path as its name.
    const qsizetype last = sText.lastIndexOf(kPathSeparator);
    if (levels > 0 && last >= 0)
        sText = sText.mid(last + 1);
    if (lTop != -1) {
        const int y = static_cast<int>(std::nearbyint(lTop + half));
        surface_.Line(static_cast<int>(std::nearbyint(lShift - half)), y, lShift, y, grey);
    }
}

int McListBox::GetMax(const std::optional<QStringList>& sArr) const {
    if (!sArr || sArr->isEmpty())
        return -1;
    return static_cast<int>(sArr->size()) - 1;
}
