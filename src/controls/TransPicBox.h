#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>
#include <cstdint>

class ControlContainer;
class PropertyStore;

// A picture with see-through parts: every pixel whose colour equals the mask colour exactly
// lets the window behind show through. Raises no events and has no methods beyond its
// properties and their persistence.
class TransPicBox : public QWidget {
    Q_OBJECT

public:
    explicit TransPicBox(QWidget* parent = nullptr);

    // 0 flat, 1 three-dimensional (only seen on the border).
    short Appearance() const { return appearance_; }
    void setAppearance(short value);
    // 0 transparent (the mask cuts the picture), 1 opaque (face colour, no mask).
    short BackStyle() const { return backStyle_; }
    void setBackStyle(short value);
    // 0 none, 1 single line.
    short BorderStyle() const { return borderStyle_; }
    void setBorderStyle(short value);
    // 0x00BBGGRR or a system colour 0x800000nn.
    uint32_t MaskColor() const { return maskColor_; }
    void setMaskColor(uint32_t value);
    // A null image is "no picture".
    QImage Picture() const { return picture_; }
    void setPicture(const QImage& value);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool value);

    void setContainer(ControlContainer* container);
    ControlContainer& container() const { return *container_; }

    // A new instance: every value at its default, auto-size on. The constructor starts here.
    void InitProperties();
    // A stored instance: the picture is applied while auto-size is off, so the stored
    // picture never resizes the control; the container's first resize snaps it instead.
    void ReadProperties(const PropertyStore& store);
    void WriteProperties(PropertyStore& store) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The hidden holder that measures the picture's natural size. Without a picture it keeps
    // the size it last had (at first its design size, 2250 x 1800 twips).
    struct PictureHolder {
        QImage picture;
        QSize size{150, 120};
        void SetPicture(const QImage& image);
    };

    void SizeToPicture1();
    int BorderWidth() const;
    void UpdateMask();
    static short CheckedStyle(short value);

    ControlContainer* container_;
    short appearance_ = 1;
    short backStyle_ = 0;
    short borderStyle_ = 0;
    uint32_t maskColor_ = 0x00FFFFFF;
    QImage picture_;
    PictureHolder Picture1;
    bool autoSize_ = false;
};
