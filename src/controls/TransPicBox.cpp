#include "controls/TransPicBox.h"

#include "platform/RuntimeError.h"
#include "platform/draw/Surface.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/PictureAccessible.h"
#include "platform/forms/PropertyStore.h"
#include "platform/forms/SystemColors.h"

#include <QBitmap>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kAppearance = QStringLiteral("Appearance");
const QString kBackStyle = QStringLiteral("BackStyle");
const QString kBorderStyle = QStringLiteral("BorderStyle");
const QString kMaskColor = QStringLiteral("MaskColor");
const QString kPicture = QStringLiteral("Picture");
const QString kAutoSize = QStringLiteral("AutoSize");

constexpr short kDefaultAppearance = 1;
constexpr short kDefaultBackStyle = 0;
constexpr short kDefaultBorderStyle = 0;
constexpr uint32_t kDefaultMaskColor = 0x00FFFFFF;
constexpr bool kDefaultAutoSize = true;

RuntimeError InvalidPropertyValue() {
    return {380, QStringLiteral("Invalid property value")};
}

QColor SystemColour(int index) {
    return SystemColors::ToQColor(SystemColors::Lookup(index).value_or(0));
}

// Stored designs are hand-written text: a value of the wrong kind is reported the way the
// runtime reports it rather than read as zero.
short ReadShort(const PropertyStore& store, const QString& name, short defaultValue) {
    bool ok = false;
    const qlonglong value = store.ReadProperty(name, defaultValue).toLongLong(&ok);
    if (!ok)
        throw RuntimeError::TypeMismatch();
    if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
        throw RuntimeError::Overflow();
    return static_cast<short>(value);
}

// A picture with see-through parts of its own shows every pixel any of whose device pixels
// is drawn at all, and is painted over the window behind, so its edges blend with what is
// really there; wholly see-through pixels are cut, as are those exactly of the mask colour.
// Given as an opaque picture of one pixel a pixel, each cut one in the mask colour.
QImage CutOfSeeThrough(const QImage& picture, QRgb mask) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const qreal ratio = picture.devicePixelRatio();
    const QSize size = picture.deviceIndependentSize().toSize();
    const QRgb shown = mask ^ 0x00FFFFFFu;
    QImage cut(size, QImage::Format_RGB32);
    const auto device = [ratio](int v, int limit) {
        return std::min(static_cast<int>(std::ceil(v * ratio - 0.5)), limit);
    };
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            bool drawn = false;
            const int right = std::max(device(x + 1, argb.width()), device(x, argb.width()) + 1);
            const int bottom = std::max(device(y + 1, argb.height()), device(y, argb.height()) + 1);
            for (int dy = device(y, argb.height() - 1); dy < bottom && !drawn; ++dy)
                for (int dx = device(x, argb.width() - 1); dx < right && !drawn; ++dx) {
                    const QRgb p = argb.pixel(dx, dy);
                    drawn = qAlpha(p) != 0 && (qAlpha(p) != 255 || p != mask);
                }
            cut.setPixel(x, y, drawn ? shown : mask);
        }
    return cut;
}

} // namespace

void TransPicBox::PictureHolder::SetPicture(const QImage& image) {
    picture = image;
    if (!image.isNull())
        size = image.deviceIndependentSize().toSize();
}

TransPicBox::TransPicBox(QWidget* parent)
    : QWidget(parent)
    , container_(&ControlContainer::RunTime()) {
    static const bool accessible = [] {
        InstallPictureAccessibility("TransPicBox", [](QObject*) { return true; }, {});
        return true;
    }();
    (void)accessible;
    InitProperties();
}

short TransPicBox::CheckedStyle(short value) {
    if (value != 0 && value != 1)
        throw InvalidPropertyValue();
    return value;
}

void TransPicBox::setAppearance(short value) {
    appearance_ = CheckedStyle(value);
    UpdateMask();
    update();
    container_->PropertyChanged(kAppearance);
}

void TransPicBox::setBackStyle(short value) {
    backStyle_ = CheckedStyle(value);
    UpdateMask();
    update();
    container_->PropertyChanged(kBackStyle);
}

void TransPicBox::setBorderStyle(short value) {
    borderStyle_ = CheckedStyle(value);
    UpdateMask();
    update();
    container_->PropertyChanged(kBorderStyle);
}

void TransPicBox::setMaskColor(uint32_t value) {
    if (!SystemColors::Translate(value))
        throw InvalidPropertyValue();
    maskColor_ = value;
    UpdateMask();
    update();
    container_->PropertyChanged(kMaskColor);
}

void TransPicBox::setPicture(const QImage& value) {
    picture_ = value;
    Picture1.SetPicture(value);
    if (autoSize_)
        SizeToPicture1();
    UpdateMask();
    update();
    container_->PropertyChanged(kPicture);
}

void TransPicBox::setAutoSize(bool value) {
    autoSize_ = value;
    container_->PropertyChanged(kAutoSize);
    if (autoSize_)
        SizeToPicture1();
}

void TransPicBox::setContainer(ControlContainer* container) {
    container_ = container ? container : &ControlContainer::RunTime();
}

void TransPicBox::InitProperties() {
    appearance_ = kDefaultAppearance;
    backStyle_ = kDefaultBackStyle;
    borderStyle_ = kDefaultBorderStyle;
    maskColor_ = kDefaultMaskColor;
    picture_ = QImage();
    Picture1.SetPicture(QImage());
    autoSize_ = true;
    UpdateMask();
    update();
}

