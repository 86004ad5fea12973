#include "controls/McListBox/McListBox.h"

#include "controls/McImageList.h"
#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/PropertyStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>

namespace {

QString ApplicationFolder() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) +
           McListBox::kPathSeparator;
}

QFont NewFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}

// Colours travel through the store as plain numbers; a system colour is above the 32-bit
// signed range, so both its signed and unsigned spellings read back the same.
QVariant Colour(uint32_t colour) {
    return QVariant(static_cast<qint64>(colour));
}

uint32_t ReadColour(const PropertyStore& store, const char* key, uint32_t defaultColour) {
    return static_cast<uint32_t>(
        store.ReadProperty(QString::fromLatin1(key), Colour(defaultColour)).toLongLong());
}

int ReadInt(const PropertyStore& store, const char* key, int defaultValue) {
    return store.ReadProperty(QString::fromLatin1(key), defaultValue).toInt();
}

bool ReadBool(const PropertyStore& store, const char* key, bool defaultValue) {
    return store.ReadProperty(QString::fromLatin1(key), defaultValue).toBool();
}

} // namespace

void McListBox::setContainer(ControlContainer* container) {
    container_ = container != nullptr ? container : &ControlContainer::RunTime();
}

void McListBox::setMode(int value) {
    if (value == mode_)
        return;
    mode_ = value;
    Notify("Mode");
    if (value != 0)
        LoadModeItems();
    else
        Clear();
    Refresh();
}

void McListBox::setPath(const QString& value) {
    if (value == path_ || mode_ == 5)
        return;
    QString path = value;
    if (!path.isEmpty() && !path.endsWith(kPathSeparator))
        path += kPathSeparator;
    path_ = path;
    Notify("Path");
    LoadModeItems();
    Refresh();
}

QImage McListBox::Picture() {
    if (!picture_)
        picture_ = QImage();
    return *picture_;
}

void McListBox::setPicture(const QImage& value) {
    picture_ = value;
    Notify("Picture");
    DrawList();
}

QFont McListBox::Font() {
    if (!font_)
        font_ = NewFont();
    return *font_;
}

int McListBox::FontHeight() const {
    Surface probe(1, 1);
    probe.SetFont(surface_.Font());
    probe.SetFontBold(false);
    return probe.TextHeight(QStringLiteral("A"));
}

void McListBox::ApplyFont() {
    surface_.SetFont(font_.value_or(NewFont()));
    const int height = surface_.TextHeight(QStringLiteral("A"));
    if (height > rowHeight_)
        rowHeight_ = height;
}

void McListBox::setFont(const QFont& value) {
    font_ = value;
    ApplyFont();
    Notify("Font");
    Refresh();
}

void McListBox::setForeColor(uint32_t value) {
    foreColor_ = value;
    Notify("ForeColor");
    DrawList();
}

void McListBox::setBackColor(uint32_t value) {
    backColor_ = value;
    Notify("BackColor");
    surface_.SetBackColor(value);
    DrawList();
}

void McListBox::setSelColor(uint32_t value) {
    selColor_ = value;
    Notify("SelColor");
    DrawList();
}

void McListBox::setSelForeColor(uint32_t value) {
    selForeColor_ = value;
    Notify("SelForeColor");
    DrawList();
}

void McListBox::setStrechIcon(bool value) {
    strechIcon_ = value;
    Notify("StrechIcon");
    DrawList();
}

void McListBox::setAppearance(int value) {
    if (value < -32768 || value > 32767)
        throw RuntimeError::Overflow();
    const int frame = FrameWidth();
    surface_.SetAppearance(static_cast<int16_t>(value));
    UpdateFrame(frame);
    Notify("Appearance");
    DrawList();
}

void McListBox::setBorderStyle(int value) {
    const int frame = FrameWidth();
    borderStyle_ = value;
    // The edge is part of the frame: the client area changes without moving the window.
    UpdateFrame(frame);
    Notify("BorderStyle");
    DrawList();
}

void McListBox::setFullRowSelect(bool value) {
    fullRowSelect_ = value;
    Notify("FullRowSelect");
    DrawList();
}

void McListBox::setMultiSelect(bool value) {
    multiSelect_ = value;
    ResetSelection();
    Selection.push_back(listIndex_);
    Notify("MultiSelect");
    DrawList();
}

void McListBox::setImageList(std::function<QImage(int)> listImages) {
    imageList_ = std::move(listImages);
}

void McListBox::setImageList(McImageList* imageList) {
    if (imageList == nullptr) {
        setImageList(std::function<QImage(int)>());
        return;
    }
    setImageList([source = QPointer<McImageList>(imageList)](int index) {
        if (source == nullptr)
            throw RuntimeError(91, QStringLiteral("Object variable not set"));
        return source->ListImages(index);
    });
}

