#pragma once

#include "controls/McListBox/RecentCache.h"
#include "controls/McListBox/ScrollBars.h"
#include "platform/draw/Surface.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class ControlContainer;
class McImageList;
namespace Locale {
class AsciiSortKeys;
}
class PropertyStore;
class QScrollBar;

// The program's own owner-drawn list: rows that read as "text<%S%>icon<%S%>bold" records, single
// or multiple selection, icons from an image list, plain or gradient backgrounds and selection,
// its own scroll bars, and listing modes for drives, folders and files.
//
// A control starts working when its container initialises it (InitProperties, a control newly
// placed) or loads it (ReadProperties, a control of a stored design): only then does it take
// its refresh timer, scroll and pointer messages, as the control placed on a window does.
//
// Errors are RuntimeError: 9 for a position that is not a row, 13 for an icon field that is
// not a number, 6 for an Appearance outside 16 bits.
class McListBox : public QWidget {
    Q_OBJECT

public:
    explicit McListBox(QWidget* parent = nullptr);
    ~McListBox() override;

    void setContainer(ControlContainer* container);
    ControlContainer* Container() const { return container_; }

    // Rows, the current row and the selection.
    int ListCount() const;
    int ListIcon(int Index) const;
    void setListIcon(int Index, int value);
    bool ListBold(int Index) const;
    void setListBold(int Index, bool value);
    int ListIndex() const;
    void setListIndex(int value);
    QString Text() const;
    QString List(int Index) const;
    void setList(int Index, const QString& value);
    int SelCount() const;
    int SelItem(int vSelIndex) const;
    void ClearSelection();
    void SelectAll();
    void AddItem(const QString& Text, int Index = -1, int Icon = -1, bool Bold = false);
    void Remove(int Index = -1);
    void Clear();
    void Refresh();
    void CheckItem(QString& sText, int& lShift, int lTop);
    int GetMax(const std::optional<QStringList>& sArr) const;

