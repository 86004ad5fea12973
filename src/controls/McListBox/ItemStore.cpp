#include "controls/McListBox/McListBox.h"

#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/Locale.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <numeric>

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

QLatin1String BoolText(bool value) {
    return value ? QLatin1String("True") : QLatin1String("False");
}

} // namespace

QString McListBox::Row::Field(int field) const {
    if (!pieces.isEmpty())
        return pieces.value(field);
    switch (field) {
    case kTextField:
        return text;
    case kIconField:
        return QString::number(icon);
    case kBoldField:
        return BoolText(bold);
    default:
        return {};
    }
}

template <typename Write, typename Between>
bool McListBox::Row::WriteFields(Write&& field, Between&& between) const {
    if (!pieces.isEmpty()) {
        for (qsizetype k = 0; k < pieces.size(); ++k)
            if ((k > 0 && !between()) || !field(QStringView(pieces[k])))
                return false;
        return true;
    }
    // Sorting writes every record: digits written in place cost no number text of their own.
    char digits[16];
    const auto written = std::to_chars(std::begin(digits), std::end(digits), icon);
    return field(QStringView(text)) && between() && field(QLatin1String(digits, written.ptr)) &&
           between() && field(BoolText(bold));
}

template <typename Write> bool McListBox::Row::WriteRecord(Write&& write) const {
    return WriteFields(write, [&write] { return write(QStringView(kSeparator)); });
}

void McListBox::Row::AppendRecord(QString& out) const {
    WriteRecord([&out](auto piece) {
        out += piece;
        return true;
    });
}

qsizetype McListBox::Row::RecordLength() const {
    qsizetype length = 0;
    WriteRecord([&length](auto piece) {
        length += piece.size();
        return true;
    });
    return length;
}

bool McListBox::Row::WriteAsciiKey(const Locale::AsciiSortKeys& keys, char*& out) const {
    return WriteFields([&](auto piece) { return keys.Write(piece, out); },
                       [&out] {
                           *out++ = 0;
                           return true;
                       });
}

int McListBox::CompareRows(const Row& a, const Row& b, int from) {
    const int fields = std::max(a.FieldCount(), b.FieldCount());
    for (int k = from; k < fields; ++k) {
        if (k >= a.FieldCount() || k >= b.FieldCount())
            return k >= a.FieldCount() ? -1 : 1;
        if (const int c = Locale::CompareTextNoCase(a.Field(k), b.Field(k)))
            return c;
    }
    return 0;
}

McListBox::Row McListBox::MakeRow(const QString& text, int icon, bool bold) {
    // Looking for the separator's first character alone is several times faster than looking
    // for the whole separator, and few texts hold it at all.
    if (text.contains(kSeparator.front()) && text.contains(kSeparator))
        return RowFromRecord(text + kSeparator + QString::number(icon) + kSeparator +
                             BoolText(bold));
    return Row{text, icon, bold, {}};
}

McListBox::Row McListBox::RowFromRecord(const QString& record) {
    QStringList pieces = record.split(kSeparator);
    // Three pieces that the fields' own writing gives back unchanged keep their fields apart;
    // anything else is read piece by piece, as before.
    if (pieces.size() == 3 && (pieces[2] == BoolText(true) || pieces[2] == BoolText(false))) {
        bool ok = false;
        const int icon = pieces[1].toInt(&ok);
        if (ok && QString::number(icon) == pieces[1])
            return Row{pieces[0], icon, pieces[2] == BoolText(true), {}};
    }
    return Row{{}, -1, false, std::move(pieces)};
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
    const Row& row = Items[Index];
    if (row.pieces.isEmpty())
        return row.icon;
    if (row.FieldCount() <= kIconField)
        throw RuntimeError::SubscriptOutOfRange();
    return ToNumber(row.pieces[kIconField]);
}

void McListBox::setListIcon(int Index, int value) {
    CheckRow(Index);
    if (Items[Index].pieces.isEmpty())
        Items[Index].icon = value;
    else
        ReplaceField(Index, kIconField, QString::number(value));
    Notify("ListIcon");
    DrawList();
}