void McListBox::setFocusRectangle(bool value) {
    focusRectangle_ = value;
    Notify("FocusRectangle");
    DrawList();
}

void McListBox::setShowIcon(bool value) {
    showIcon_ = value;
    Notify("ShowIcon");
    DrawList();
}

void McListBox::setSortOrder(int value) {
    sortOrder_ = value;
    Notify("SortOrder");
    SortItems();
    DrawList();
}

void McListBox::setIconFocus(bool value) {
    iconFocus_ = value;
    Notify("IconFocus");
    DrawList();
}

void McListBox::setTextAlignment(int value) {
    textAlignment_ = value;
    Notify("TextAlignment");
    DrawList();
}

void McListBox::setGridLines(bool value) {
    gridLines_ = value;
    Notify("GridLines");
    DrawList();
}

void McListBox::setGridColor(uint32_t value) {
    gridColor_ = value;
    Notify("GridColor");
    DrawList();
}

void McListBox::setRowHeight(int value) {
    rowHeight_ = std::max(value, FontHeight());
    Notify("RowHeight");
    Refresh();
}

void McListBox::setBackGradient(int value) {
    backGradient_ = value;
    Notify("BackGradient");
    DrawList();
}

void McListBox::setSelGradient(int value) {
    selGradient_ = value;
    Notify("SelGradient");
    DrawList();
}

void McListBox::setBackGradientCol(uint32_t value) {
    backGradientCol_ = value;
    Notify("BackGradientCol");
    DrawList();
}

void McListBox::setSelGradientCol(uint32_t value) {
    selGradientCol_ = value;
    Notify("SelGradientCol");
    DrawList();
}

void McListBox::setSelectionStyle(int value) {
    selectionStyle_ = value;
    Notify("SelectionStyle");
    DrawList();
}

void McListBox::setFlatScrollBar(bool value) {
    flatScrollBar_ = value;
    bars_.DetachBars();
    bars_.SetUseStandardBars(!value);
    // Turning flat bars off while running attaches the standard bars again, so that the list
    // keeps scrolling instead of losing its bars until it is loaded anew.
    bars_.AttachBars(&barWindow_);
    Notify("FlatScrollBar");
    QCoreApplication::processEvents();
    Refresh();
}

void McListBox::setAutoHideScrollBars(bool value) {
    autoHideScrollBars_ = value;
    Notify("AutoHideScrollBars");
    Refresh();
}

void McListBox::setIconExtractSize(int value) {
    iconExtractSize_ = value;
    Notify("IconExtractSize");
    IconCache.clear();
    Refresh();
}

void McListBox::setFilter(const QString& value) {
    if (value != filter_) {
        filter_ = value;
        LoadModeItems();
        Refresh();
    }
    Notify("Filter");
}

void McListBox::setAutoRefresh(bool value) {
    autoRefresh_ = value;
    Notify("AutoRefresh");
    if (value)
        Refresh();
}

void McListBox::setShowSystemFiles(bool value) {
    showSystemFiles_ = value;
    Notify("ShowSystemFiles");
    LoadModeItems();
    Refresh();
}

void McListBox::setShowHiddenFiles(bool value) {
    showHiddenFiles_ = value;
    Notify("ShowHiddenFiles");
    LoadModeItems();
    Refresh();
}

void McListBox::InitProperties() {
    backColor_ = 0x00FFFFFFu;
    foreColor_ = 0x80000012u;
    selColor_ = 0x00FF8C1Au;
    selForeColor_ = 0x00FFFFFFu;
    picture_.reset();
    font_ = container_->AmbientFont();
    iconFocus_ = true;
    bars_.SetUseStandardBars(true);
    strechIcon_ = false;
    rowHeight_ = 22;
    fullRowSelect_ = false;
    sortOrder_ = 0;
    textAlignment_ = 0;
    gridLines_ = false;
    gridColor_ = 0x8000000Fu;
    backGradient_ = 0;
    selGradient_ = 0;
    backGradientCol_ = 0x00C0C0C0u;
    selGradientCol_ = 0x00FFFFFFu;
    multiSelect_ = false;
    focusRectangle_ = false;
    showIcon_ = false;
    flatScrollBar_ = false;
    autoHideScrollBars_ = false;
    selectionStyle_ = 1;

    setBorderStyle(512);
    setAppearance(1);
    setBackColor(0x00FFFFFFu);

    mode_ = 0;
    path_ = ApplicationFolder();
    iconExtractSize_ = 0;
    if (bars_.Window() == nullptr)
        InitWindow();
    filter_ = QStringLiteral("*.*");
    autoRefresh_ = true;
    showSystemFiles_ = false;
    showHiddenFiles_ = false;
}