void TransPicBox::ReadProperties(const PropertyStore& store) {
    autoSize_ = false;
    const short appearance = CheckedStyle(ReadShort(store, kAppearance, kDefaultAppearance));
    const short backStyle = CheckedStyle(ReadShort(store, kBackStyle, kDefaultBackStyle));
    const short borderStyle = CheckedStyle(ReadShort(store, kBorderStyle, kDefaultBorderStyle));
    bool ok = false;
    const uint32_t maskColor = static_cast<uint32_t>(
        store.ReadProperty(kMaskColor, static_cast<qlonglong>(kDefaultMaskColor)).toLongLong(&ok) &
        0xFFFFFFFFll);
    if (!ok)
        throw RuntimeError::TypeMismatch();
    if (!SystemColors::Translate(maskColor))
        throw InvalidPropertyValue();
    appearance_ = appearance;
    backStyle_ = backStyle;
    borderStyle_ = borderStyle;
    maskColor_ = maskColor;

    const QVariant picture = store.ReadProperty(kPicture, QVariant());
    if (picture.isValid() && picture.typeId() != QMetaType::QImage)
        throw RuntimeError::TypeMismatch();
    setPicture(picture.value<QImage>());

    autoSize_ = store.ReadProperty(kAutoSize, kDefaultAutoSize).toBool();
}

void TransPicBox::WriteProperties(PropertyStore& store) const {
    store.WriteProperty(kAppearance, static_cast<int>(appearance_),
                        static_cast<int>(kDefaultAppearance));
    store.WriteProperty(kBackStyle, static_cast<int>(backStyle_),
                        static_cast<int>(kDefaultBackStyle));
    store.WriteProperty(kBorderStyle, static_cast<int>(borderStyle_),
                        static_cast<int>(kDefaultBorderStyle));
    store.WriteProperty(kMaskColor, static_cast<qlonglong>(maskColor_),
                        static_cast<qlonglong>(kDefaultMaskColor));
    // No picture is written as nothing at all, so that it matches the default; an empty
    // image would be stored as a picture.
    store.WriteProperty(kPicture, picture_.isNull() ? QVariant() : QVariant(picture_), QVariant());
    store.WriteProperty(kAutoSize, autoSize_, kDefaultAutoSize);
}

QSize TransPicBox::sizeHint() const {
    return Picture1.size;
}

void TransPicBox::SizeToPicture1() {
    // Without a picture the control keeps its own size: the holder's leftover size (its
    // design size, or the last picture's) says nothing about what should be shown, and a
    // control that shows nothing has no reason to change its place on the window.
    if (Picture1.picture.isNull())
        return;
    resize(Picture1.size.width(), height());
    resize(width(), Picture1.size.height());
}

int TransPicBox::BorderWidth() const {
    if (borderStyle_ == 0)
        return 0;
    return appearance_ == 1 ? 2 : 1;
}

void TransPicBox::UpdateMask() {
    if (backStyle_ == 1) {
        clearMask();
        return;
    }
    const int border = BorderWidth();
    const QRect client = rect().adjusted(border, border, -border, -border);
    QRegion shape = QRegion(rect()).subtracted(QRegion(client));
    if (!picture_.isNull()) {
        const uint32_t mask = SystemColors::Translate(maskColor_).value_or(kDefaultMaskColor);
        const QColor maskColour = SystemColors::ToQColor(mask);
        // Compared as opaque colours, so only the colour decides, and exactly. The matching
        // pixels come out as the bitmap's clear bits, so the region is everything else.
        // A picture of more device pixels than pixels is cut pixel by pixel, as the region
        // is: each pixel goes by the first device pixel of its block.
        QImage opaque;
        if (picture_.hasAlphaChannel()) {
            opaque = CutOfSeeThrough(picture_, maskColour.rgb());
        } else {
            opaque = picture_.convertToFormat(QImage::Format_RGB32);
            if (picture_.devicePixelRatio() != 1)
                opaque = opaque.scaled(picture_.deviceIndependentSize().toSize());
        }
        opaque.setDevicePixelRatio(1);
        const QImage cut = opaque.createMaskFromColor(maskColour.rgb(), Qt::MaskInColor);
        shape += QRegion(QBitmap::fromImage(cut)).translated(border, border).intersected(client);
    }
    // Qt reads an empty region as "no mask at all", which would show the whole rectangle;
    // a region wholly outside the control keeps a mask that lets nothing through.
    if (shape.isEmpty())
        shape = QRegion(-1, -1, 1, 1);
    setMask(shape);
}

void TransPicBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int border = BorderWidth();
    const QRect client = rect().adjusted(border, border, -border, -border);
    if (backStyle_ == 1)
        painter.fillRect(rect(), SystemColour(SystemColors::kButtonFace));
    if (!picture_.isNull()) {
        painter.save();
        painter.setClipRect(client);
        painter.drawImage(client.topLeft(), picture_);
        painter.restore();
    }
    if (border == 0)
        return;
    const QRect r = rect();
    if (appearance_ == 0) {
        DrawEdges(painter, r, SystemColour(6), SystemColour(6));
        return;
    }
    // Sunken: shadow above and left, light below and right, one ring inside the other.
    DrawEdges(painter, r, SystemColour(16), SystemColour(20));
    DrawEdges(painter, r.adjusted(1, 1, -1, -1), SystemColour(21), SystemColour(22));
}

void TransPicBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (autoSize_)
        SizeToPicture1();
    UpdateMask();
}