bool McListBox::ListBold(int Index) const {
    CheckRow(Index);
    const Row& row = Items[Index];
    if (row.pieces.isEmpty())
        return row.bold;
    if (row.FieldCount() <= kBoldField)
        throw RuntimeError::SubscriptOutOfRange();
    return row.pieces[kBoldField] == BoolText(true);
}

void McListBox::setListBold(int Index, bool value) {
    CheckRow(Index);
    if (Items[Index].pieces.isEmpty())
        Items[Index].bold = value;
    else
        ReplaceField(Index, kBoldField, BoolText(value));
    Notify("ListBold");
    DrawList();
}

void McListBox::ReplaceField(int index, int field, const QString& value) {
    CheckRow(index);
    Row& row = Items[index];
    QStringList fields;
    for (int k = 0; k < row.FieldCount(); ++k)
        fields << row.Field(k);
    if (fields.size() <= field)
        throw RuntimeError::SubscriptOutOfRange();
    fields[field] = value;
    // Re-read as the joined record would be: a separator in the new value makes more pieces.
    row = RowFromRecord(fields.join(kSeparator));
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
    return Items[listIndex_].Field(kTextField);
}

QString McListBox::List(int Index) const {
    if (Index < 0 || Index >= Items.size())
        return {};
    return Items[Index].Field(kTextField);
}

void McListBox::setList(int Index, const QString& value) {
    CheckRow(Index);
    if (Items[Index].pieces.isEmpty() && !value.contains(kSeparator))
        Items[Index].text = value;
    else
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
    if (Index == ListCount() || Index == -1)
        Items.append(MakeRow(Text, Icon, Bold));
    else if (Index >= 0 && Index < ListCount())
        Items.insert(Index, MakeRow(Text, Icon, Bold));
    else
        throw RuntimeError::SubscriptOutOfRange();
    if (autoRefresh_)
        StartRefreshTimer();
}

void McListBox::StartRefreshTimer() {
    // Ticks count from the latest addition, so a burst ends in one refresh five ticks after
    // its last row; a timer already running serves as well as a new one, and restarting it for
    // every row of a large fill cost more than the rows.
    if (refreshTimerId_ == 0)
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
    std::vector<qsizetype> rowOrder;
    if (!AsciiRowOrder(rowOrder))
        CollatedRowOrder(rowOrder);
    // Position i takes the row at rowOrder[i]. Rows move round the cycles of that order
    // within the list, where a second list of them would cost fresh memory as large.
    Row* rows = Items.data();
    for (qsizetype start = 0; start < static_cast<qsizetype>(rowOrder.size()); ++start) {
        if (rowOrder[start] == start)
            continue;
        Row held = std::move(rows[start]);
        qsizetype at = start;
        while (rowOrder[at] != start) {
            const qsizetype from = rowOrder[at];
            rows[at] = std::move(rows[from]);
            rowOrder[at] = at;
            at = from;
        }
        rows[at] = std::move(held);
        rowOrder[at] = at;
    }
}

// Rows are ordered by text, and rows whose texts compare equal by their icon and then their
// bold fields. Comparing the whole records instead would let a text that runs on past another
// (as "gift 169844" runs past "gift 169") meet that one's separator, which the comparison may
// place either side of what follows: a longer text would then stand before its own prefix.
// Inserting each row before the first one it compares `sortOrder_` against, as rows were
// always ordered, is a stable sort by that comparison; a stable n log n sort gives the same
// order without the quadratic cost on every refresh. The order check every refresh runs first
// uses the very comparison the sort does, so a sorted list passes it.

