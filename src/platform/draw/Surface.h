#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QColor;
class QPainter;

// One-pixel edges along the inside of `box`: top and left in one colour, then bottom and right
// in the other, which so has the two corners they share. Filled rather than stroked, because a
// stroked line on a dense screen straddles the device pixels of two pixels.
void DrawEdges(QPainter& painter, const QRect& box, const QColor& topLeft,
               const QColor& bottomRight);

// The persistent drawing surface of a control: a back buffer the control draws into and the
// widget presents, with the drawing state the control's drawing calls share (foreground colour
// for lines, outlines and text, fill colour for boxes, the font with its bold flag, solid
// lines). Colours are 0x00BBGGRR values, system colours (0x800000nn) included; coordinates are
// pixels, right and bottom edges exclusive as the original drawing calls have them.
//
// On a dense screen the buffer holds device pixels (DevicePixelRatio() of them to a pixel each
// way) so that text and pictures come out sharp, while every coordinate stays in the pixels
// the controls reckon in: a pixel-level call covers the whole block of device pixels of each
// pixel it touches, and Pixel() reads a block back as one pixel.
class Surface {
public:
    // Text format flags, numbered as the original text call numbers them.
    enum TextFormat : int {
        kLeft = 0x0,
        kCenter = 0x1,
        kRight = 0x2,
        kVCenter = 0x4,
        kBottom = 0x8,
        kWordBreak = 0x10,
        kSingleLine = 0x20,
        kExpandTabs = 0x40,
        kNoClip = 0x100,
    };

    Surface();
    Surface(int width, int height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // While one lives, the drawing calls share one painter instead of each setting up its own:
    // a frame of many rows pays for the set-up once. Nothing may copy the buffer meanwhile.
    class Batch {
    public:
        explicit Batch(Surface& surface);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Surface& surface_;
    };

    // A new size keeps nothing of the old picture: the buffer is cleared to the back colour.
    void Resize(int width, int height);
    // The same for a new density; a ratio below 1 is taken as 1.
    void Resize(int width, int height, qreal devicePixelRatio);
    int Width() const { return width_; }
    int Height() const { return height_; }
    qreal DevicePixelRatio() const { return ratio_; }
    // In device pixels, with the ratio set, so that a painter presents it unscaled.
    const QImage& Image() const { return image_; }

    void SetForeColor(uint32_t colour) { foreColour_ = colour; }
    uint32_t ForeColor() const { return foreColour_; }
    void SetFillColor(uint32_t colour) { fillColour_ = colour; }
    uint32_t FillColor() const { return fillColour_; }
    void SetBackColor(uint32_t colour) { backColour_ = colour; }
    uint32_t BackColor() const { return backColour_; }
    void SetFont(const QFont& font);
    const QFont& Font() const { return font_; }
    void SetFontBold(bool bold);
    bool FontBold() const { return font_.bold(); }
    // Drawn at the top-left corner, unscaled, by every Clear; a null image for none.
    void SetBackPicture(const QImage& picture) { backPicture_ = picture; }
    const QImage& BackPicture() const { return backPicture_; }
    // The surface's own 0 flat / 1 three-dimensional setting; the widget draws the frame.
    void SetAppearance(int16_t appearance) { appearance_ = appearance; }
    int16_t Appearance() const { return appearance_; }

    // Fills the buffer with the back colour, then draws the back picture.
    void Clear();
    // Puts back pixels kept from this surface (Image() copied at the same size); a picture of
    // another size is ignored.
    void Restore(const QImage& kept);
    // Outlined in the foreground colour and filled with the fill colour; right and bottom
    // exclusive. An empty rectangle draws nothing.
    void Rectangle(int left, int top, int right, int bottom);
    // From (x1, y1) up to, not including, (x2, y2), one pixel wide.
    void Line(int x1, int y1, int x2, int y2);
    void Line(int x1, int y1, int x2, int y2, uint32_t colour);
    // The dotted focus mark: every other pixel of the outline inverted, so that drawing the
    // same mark twice removes it.
    void FocusRect(int left, int top, int right, int bottom);
    // Text in the foreground colour over what is there, placed in the rectangle by the
    // format flags; clipped to the rectangle unless kNoClip. Drawn as the desktop draws the
    // rest of the program's text, anti-aliased: an outline font drawn with plain pixels is
    // hinted glyph by glyph, and its letters and word spaces come out unevenly spaced.
    void DrawText(const QString& text, const QRect& rectangle, int format);
    int TextWidth(const QString& text) const;
    // The line height of the font: what the controls call the height of a text.
    int TextHeight(const QString& text) const;
    // The picture scaled into the rectangle, its transparent parts letting the surface show.
    void DrawPicture(const QImage& picture, const QRect& target);
    // Copies a width x height block of 0x00RRGGBB pixels stored bottom row first to (x, y),
    // unscaled and unblended; parts outside the surface are dropped.
    void CopyPixels(int x, int y, int width, int height, const uint32_t* bottomUpPixels);

    // The colour at (x, y) as 0x00BBGGRR; 0 outside the surface.
    uint32_t Pixel(int x, int y) const;

    // The plain colour a drawing call uses for `colour`; white where it cannot be translated,
    // as the platform's failed translation reads.
    static uint32_t PlainColor(uint32_t colour);

private:
    // The first device pixel of pixel `v` (and the end of pixel v - 1), by the pixel-centre
    // rule the painter fills by, so that blocks line up with text and pictures.
    int Device(int v) const;
    void Invert(int x, int y);
    void Plot(int x, int y, uint32_t rgb);
    // Fills the pixels [left, right) x [top, bottom), clipped to the surface.
    void Fill(int left, int top, int right, int bottom, uint32_t rgb);
    // The batch's painter, or `own` opened on the buffer for this one call.
    QPainter& Painter(std::optional<QPainter>& own);
    const QFontMetrics& Metrics() const;
    void FontChanged();

    QImage image_;
    int width_ = 0;
    int height_ = 0;
    qreal ratio_ = 1;
    std::unique_ptr<QPainter> batchPainter_;
    int batchDepth_ = 0;
    // The metrics of the font, made once per font rather than once per call.
    mutable std::optional<QFontMetrics> metrics_;
    // Widths of single-line texts in the font, regular and bold apart: every frame measures
    // the same row texts again, and shaping is most of a measurement's cost.
    mutable QHash<QString, int> widths_[2];
    uint32_t foreColour_ = 0;
    uint32_t fillColour_ = 0x00FFFFFF;
    uint32_t backColour_ = 0x00FFFFFF;
    QFont font_;
    QImage backPicture_;
    int16_t appearance_ = 1;
};
