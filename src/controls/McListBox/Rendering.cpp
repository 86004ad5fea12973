#include "controls/McListBox/McListBox.h"

#include "controls/McListBox/Gradients.h"
#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/SystemColors.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {

int Round(double value) {
    return static_cast<int>(std::nearbyint(value));
}

struct SelectionColours {
    uint32_t Outline;
    uint32_t Current;
    uint32_t Other;
};

} // namespace

void McListBox::DrawList() {
    using namespace ScrollBars;
    if (destroying_)
        return;
    ++drawCount_;
    // Any failure ends the repaint where it happened; what was drawn stays until the next one.
    try {
        textOffset_ = 0;
        ClampListIndex();
        const int top = bars_.GetBarValue(kVertical);
        int last = top + visibleRows_;
        if (last > ListCount() - 1)
            last = ListCount() - 1;
        rowPitch_ = ClientHeight() / double(visibleRows_);
        if (showIcon_)
            textOffset_ = Round(rowPitch_ + 3);
        if (!container_->UserMode() && Items.isEmpty() && mode_ == 0) {
            Items.append(MakeRow(QStringLiteral("McListBox"), -1, false));
            Selection.push_back(0);
        }
        pendingRows_ = {top, last, bars_.GetBarValue(kHorizontal)};
        // A list that is not on screen is laid out and measured now but painted only when its
        // pixels are wanted: filling and sizing a new list would otherwise paint it at every
        // step. Tree and file rows are measured by drawing them, so they are painted at once.
        if (mode_ == 0 && !isVisible()) {
            pixelsPending_ = true;
            // Text is measured at the buffer's resolution: a list never drawn needs one.
            if (surface_.Image().isNull())
                surface_.Resize(ClientWidth(), ClientHeight(), devicePixelRatioF());
            widestText_ = MeasureRows();
        } else {
            pixelsPending_ = false;
            widestText_ = PaintPixels();
        }
        widestText_ += bars_.GetBarValue(kHorizontal);
        UpdateHorizontalRange();
        Present();
    } catch (const std::exception&) {
        // The list never reports a drawing failure.
    }
}

int McListBox::PaintPixels() {
    const auto [top, last, scrollX] = pendingRows_;
    surface_.Resize(ClientWidth(), ClientHeight(), devicePixelRatioF());
    // Setting the picture repaints the cleared background with it.
    surface_.SetBackPicture(picture_.value_or(QImage()));
    DrawBackground();
    int widest = 0;
    int yLast = 0;
    const Surface::Batch batch(surface_);
    DrawRows(top, last, scrollX, yLast, widest);
    if (gridLines_) {
        surface_.SetForeColor(gridColor_);
        surface_.Line(0, yLast + rowHeight_, ClientWidth(), yLast + rowHeight_);
    }
    return widest;
}

void McListBox::PaintPendingPixels() {
    if (!pixelsPending_)
        return;
    pixelsPending_ = false;
    try {
        PaintPixels();
    } catch (const std::exception&) {
        // As in DrawList: the rows drawn before the failure stay.
    }
}

const Surface& McListBox::DrawingSurface() const {
    // The pixels are what the last DrawList decided; painting them late changes nothing a
    // reader could tell, so reading them is const.
    const_cast<McListBox*>(this)->PaintPendingPixels();
    return surface_;
}

int McListBox::MeasureRows() {
    // The widths DrawRows finds for plain rows, with its failures and the bold state it leaves.
    const auto [top, last, scrollX] = pendingRows_;
    int widest = 0;
    const int originX = -scrollX;
    for (int i = top; i <= last; ++i) {
        const Row& row = Items[i];
        const bool bold = row.pieces.isEmpty() ? row.bold : row.Field(2) == QLatin1String("True");
        if (showIcon_ && ListIcon(i) != -1 && !imageList_)
            throw RuntimeError(91, QStringLiteral("Object variable not set"));
        surface_.SetFontBold(bold);
        widest = std::max(widest, surface_.TextWidth(row.Field(0)) + originX);
    }
    return widest;
}

