#include "controls/McImageList.h"

#include "platform/RuntimeError.h"
#include "platform/forms/ControlContainer.h"
#include "platform/forms/PropertyStore.h"
#include "platform/forms/SystemColors.h"

#include <QPainter>
#include <cmath>

namespace {

const QString kImageCount = QStringLiteral("ImageCount");
const QString kCurrentImage = QStringLiteral("CurrentImage");

QString SlotKey(int index) {
    return QStringLiteral("Images") + QString::number(index);
}

int Round(double value) {
    return static_cast<int>(std::nearbyint(value));
}

QImage StoredPicture(const QVariant& value) {
    if (value.typeId() == QMetaType::QImage)
        return value.value<QImage>();
    if (value.typeId() == QMetaType::QByteArray) {
        QImage picture;
        picture.loadFromData(value.toByteArray(), "PNG");
        return picture;
    }
    throw RuntimeError::TypeMismatch();
}

} // namespace

McImageList::McImageList(QWidget* parent)
    : QWidget(parent)
    , container_(&ControlContainer::RunTime()) {
    resize(91, 74);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    surface_.SetFont(font);
    surface_.SetBackColor(0x80000000u | SystemColors::kWindow);
}

void McImageList::setContainer(ControlContainer* container) {
    container_ = container != nullptr ? container : &ControlContainer::RunTime();
    Redraw();
}

void McImageList::CheckSlot(int index) const {
    if (index < 0 || index >= ImageCount())
        throw RuntimeError::SubscriptOutOfRange();
}

QImage McImageList::ListImages(int vIndex) const {
    CheckSlot(vIndex);
    return pictures_[static_cast<size_t>(vIndex)];
}

void McImageList::setListImages(int vIndex, const QImage& picture) {
    CheckSlot(vIndex);
    pictures_[static_cast<size_t>(vIndex)] = picture;
    Redraw();
}

void McImageList::setImageCount(int) {}

QImage McImageList::Image() {
    if (currentImage_ < 0 || currentImage_ >= ImageCount()) {
        pictures_.assign(1, QImage());
        return {};
    }
    return pictures_[static_cast<size_t>(currentImage_)];
}

void McImageList::setImage(const QImage& picture) {
    CheckSlot(currentImage_);
    pictures_[static_cast<size_t>(currentImage_)] = picture;
    container_->PropertyChanged(QStringLiteral("Image"));
    Redraw();
}

void McImageList::setCurrentImage(int value) {
    currentImage_ = std::max(value, 0);
    if (currentImage_ > ImageCount() - 1)
        currentImage_ = ImageCount() - 1;
    container_->PropertyChanged(kCurrentImage);
    Redraw();
}

void McImageList::setAddNewImage(const QImage& picture) {
    pictures_.push_back(picture);
    currentImage_ = ImageCount() - 1;
    Redraw();
}

void McImageList::setRemoveImage(int value) {
    if (value == 0 || pictures_.empty())
        return;
    if (pictures_.size() == 1) {
        pictures_.clear();
        return;
    }
    // A current index outside the store leaves nothing to remove: the removal fails quietly.
    if (currentImage_ < 0 || currentImage_ >= ImageCount())
        return;
    pictures_.erase(pictures_.begin() + currentImage_);
    if (currentImage_ > ImageCount() - 1)
        currentImage_ = ImageCount() - 1;
    Redraw();
}

void McImageList::setMoveImageTo(int value) {
    const int target = std::min(value, ImageCount() - 1);
    CheckSlot(target);
    CheckSlot(currentImage_);
    std::swap(pictures_[static_cast<size_t>(currentImage_)],
              pictures_[static_cast<size_t>(target)]);
    Redraw();
}

QImage McImageList::CyclePic(bool blnUp) {
    if (blnUp)
        setCurrentImage(currentImage_ + 1 == ImageCount() ? 0 : currentImage_ + 1);
    else
        setCurrentImage(currentImage_ != 0 ? currentImage_ - 1 : ImageCount() - 1);
    return ListImages(currentImage_);
}

void McImageList::InitProperties() {
    currentImage_ = 0;
    Redraw();
}

void McImageList::ReadProperties(const PropertyStore& store) {
    try {
        const int count = store.ReadProperty(kImageCount, 0).toInt();
        if (count < 0)
            throw RuntimeError::SubscriptOutOfRange();
        if (count != 0) {
            pictures_.assign(static_cast<size_t>(count), QImage());
            for (int i = 0; i < count; ++i)
                pictures_[static_cast<size_t>(i)] = StoredPicture(store.ReadProperty(SlotKey(i)));
        }
        currentImage_ = store.ReadProperty(kCurrentImage, 0).toInt();
    } catch (const std::exception&) {
        // What was read so far stays.
    }
    Redraw();
}

void McImageList::WriteProperties(PropertyStore& store) const {
    const int count = ImageCount();
    // Pictures and the count have no default, so every one of them is written.
    for (int i = 0; i < count; ++i)
        store.WriteProperty(SlotKey(i), QVariant(pictures_[static_cast<size_t>(i)]));
    store.WriteProperty(kImageCount, count);
    store.WriteProperty(kCurrentImage, currentImage_, 0);
}

void McImageList::Redraw() {
    if (container_->UserMode())
        return;
    surface_.Resize(width(), height());
    surface_.Clear();
    const int count = ImageCount();
    if (count > 0) {
        const int clientHeight = height();
        const double w = (width() - 1) / double(count);
        const int band = clientHeight - surface_.TextHeight(QStringLiteral("A"));
        // The current cell is framed in the selection colour around the window background.
        surface_.SetForeColor(0x80000000u | 13);
        surface_.SetFillColor(0x80000000u | SystemColors::kWindow);
        for (int i = 0; i < count; ++i) {
            const int left = Round(i * w);
            const int right = Round((i + 1) * w);
            if (i == currentImage_)
                surface_.Rectangle(left, 0, right + 1, clientHeight);
            const QImage& picture = pictures_[static_cast<size_t>(i)];
            if (!picture.isNull())
                surface_.DrawPicture(picture, QRect(Round(i * w + 2), 2, Round(w - 2), band - 2));
            surface_.SetForeColor(0x80000000u | SystemColors::kButtonText);
            surface_.DrawText(QString::number(i),
                              QRect(QPoint(left, band), QPoint(right - 1, clientHeight - 1)),
                              Surface::kCenter);
            surface_.SetForeColor(0x80000000u | 13);
        }
    }
    update();
}

void McImageList::paintEvent(QPaintEvent*) {
    if (container_->UserMode())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, surface_.Image());
}

void McImageList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Redraw();
}

void McImageList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Redraw();
}