bool McListBox::AsciiRowOrder(std::vector<qsizetype>& rowOrder) const {
    // Every key lies in one buffer; its first eight bytes, read as a number, decide most
    // comparisons without a visit to the buffer. Ranks are never 0, so the zeros that pad a
    // short head order it before any longer key it begins.
    struct Keyed {
        quint64 head;
        size_t at;
        size_t size;
        qsizetype row;
    };
    const Locale::AsciiSortKeys* ascii = Locale::AsciiSortKeys::TextNoCase();
    if (!ascii)
        return false;
    // Appends row i's key to `out`.
    const auto append = [&](qsizetype i, std::string& out) {
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(Items[i].RecordLength()));
        char* end = out.data() + at;
        const bool written = Items[i].WriteAsciiKey(*ascii, end);
        out.resize(static_cast<size_t>(end - out.data()));
        return written;
    };
    const auto sign = [](int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); };
    const int order = sortOrder_;
    // Every refresh checks the order first; two reused buffers make that check allocate
    // nothing, where a buffer of every key would cost fresh memory on each refresh.
    std::string previous;
    std::string current;
    if (!append(0, previous))
        return false;
    bool sorted = true;
    for (qsizetype i = 1; i < Items.size() && sorted; ++i) {
        current.clear();
        if (!append(i, current))
            return false;
        // std::string compares its chars as unsigned bytes, as the keys are meant.
        sorted = sign(current.compare(previous)) != order;
        std::swap(previous, current);
    }
    if (sorted)
        return true;
    std::string keys;
    keys.reserve(static_cast<size_t>(Items.size()) * 32);
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(Items.size()));
    for (qsizetype i = 0; i < Items.size(); ++i) {
        const size_t at = keys.size();
        if (!append(i, keys))
            return false;
        quint64 head = 0;
        for (size_t k = 0; k < 8; ++k)
            head =
                head << 8 | (at + k < keys.size() ? static_cast<unsigned char>(keys[at + k]) : 0);
        keyed.push_back({head, at, keys.size() - at, i});
    }
    const auto compare = [&keys, &sign](const Keyed& a, const Keyed& b) {
        if (a.head != b.head)
            return a.head < b.head ? -1 : 1;
        const size_t common = std::min(a.size, b.size);
        if (common > 8)
            if (const int c =
                    std::memcmp(keys.data() + a.at + 8, keys.data() + b.at + 8, common - 8))
                return sign(c);
        return a.size == b.size ? 0 : (a.size < b.size ? -1 : 1);
    };
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&](const Keyed& a, const Keyed& b) { return compare(a, b) == order; });
    rowOrder.reserve(keyed.size());
    for (const Keyed& entry : keyed)
        rowOrder.push_back(entry.row);
    return true;
}

void McListBox::CollatedRowOrder(std::vector<qsizetype>& rowOrder) const {
    const int order = sortOrder_;
    bool sorted = true;
    for (qsizetype i = 1; i < Items.size() && sorted; ++i)
        sorted = CompareRows(Items[i], Items[i - 1]) != order;
    if (sorted)
        return;
    rowOrder.resize(static_cast<size_t>(Items.size()));
    std::iota(rowOrder.begin(), rowOrder.end(), qsizetype(0));
    const QCollator& collator = Locale::TextNoCaseCollator();
    // The C locale's collation keys are the plain texts, case and all, while its comparison
    // ignores case: there the comparison itself orders the rows.
    if (collator.locale().language() == QLocale::C) {
        std::stable_sort(rowOrder.begin(), rowOrder.end(), [&](qsizetype a, qsizetype b) {
            return CompareRows(Items[a], Items[b]) == order;
        });
        return;
    }
    // Elsewhere the texts' collation keys compare as the collator does, at a fraction of the
    // cost per comparison; the other fields decide only between equal texts.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<size_t>(Items.size()));
    for (const Row& row : std::as_const(Items))
        keys.push_back(collator.sortKey(row.Field(kTextField)));
    std::stable_sort(rowOrder.begin(), rowOrder.end(), [&](qsizetype a, qsizetype b) {
        const int byText = keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]);
        const int c =
            byText != 0 ? (byText < 0 ? -1 : 1) : CompareRows(Items[a], Items[b], kIconField);
        return c == order;
    });
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