void McListBox::DrawBackground() {
    if (backGradient_ == 0 && surface_.BackPicture().isNull()) {
        surface_.Clear();
        return;
    }
    // The gradient routine translates only colours that read as negative numbers.
    const auto plain = [](uint32_t colour) {
        const auto value = static_cast<int32_t>(colour);
        return value < 0 ? Gradients::TranslateColor(value) : value;
    };
    const BackgroundKey key{surface_.Width(),
                            surface_.Height(),
                            surface_.DevicePixelRatio(),
                            Surface::PlainColor(surface_.BackColor()),
                            surface_.BackPicture().cacheKey(),
                            backGradient_,
                            plain(backColor_),
                            plain(backGradientCol_)};
    if (key == backgroundKey_ && background_.size() == surface_.Image().size()) {
        surface_.Restore(background_);
        return;
    }
    // Lists of one design are laid out at the same few sizes (with and without each bar), one
    // after another: a background painted for one serves the next, which would otherwise paint
    // the gradient again at every size it passes through.
    auto& shared = SharedBackgrounds();
    if (const QImage* kept = shared.Find(key); kept && kept->size() == surface_.Image().size()) {
        background_ = *kept;
        backgroundKey_ = key;
        surface_.Restore(background_);
        return;
    }
    surface_.Clear();
    if (backGradient_ != 0)
        Gradients::FillGradient(surface_, 0, 0, ClientWidth(), ClientHeight(),
                                static_cast<int32_t>(backColor_),
                                static_cast<int32_t>(backGradientCol_), backGradient_, true);
    background_ = surface_.Image().copy();
    backgroundKey_ = key;
    shared.Insert(key, background_);
}

RecentCache<McListBox::BackgroundKey, QImage>& McListBox::SharedBackgrounds() {
    // A few sizes of one design: enough for a list and its bars, little memory held.
    static RecentCache<BackgroundKey, QImage> backgrounds(4);
    return backgrounds;
}

void McListBox::DrawRows(int top, int last, int scrollX, int& yLast, int& widest) {
    using namespace ScrollBars;
    SelectionColours colours{selColor_, selColor_, selColor_};
    if (selectionStyle_ == 1) {
        const auto sel = static_cast<int32_t>(selColor_);
        colours.Outline = static_cast<uint32_t>(Gradients::BlendColors(sel, 0, 250));
        if (hasFocus_) {
            colours.Current = static_cast<uint32_t>(Gradients::BlendColors(sel, 0x00FFFFFF, 150));
            colours.Other = static_cast<uint32_t>(Gradients::BlendColors(sel, 0x00FFFFFF, 100));
        } else {
            colours.Current = static_cast<uint32_t>(Gradients::BlendColors(sel, 0x00FFFFFF, 75));
            colours.Other = colours.Current;
        }
    }
    const int clientWidth = ClientWidth();
    const bool treeMode = mode_ == 4 || mode_ == 5;

    for (int i = top; i <= last; ++i) {
        const Row& row = Items[i];
        QString text = row.Field(0);
        const QString fullText = text;
        const bool bold = row.pieces.isEmpty() ? row.bold : row.Field(2) == QLatin1String("True");
        const int p = SelPosition(i);
        const int y = Round((i - top) * rowPitch_);
        yLast = y;
        rowOriginX_ = -scrollX;
        if (treeMode)
            CheckItem(text, rowOriginX_, y);

        QImage picture;
        bool hasPicture = false;
        if (showIcon_) {
            if (mode_ == 0) {
                const int icon = ListIcon(i);
                if (icon != -1) {
                    if (!imageList_)
                        throw RuntimeError(91, QStringLiteral("Object variable not set"));
                    picture = imageList_(icon);
                    hasPicture = true;
                }
            } else if (mode_ == 1) {
                picture = GetItemIcon(text);
                hasPicture = true;
            } else if (treeMode) {
                picture = GetItemIcon(fullText);
                hasPicture = true;
            } else {
                picture = GetItemIcon(path_ + text);
                hasPicture = true;
            }
        }

        if ((mode_ == 1 || treeMode) && rowOriginX_ == -scrollX)
            text = GetDriveCaption(text + kPathSeparator) + QStringLiteral(" (") + text +
                   QStringLiteral(")");

        if (p > 0) {
            const int bottom = Round(y + rowPitch_);
            if (selGradient_ == 0) {
                surface_.SetForeColor(colours.Outline);
                surface_.SetFillColor(i == listIndex_ ? colours.Current : colours.Other);
                const int left = fullRowSelect_ ? rowOriginX_ + 1 : rowOriginX_ + textOffset_ + 1;
                surface_.Rectangle(left, y + 1, clientWidth, bottom);
            } else if (fullRowSelect_) {
                Gradients::FillGradient(surface_, rowOriginX_, y + 1, clientWidth, Round(rowPitch_),
                                        static_cast<int32_t>(selColor_),
                                        static_cast<int32_t>(selGradientCol_), selGradient_, true);
            } else {
                Gradients::FillGradient(surface_, rowOriginX_ + textOffset_, y + 1,
                                        clientWidth - textOffset_, Round(rowPitch_),
                                        static_cast<int32_t>(selColor_),
                                        static_cast<int32_t>(selGradientCol_), selGradient_, true);
            }
            if (iconFocus_ && !fullRowSelect_ && showIcon_ && hasFocus_) {
                surface_.SetForeColor(0);
                surface_.FocusRect(rowOriginX_ + 1, y + 1, Round(rowOriginX_ + rowPitch_), bottom);
            }
            surface_.SetForeColor(selForeColor_);
        } else {
            if (treeMode && iconFocus_) {
                surface_.SetForeColor(SystemColors::System(SystemColors::kGrayText));
                surface_.SetFillColor(backColor_);
                surface_.Rectangle(rowOriginX_ + 1, y + 1, Round(rowOriginX_ + rowPitch_),
                                   Round(y + rowPitch_));
            }
            surface_.SetForeColor(foreColor_);
        }

        surface_.SetFontBold(bold);
        DrawItemText(text, rowOriginX_ + textOffset_, y + 1);
        const int w = surface_.TextWidth(text);
        if (w + rowOriginX_ > widest)
            widest = w + rowOriginX_;

        if (showIcon_ && hasPicture)
            DrawItemIcon(picture, rowOriginX_ + 2, y + 2, Round(rowPitch_ - 4),
                         Round(rowPitch_ - 4));

        if (gridLines_) {
            surface_.SetForeColor(gridColor_);
            surface_.Line(0, y, clientWidth, y);
        }

        if (i == listIndex_ && focusRectangle_) {
            surface_.SetForeColor(0);
            const int left =
                (!fullRowSelect_ && showIcon_) ? rowOriginX_ + textOffset_ : rowOriginX_ - 1;
            surface_.FocusRect(left, y, clientWidth + 1, Round(y + rowPitch_ + 1));
        }
    }
}