void McListBox::ReadProperties(const PropertyStore& store) {
    listIndex_ = -1;
    const QVariant picture = store.ReadProperty(QStringLiteral("Picture"));
    if (picture.isValid())
        picture_ = picture.value<QImage>();
    else
        picture_.reset();
    font_ = store.ReadProperty(QStringLiteral("Font"), container_->AmbientFont()).value<QFont>();
    backColor_ = ReadColour(store, "BackColor", 0x00FFFFFFu);
    foreColor_ = ReadColour(store, "ForeColor", 0x80000012u);
    selColor_ = ReadColour(store, "SelColor", 0x00FF8C1Au);
    selForeColor_ = ReadColour(store, "SelForeColor", 0x00FFFFFFu);
    strechIcon_ = ReadBool(store, "StrechIcon", false);
    setAppearance(ReadInt(store, "Appearance", 1));
    setBorderStyle(ReadInt(store, "BorderStyle", 512));
    fullRowSelect_ = ReadBool(store, "FullRowSelect", false);
    sortOrder_ = ReadInt(store, "SortOrder", 0);
    iconFocus_ = ReadBool(store, "IconFocus", true);
    textAlignment_ = ReadInt(store, "TextAlignment", 0);
    rowHeight_ = ReadInt(store, "RowHeight", 22);

    ApplyFont();

    gridLines_ = ReadBool(store, "GridLines", false);
    gridColor_ = ReadColour(store, "GridColor", 0x8000000Fu);
    backGradient_ = ReadInt(store, "BackGradient", 0);
    selGradient_ = ReadInt(store, "SelGradient", 0);
    backGradientCol_ = ReadColour(store, "BackGradientCol", 0x00C0C0C0u);
    selGradientCol_ = ReadColour(store, "SelGradientCol", 0x00FFFFFFu);
    multiSelect_ = ReadBool(store, "MultiSelect", false);
    surface_.SetBackColor(backColor_);

    focusRectangle_ = ReadBool(store, "FocusRectangle", false);
    showIcon_ = ReadBool(store, "ShowIcon", false);
    selectionStyle_ = ReadInt(store, "SelectionStyle", 1);
    autoHideScrollBars_ = ReadBool(store, "AutoHideScrollBars", false);
    flatScrollBar_ = ReadBool(store, "FlatScrollBar", false);
    bars_.SetUseStandardBars(!flatScrollBar_);
    iconExtractSize_ = ReadInt(store, "IconExtractSize", 0);
    mode_ = ReadInt(store, "Mode", 0);
    path_ = store.ReadProperty(QStringLiteral("Path"), QString()).toString();
    filter_ = store.ReadProperty(QStringLiteral("Filter"), QStringLiteral("*.*")).toString();
    autoRefresh_ = ReadBool(store, "AutoRefresh", true);
    showSystemFiles_ = ReadBool(store, "ShowSystemFiles", false);
    showHiddenFiles_ = ReadBool(store, "ShowHiddenFiles", false);

    InitWindow();
    LoadModeItems();
    Refresh();
}

void McListBox::WriteProperties(PropertyStore& store) {
    auto put = [&store](const char* key, const QVariant& value, const QVariant& defaultValue) {
        store.WriteProperty(QString::fromLatin1(key), value, defaultValue);
    };
    put("Picture", Picture(), QVariant());
    put("Font", Font(), QVariant());
    put("BackColor", Colour(backColor_), Colour(0x00FFFFFFu));
    put("ForeColor", Colour(foreColor_), Colour(0x80000012u));
    put("SelColor", Colour(selColor_), Colour(0x00FF8C1Au));
    put("SelForeColor", Colour(selForeColor_), Colour(0x00FFFFFFu));
    put("StrechIcon", strechIcon_, false);
    put("Appearance", static_cast<int>(Appearance()), 1);
    put("BorderStyle", borderStyle_, 512);
    put("FullRowSelect", fullRowSelect_, false);
    put("SortOrder", sortOrder_, 0);
    put("IconFocus", iconFocus_, true);
    put("TextAlignment", textAlignment_, 0);
    put("RowHeight", rowHeight_, 22);
    put("GridLines", gridLines_, false);
    put("GridColor", Colour(gridColor_), Colour(0x8000000Fu));
    put("BackGradient", backGradient_, 0);
    put("SelGradient", selGradient_, 0);
    put("BackGradientCol", Colour(backGradientCol_), Colour(0x00C0C0C0u));
    put("SelGradientCol", Colour(selGradientCol_), Colour(0x00FFFFFFu));
    put("MultiSelect", multiSelect_, false);
    put("FocusRectangle", focusRectangle_, false);
    put("ShowIcon", showIcon_, false);
    put("SelectionStyle", selectionStyle_, 1);
    put("FlatScrollBar", flatScrollBar_, false);
    put("AutoHideScrollBars", autoHideScrollBars_, false);
    put("Mode", mode_, 0);
    put("Path", path_, QString());
    put("IconExtractSize", iconExtractSize_, 0);
    put("Filter", filter_, QStringLiteral("*.*"));
    put("AutoRefresh", autoRefresh_, true);
    put("ShowSystemFiles", showSystemFiles_, false);
    put("ShowHiddenFiles", showHiddenFiles_, false);
}

