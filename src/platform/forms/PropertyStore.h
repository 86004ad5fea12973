#pragma once

#include <QIcon>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

// The named key/value store that custom controls save their design to and load it from.
// Keys match without regard to letter case; a missing key reads as the default the reader
// gives; a value equal to its default is not written. Pictures are QImage values, fonts
// QFont values, everything else plain numbers, Booleans and texts.
class PropertyStore {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    void WriteProperty(const QString& name, const QVariant& value,
                       const QVariant& defaultValue = {});

    bool Contains(const QString& name) const;
    // The keys in the order they were written.
    QStringList Keys() const;
    bool IsEmpty() const { return entries_.empty(); }
    void Clear() { entries_.clear(); }

    // A window's stored design for one control: numbers, Booleans and texts as they are,
    // {"picture": ":/path"} for a picture (PNG or SVG, drawn at its own size) and
    // {"font": {"name": ..., "size": ..., "bold": ...}} for a font. ToJson writes pictures
    // inline ("data:image/png;base64,..."), which FromJson reads back.
    // Pictures are rendered with `pictureRatio` device pixels to the pixel; 0 takes the
    // application's ratio, which only the main thread may read.
    static PropertyStore FromJson(const QJsonObject& object, qreal pictureRatio = 0);
    QJsonObject ToJson() const;

private:
    std::vector<std::pair<QString, QVariant>>::const_iterator Find(const QString& name) const;
    std::vector<std::pair<QString, QVariant>> entries_;
};

// Loads a picture from a file or resource path; an SVG is rendered at its own size in pixels,
// with as many device pixels to the pixel as the densest screen has (the ratio set on the
// image), so that it shows sharp there. A null image when the path cannot be read.
QImage LoadPicture(const QString& path);
// The same picture cut to its top-left part of at most `within` pixels. An SVG is rendered
// only that far: a large drawing behind a small window is never drawn whole.
QImage LoadPicture(const QString& path, const QSize& within);
// The ratio of device pixels to pixels pictures are rendered at: the densest screen's (1
// without an application). Only the main thread may read it.
qreal PictureRatio();
// The same at a given ratio of device pixels to pixels; callable on any thread.
QImage LoadPicture(const QString& path, const QSize& within, qreal ratio);
// A window's icon from an SVG, drawn at the sizes window managers show (16, 32 and 48 pixels).
// An icon left scalable is drawn by the platform at four sizes up to 128 pixels when its
// window is first shown, by a plug-in loaded for it. IconPictures draws the pictures, on any
// thread (none when the path cannot be read); IconOf makes the icon of them, on the main one.
QList<QImage> IconPictures(const QString& path);
QIcon IconOf(const QList<QImage>& pictures);