void McListBox::DrawItemText(const QString& text, int x, int y) {
    const int top = y + Round((rowHeight_ - surface_.TextHeight(QStringLiteral("A"))) / 2.0);
    const QRect rectangle(QPoint(x + 5, top), QPoint(ClientWidth() - 1, y + rowHeight_ - 1));
    surface_.DrawText(text, rectangle, textAlignment_);
}

void McListBox::DrawItemIcon(const QImage& picture, int x, int y, int w, int h) {
    if (picture.isNull())
        return;
    if (strechIcon_) {
        surface_.DrawPicture(picture, QRect(x, y, w, h));
        return;
    }
    const int left = Round(x + (w - picture.width()) / 2.0);
    const int top = Round(y + (h - picture.height()) / 2.0);
    surface_.DrawPicture(picture, QRect(left, top, picture.width(), picture.height()));
}

void McListBox::UpdateHorizontalRange() {
    using namespace ScrollBars;
    const int clientWidth = ClientWidth();
    if (clientWidth < widestText_) {
        bars_.SetBarVisible(kHorizontal, true);
        bars_.SetBarEnabled(kHorizontal, true);
        bars_.SetBarMax(kHorizontal, widestText_ + 50 - clientWidth);
    } else {
        bars_.SetBarValue(kHorizontal, 0);
        bars_.SetBarVisible(kHorizontal, !autoHideScrollBars_);
        bars_.SetBarEnabled(kHorizontal, autoHideScrollBars_);
    }
}

void McListBox::Present() {
    update();
}

void McListBox::paintEvent(QPaintEvent*) {
    // Moved to a screen of another density: drawn again at the new one before it is shown.
    if (drawCount_ > 0 && !pixelsPending_ &&
        surface_.DevicePixelRatio() != std::max(devicePixelRatioF(), qreal(1)))
        DrawList();
    PaintPendingPixels();
    QPainter painter(this);
    const int frame = FrameWidth();
    // The sunken client edge outside, then the control's own single border.
    const auto colour = [](int index) {
        return SystemColors::ToQColor(SystemColors::Lookup(index).value_or(0));
    };
    // The rings stand as they always have, their right and bottom sides one pixel in.
    QRect edge = rect().adjusted(0, 0, -1, -1);
    if (borderStyle_ & 0x200) {
        DrawEdges(painter, edge, colour(16), colour(20));
        edge.adjust(1, 1, -1, -1);
        DrawEdges(painter, edge, colour(21), colour(22));
        edge.adjust(1, 1, -1, -1);
    }
    if (Appearance() == 1) {
        DrawEdges(painter, edge, colour(16), colour(20));
        edge.adjust(1, 1, -1, -1);
        DrawEdges(painter, edge, colour(21), colour(22));
    } else {
        DrawEdges(painter, edge.adjusted(0, 0, 1, 1), Qt::black, Qt::black);
    }
    // At the surface's own density, so device pixels are copied one for one.
    painter.drawImage(frame, frame, surface_.Image());
    if (barWindow_.IsShown(ScrollBars::kHorizontal) && barWindow_.IsShown(ScrollBars::kVertical)) {
        const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        painter.fillRect(QRect(frame + ClientWidth(), frame + ClientHeight(), extent, extent),
                         colour(SystemColors::kButtonFace));
    }
}