    // Design-time properties.
    int Mode() const { return mode_; }
    void setMode(int value);
    QString Path() const { return path_; }
    void setPath(const QString& value);
    QImage Picture();
    void setPicture(const QImage& value);
    QFont Font();
    void setFont(const QFont& value);
    uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(uint32_t value);
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t value);
    uint32_t SelColor() const { return selColor_; }
    void setSelColor(uint32_t value);
    uint32_t SelForeColor() const { return selForeColor_; }
    void setSelForeColor(uint32_t value);
    bool StrechIcon() const { return strechIcon_; }
    void setStrechIcon(bool value);
    int16_t Appearance() const { return surface_.Appearance(); }
    void setAppearance(int value);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int value);
    bool FullRowSelect() const { return fullRowSelect_; }
    void setFullRowSelect(bool value);
    bool MultiSelect() const { return multiSelect_; }
    void setMultiSelect(bool value);
    // Write-only and not saved: where row icons come from in mode 0. The function returns the
    // picture with the given number, as an image list's ListImages does, and may throw.
    void setImageList(std::function<QImage(int)> listImages);
    // An image list as that source; the list holds it without owning it, and a list whose
    // image list is gone draws no more icons (error 91 inside the drawing).
    void setImageList(McImageList* imageList);
    bool FocusRectangle() const { return focusRectangle_; }
    void setFocusRectangle(bool value);
    bool ShowIcon() const { return showIcon_; }
    void setShowIcon(bool value);
    int SortOrder() const { return sortOrder_; }
    void setSortOrder(int value);
    bool IconFocus() const { return iconFocus_; }
    void setIconFocus(bool value);
    int TextAlignment() const { return textAlignment_; }
    void setTextAlignment(int value);
    bool GridLines() const { return gridLines_; }
    void setGridLines(bool value);
    uint32_t GridColor() const { return gridColor_; }
    void setGridColor(uint32_t value);
    int RowHeight() const { return rowHeight_; }
    void setRowHeight(int value);
    int BackGradient() const { return backGradient_; }
    void setBackGradient(int value);
    int SelGradient() const { return selGradient_; }
    void setSelGradient(int value);
    uint32_t BackGradientCol() const { return backGradientCol_; }
    void setBackGradientCol(uint32_t value);
    uint32_t SelGradientCol() const { return selGradientCol_; }
    void setSelGradientCol(uint32_t value);
    int SelectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(int value);
    bool FlatScrollBar() const { return flatScrollBar_; }
    void setFlatScrollBar(bool value);
    bool AutoHideScrollBars() const { return autoHideScrollBars_; }
    void setAutoHideScrollBars(bool value);
    int IconExtractSize() const { return iconExtractSize_; }
    void setIconExtractSize(int value);
    QString Filter() const { return filter_; }
    void setFilter(const QString& value);
    bool AutoRefresh() const { return autoRefresh_; }
    void setAutoRefresh(bool value);
    bool ShowSystemFiles() const { return showSystemFiles_; }
    void setShowSystemFiles(bool value);
    bool ShowHiddenFiles() const { return showHiddenFiles_; }
    void setShowHiddenFiles(bool value);

    // The container's notifications.
    void InitProperties();
    void ReadProperties(const PropertyStore& store);
    void WriteProperties(PropertyStore& store);

    // The file modes' listing, drive captions and icons.
    void LoadModeItems();
    QStringList GetDriveList() const;
    bool ListFolder(const QString& folder, QStringList& files, QStringList& folders,
                    const QString& pattern) const;
    QString GetDriveCaption(const QString& root) const;
    // Cached by key: the drive, the lower-case extension, or "default" for names without a
    // dot; files that carry their own icons are never cached.
    QImage GetItemIcon(const QString& path);
    static QImage ExtractFileIcon(const QString& path, int size);
    // How many pictures GetItemIcon has taken from the icon source rather than its cache.
    int IconExtractCount() const { return iconExtractCount_; }

    // What the drawing and the scrolling work with, for hosts and tests to read.
    int ClientWidth() const;
    int ClientHeight() const;
    // Sizes the control so that its client area (inside the frame and the shown bars) is
    // width x height.
    void setClientSize(int width, int height);
    int VisibleRows() const { return visibleRows_; }
    double RowPitch() const { return rowPitch_; }
    int TextOffset() const { return textOffset_; }
    int SelectionAnchor() const { return selectionAnchor_; }
    bool HasFocus() const { return hasFocus_; }
    bool MouseInWindow() const { return mouseInWindow_; }
    int TipRow() const { return tipRow_; }
    // The pop-up that shows a cut-off row text whole; null until the control is set up.
    QWidget* TipWindow() const { return tipWindow_; }
    // The tip lies over the row under the pointer: what the pointer does on it (moves,
    // presses, releases, double-clicks, wheel turns, leaving) is done to the list.
    void TakeTipEvent(QEvent* event);
    // The tip's word wrapping: lines no wider than `W` pixels in the control's font, broken
    // before the last separator seen on a line.
    QStringList WrapText(const QString& s, int W, bool removeBreaks) const;
    static bool IsBreakChar(QChar c);
    // The list's pixels as last drawn; a list off screen paints them here if it has not yet.
    const Surface& DrawingSurface() const;
    ScrollBars::Layer& Bars() { return bars_; }
    // The window side of the bars: what the platform keeps, and whether it offers flat bars.
    ScrollBars::BarWindow& Window() { return barWindow_; }
    const ScrollBars::BarWindow& Window() const { return barWindow_; }
    // The frame around the client area on every side.
    int FrameWidth() const;
    // How many times Refresh and DrawList have run: a burst of additions costs one of each.
    int RefreshCount() const { return refreshCount_; }
    int DrawCount() const { return drawCount_; }

    // The record separator and the separator of tree paths.
    static const QString kSeparator;
    static const QChar kPathSeparator;