McListBox::McListBox(QWidget* parent)
    : QWidget(parent)
    , container_(&ControlContainer::RunTime())
    , path_(ApplicationFolder()) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    InitAccessibility();
    surface_.SetBackColor(backColor_);
    surface_.SetFont(NewFont());
    horizontalBar_ = new ScrollBars::BarWidget(Qt::Horizontal, this);
    verticalBar_ = new ScrollBars::BarWidget(Qt::Vertical, this);
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->installEventFilter(this);
        bar->hide();
    }
    barWindow_.SetScrollBars(horizontalBar_, verticalBar_);
    barWindow_.SetClientChangedHandler([this] { ClientChanged(); });
    connect(horizontalBar_, &QScrollBar::actionTriggered, this,
            [this](int action) { BarActionTriggered(ScrollBars::kHorizontal, action); });
    connect(verticalBar_, &QScrollBar::actionTriggered, this,
            [this](int action) { BarActionTriggered(ScrollBars::kVertical, action); });
    connect(horizontalBar_, &QScrollBar::sliderReleased, this,
            [this] { BarActionTriggered(ScrollBars::kHorizontal, -1); });
    connect(verticalBar_, &QScrollBar::sliderReleased, this,
            [this] { BarActionTriggered(ScrollBars::kVertical, -1); });
    LayoutBars();
}

McListBox::~McListBox() {
    // Nothing may reach the host or the screen any more; errors are ignored.
    destroying_ = true;
    const QSignalBlocker blocker(this);
    for (QScrollBar* bar : {horizontalBar_, verticalBar_})
        bar->removeEventFilter(this);
    try {
        Clear();
    } catch (const std::exception&) {
    }
    bars_.DetachBars();
    if (refreshTimerId_ != 0)
        killTimer(refreshTimerId_);
    Items.clear();
    IconCache.clear();
    hookInstalled_ = false;
    delete tipWindow_;
}

int McListBox::FrameWidth() const {
    const int border = Appearance() == 1 ? 2 : 1;
    return border + ((borderStyle_ & 0x200) ? 2 : 0);
}

int McListBox::ClientWidth() const {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int bar = barWindow_.IsShown(ScrollBars::kVertical) ? extent : 0;
    return std::max(0, width() - 2 * FrameWidth() - bar);
}

int McListBox::ClientHeight() const {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int bar = barWindow_.IsShown(ScrollBars::kHorizontal) ? extent : 0;
    return std::max(0, height() - 2 * FrameWidth() - bar);
}

void McListBox::setClientSize(int width, int height) {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int w =
        width + 2 * FrameWidth() + (barWindow_.IsShown(ScrollBars::kVertical) ? extent : 0);
    const int h =
        height + 2 * FrameWidth() + (barWindow_.IsShown(ScrollBars::kHorizontal) ? extent : 0);
    resize(w, h);
}

void McListBox::UpdateFrame(int previousFrameWidth) {
    // A frame of another width leaves another client area, which the list answers as it
    // answers a resize.
    if (FrameWidth() != previousFrameWidth)
        ClientChanged();
    else
        LayoutBars();
    update();
}

void McListBox::LayoutBars() {
    const int frame = FrameWidth();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    horizontalBar_->setGeometry(frame, frame + ClientHeight(), ClientWidth(), extent);
    verticalBar_->setGeometry(frame + ClientWidth(), frame, extent, ClientHeight());
}

void McListBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt sends a widget that was never shown a resize event at the size it already has on
    // every grab: laid out and drawn at that size, the list has nothing to redo.
    if (event->size() == laidOutSize_)
        return;
    laidOutSize_ = event->size();
    LayoutBars();
    Refresh();
}

void McListBox::ClientChanged() {
    LayoutBars();
    // A bar that appears or goes changes the client area, which the list answers like any
    // other resize. Bars only appear as the client shrinks, so the nesting ends; the bound
    // keeps a pathological style from recursing without end.
    if (clientChangeDepth_ >= 4 || destroying_)
        return;
    ++clientChangeDepth_;
    try {
        Refresh();
    } catch (...) {
        --clientChangeDepth_;
        throw;
    }
    --clientChangeDepth_;
}
