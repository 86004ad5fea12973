#include "platform/forms/PropertyStore.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <cmath>
#include <limits>

QVariant PropertyStore::ReadProperty(const QString& name, const QVariant& defaultValue) const {
    auto it = Find(name);
    return it == entries_.end() ? defaultValue : it->second;
}

void PropertyStore::WriteProperty(const QString& name, const QVariant& value,
                                  const QVariant& defaultValue) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) {
        return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
    const bool isDefault = value.isValid() == defaultValue.isValid() && value == defaultValue;
    if (isDefault) {
        if (it != entries_.end())
            entries_.erase(it);
        return;
    }
    if (it != entries_.end())
        it->second = value;
    else
        entries_.emplace_back(name, value);
}

bool PropertyStore::Contains(const QString& name) const {
    return Find(name) != entries_.end();
}

QStringList PropertyStore::Keys() const {
    QStringList keys;
    for (const auto& entry : entries_)
        keys << entry.first;
    return keys;
}

std::vector<std::pair<QString, QVariant>>::const_iterator
PropertyStore::Find(const QString& name) const {
    return std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) {
        return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
}

namespace {
// Larger than any picture.
constexpr QSize kWholePicture(1 << 24, 1 << 24);

// A drawing that leaves some of its area undrawn keeps its see-through parts, and the
// coverage of its edges with them: flattened onto a ground colour, the edges would carry that
// colour, and a cut by that colour would leave them as a fringe. One that covers its whole
// area is flattened onto white, a plain picture as any other.
QImage KeepSeeThrough(QImage image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) == 0)
                return image;
    }
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.setDevicePixelRatio(image.devicePixelRatio());
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}
} // namespace

QImage LoadPicture(const QString& path) {
    return LoadPicture(path, kWholePicture);
}

qreal PictureRatio() {
    return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1;
}

QImage LoadPicture(const QString& path, const QSize& within) {
    return LoadPicture(path, within, PictureRatio());
}

QImage LoadPicture(const QString& path, const QSize& within, qreal ratio) {
    const auto cut = [&within](QImage image) {
        const QRect shown(QPoint(0, 0), within);
        if (image.isNull())
            return image;
        if (!shown.contains(image.rect()))
            image = image.copy(image.rect() & shown);
        if (!image.hasAlphaChannel())
            return image.convertToFormat(QImage::Format_RGB32);
        return KeepSeeThrough(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    };
    // A picture saved with a design is carried inline as PNG data.
    static const QLatin1String kInlinePng("data:image/png;base64,");
    if (path.startsWith(kInlinePng)) {
        QImage image;
        image.loadFromData(QByteArray::fromBase64(path.mid(kInlinePng.size()).toLatin1()), "PNG");
        return cut(image);
    }
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgRenderer renderer(path);
        if (!renderer.isValid())
            return {};
        // Whole device pixels, as a window shows its background.
        const QSize shown(static_cast<int>(std::ceil(within.width() * ratio)),
                          static_cast<int>(std::ceil(within.height() * ratio)));
        QImage image((QSizeF(renderer.defaultSize()) * ratio).toSize().boundedTo(shown),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            // Into its size in pixels: left to itself the renderer would fill the device
            // pixels, and the ratio would enlarge it once more.
            renderer.render(&painter, QRectF(QPointF(0, 0), renderer.defaultSize()));
        }
        return KeepSeeThrough(std::move(image));
    }
    return cut(QImage(path));
}

QList<QImage> IconPictures(const QString& path) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QList<QImage> pictures;
    for (const int side : {16, 32, 48}) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        pictures.append(std::move(image));
    }
    return pictures;
}

QIcon IconOf(const QList<QImage>& pictures) {
    QIcon icon;
    for (const QImage& picture : pictures)
        icon.addPixmap(QPixmap::fromImage(picture));
    return icon;
}

namespace {

// Whole numbers read back as integers, as the design tool wrote them. Converting a double
// outside the 64-bit range is undefined, so the range is checked on the double first.
QVariant StoredNumber(double d) {
    // 2^63 is exact as a double; every whole double below it (and from -2^63 on) fits.
    constexpr double kLimit = 9223372036854775808.0;
    if (!(d >= -kLimit && d < kLimit) || d != std::trunc(d))
        return d;
    const auto whole = static_cast<qint64>(d);
    if (whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max())
        return static_cast<int>(whole);
    return whole;
}

} // namespace

PropertyStore PropertyStore::FromJson(const QJsonObject& object, qreal pictureRatio) {
    if (pictureRatio <= 0)
        pictureRatio = PictureRatio();
    PropertyStore store;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QJsonValue value = it.value();
        QVariant stored;
        if (value.isObject() && value.toObject().contains(QLatin1String("picture"))) {
            stored = LoadPicture(value.toObject().value(QLatin1String("picture")).toString(),
                                 kWholePicture, pictureRatio);
        } else if (value.isObject() && value.toObject().contains(QLatin1String("font"))) {
            const QJsonObject f = value.toObject().value(QLatin1String("font")).toObject();
            QFont font(f.value(QLatin1String("name")).toString());
            font.setPointSizeF(f.value(QLatin1String("size")).toDouble(8.25));
            font.setBold(f.value(QLatin1String("bold")).toBool());
            font.setItalic(f.value(QLatin1String("italic")).toBool());
            stored = font;
        } else if (value.isDouble()) {
            stored = StoredNumber(value.toDouble());
        } else {
            stored = value.toVariant();
        }
        store.entries_.emplace_back(it.key(), stored);
    }
    return store;
}

QJsonObject PropertyStore::ToJson() const {
    QJsonObject object;
    for (const auto& [key, value] : entries_) {
        if (value.typeId() == QMetaType::QFont) {
            const QFont font = value.value<QFont>();
            QJsonObject f{{"name", font.family()},
                          {"size", font.pointSizeF()},
                          {"bold", font.bold()},
                          {"italic", font.italic()}};
            object.insert(key, QJsonObject{{"font", f}});
        } else if (value.typeId() == QMetaType::QImage) {
            const QImage image = value.value<QImage>();
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!image.isNull())
                image.save(&buffer, "PNG");
            object.insert(key, QJsonObject{{"picture", QStringLiteral("data:image/png;base64,") +
                                                           QString::fromLatin1(png.toBase64())}});
        } else {
            object.insert(key, QJsonValue::fromVariant(value));
        }
    }
    return object;
}