Q_SIGNALS:
    void MouseEnter();
    void MouseLeave();
    void Click();
    void SelChange();
    void DbClick();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short KeyAscii);
    void KeyUp(short KeyCode, short Shift);
    void MouseUp(short Button, short Shift, float X, float y);
    void MouseMove(short Button, short Shift, float X, float y);
    void MouseDown(short Button, short Shift, float X, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One row. Its fields are kept apart, so that sorting, drawing and reading one field need
    // no record text; the record is joined only where the whole of it is read.
    struct Row {
        QString text;
        int icon = -1;
        bool bold = false;
        // Empty unless the record held more separators than its two: then the record split on
        // every separator, as records always are, each field read from its piece.
        QStringList pieces;

        // The piece at `field`; "" when the record has none there.
        QString Field(int field) const;
        int FieldCount() const { return pieces.isEmpty() ? 3 : static_cast<int>(pieces.size()); }
        // Appends the record text to `out`.
        void AppendRecord(QString& out) const;
        // How many characters the record text has.
        qsizetype RecordLength() const;
        // Writes the row's ASCII sort key at `out`: its fields' keys (see
        // Locale::AsciiSortKeys), each ended by a 0 byte that orders a field before any longer
        // one it begins; never more bytes than the record has characters. False when the
        // record has other characters.
        bool WriteAsciiKey(const Locale::AsciiSortKeys& keys, char*& out) const;
        // Hands the record to `write` piece by piece (texts and separators, as QStringView or
        // QLatin1String) until it returns false; false then.
        template <typename Write> bool WriteRecord(Write&& write) const;
        // Hands each field to `field` and calls `between` between two of them, until one
        // returns false; false then.
        template <typename Write, typename Between>
        bool WriteFields(Write&& field, Between&& between) const;
    };
    // The order of rows: by text without regard to case, then by icon and bold fields as
    // texts (a record with fewer fields first); -1, 0 or 1. `from` skips leading fields.
    static int CompareRows(const Row& a, const Row& b, int from = 0);
    friend class QTypeInfo<Row>;

    // Item store.
    static Row MakeRow(const QString& text, int icon, bool bold);
    static Row RowFromRecord(const QString& record);
    void ReplaceField(int index, int field, const QString& value);
    void CheckRow(int index) const;
    void ClampListIndex();
    void ScrollIntoView(int index);
    void SortItems();
    // The rows' sorted order as positions, empty when they are in order already: by ASCII
    // collation keys (false when a record has no such key), or by the collator.
    bool AsciiRowOrder(std::vector<qsizetype>& rowOrder) const;
    void CollatedRowOrder(std::vector<qsizetype>& rowOrder) const;
    void ResetSelection() { Selection.clear(); }
    int SelPosition(int index) const;
    void SortSelection();
    void StartRefreshTimer();
    void Notify(const char* name);

    // Properties.
    int FontHeight() const;
    void ApplyFont();
    void UpdateFrame(int previousFrameWidth);

    // Rendering.
    void DrawList();
    void DrawBackground();
    void DrawItemText(const QString& text, int x, int y);
    void DrawItemIcon(const QImage& picture, int x, int y, int w, int h);
    void DrawRows(int top, int last, int scrollX, int& yLast, int& widest);
    // What DrawList paints, returning the widest row text; the rows are those DrawList chose.
    int PaintPixels();
    void PaintPendingPixels();
    // The widest row text of the rows DrawList chose, measured without painting.
    int MeasureRows();
    void UpdateHorizontalRange();
    void Present();

    // Scroll bars.
    void LayoutBars();
    void ClientChanged();
    void ScrollMessage(int bar, int code);
    void WheelScroll(bool ctrl, int delta);
    void BarActionTriggered(int bar, int action);

    // Interaction.
    struct KeyStates {
        bool Left = false;
        bool Ctrl = false;
        bool Shift = false;
    };
    void Press(short Button, short Shift, float X, float y);
    void Release(short Button, short Shift, float X, float y);
    void PointerMove(short Button, short Shift, float X, float y);
    void DoubleClick();
    void HandleKeyDown(short KeyCode, short Shift);
    bool SetHotIndex(int index);
    void ToggleTreeRow(int row);
    void TrackInput(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void UpdatePointerShape(float y);
    QPointF ClientPoint(const QPointF& widgetPoint) const;
    bool InClientArea(const QPointF& clientPoint) const;

    // Messages received after the widget's own handling.
    void InitWindow();
    void RefreshTimerTick();
    void PointerMoved();
    void PointerLeft();

    // File modes.
    int TreeLevel(const QString& path) const;
    int NextDriveRow(int row) const;

    // Accessibility: the rows as list items for screen readers.
    void InitAccessibility();
    void AnnounceCurrentRow();

    // Tip.
    void CreateTipWindow();
    void ShowItemTip(int r);
    void HideTip();

    ControlContainer* container_;

    QList<Row> Items;
    std::vector<int> Selection;
    int listIndex_ = 0;
    int selectionAnchor_ = 0;
    int visibleRows_ = 1;
    int refreshTicks_ = 0;
    int refreshTimerId_ = 0;

    int mode_ = 0;
    QString path_;
    std::optional<QImage> picture_;
    std::optional<QFont> font_;
    uint32_t foreColor_ = 0x80000012u;
    uint32_t backColor_ = 0x00FFFFFFu;
    uint32_t selColor_ = 0x00FF8C1Au;
    uint32_t selForeColor_ = 0x00FFFFFFu;
    bool strechIcon_ = false;
    int borderStyle_ = 512;
    bool fullRowSelect_ = false;
    bool multiSelect_ = false;
    std::function<QImage(int)> imageList_;
    bool focusRectangle_ = false;
    bool showIcon_ = false;
    int sortOrder_ = 0;
    bool iconFocus_ = true;
    int textAlignment_ = 0;
    bool gridLines_ = false;
    uint32_t gridColor_ = 0x8000000Fu;
    int rowHeight_ = 22;
    int backGradient_ = 0;
    int selGradient_ = 0;
    uint32_t backGradientCol_ = 0x00C0C0C0u;
    uint32_t selGradientCol_ = 0x00FFFFFFu;
    int selectionStyle_ = 1;
    bool flatScrollBar_ = false;
    bool autoHideScrollBars_ = false;
    int iconExtractSize_ = 0;
    QString filter_ = QStringLiteral("*.*");
    bool autoRefresh_ = true;
    bool showSystemFiles_ = false;
    bool showHiddenFiles_ = false;

    Surface surface_;
    // The cleared background with its gradient as last painted, and what it was painted from:
    // a repaint at the same size and colours copies it rather than painting it again.
    struct BackgroundKey {
        int width = 0;
        int height = 0;
        qreal ratio = 1;
        uint32_t back = 0;
        qint64 picture = 0;
        int style = 0;
        int32_t from = 0;
        int32_t to = 0;
        bool operator==(const BackgroundKey&) const = default;
    };
    BackgroundKey backgroundKey_;
    QImage background_;
    // The backgrounds last painted by any list, most recent first.
    static RecentCache<BackgroundKey, QImage>& SharedBackgrounds();
    double rowPitch_ = 0;
    int textOffset_ = 0;
    int rowOriginX_ = 0;
    int widestText_ = 0;
    // The rows and horizontal offset of the last DrawList, and whether they await painting.
    struct PendingRows {
        int top = 0;
        int last = -1;
        int scrollX = 0;
    } pendingRows_;
    bool pixelsPending_ = false;
    bool hasFocus_ = false;

    ScrollBars::BarWindow barWindow_;
    ScrollBars::Layer bars_;
    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
    int clientChangeDepth_ = 0;
    // The size the last resize laid the bars out and drew at.
    QSize laidOutSize_;

    int lastTrackedRow_ = 0;
    bool pointerInside_ = false;
    KeyStates keys_;
    bool afterDoubleClick_ = false;
    bool pressedHere_ = false;
    // Set while a press that completes a double-click on the tip is handed to the list (a
    // copied event cannot carry Qt's double-click flag).
    bool tipDoubleClickPress_ = false;
    // The last press on the tip, from which its double-clicks are made.
    Qt::MouseButton tipPressButton_ = Qt::NoButton;
    quint64 tipPressTime_ = 0;
    QPointF tipPressAt_;

    bool hookInstalled_ = false;
    bool mouseInWindow_ = false;
    bool destroying_ = false;

    QPointer<QWidget> tipWindow_;
    int tipRow_ = -100;
    std::vector<std::pair<QString, QImage>> IconCache;
    // The drive rows of the current drive or tree listing, in their order.
    QStringList drives_;
    int iconExtractCount_ = 0;

    int refreshCount_ = 0;
    int drawCount_ = 0;
};

// A row's fields move as plain bytes: a growing list of rows is reallocated in place, rather
// than moved row by row into fresh memory that costs a page fault a page.
Q_DECLARE_TYPEINFO(McListBox::Row, Q_RELOCATABLE_TYPE);
