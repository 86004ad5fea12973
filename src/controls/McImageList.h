#pragma once

#include "platform/draw/Surface.h"

#include <QImage>
#include <QWidget>
#include <vector>

class ControlContainer;
class PropertyStore;

// An ordered store of pictures handed out by number (a list control's row icons come from
// its ListImages), with a current picture that can be moved forwards and backwards. Saved
// with the window that holds it. In a designer it shows a strip of thumbnails of its
// pictures, the current one framed; in a running program it draws nothing.
//
// Indexes outside the store raise RuntimeError 9. A slot may hold no picture (a null image).
class McImageList : public QWidget {
    Q_OBJECT

public:
    explicit McImageList(QWidget* parent = nullptr);

    void setContainer(ControlContainer* container);

    QImage ListImages(int vIndex) const;
    void setListImages(int vIndex, const QImage& picture);
    int ImageCount() const { return static_cast<int>(pictures_.size()); }
    // Accepted and ignored: the count follows the pictures.
    void setImageCount(int value);
    // Reading the current picture where there is none leaves one empty slot in the store.
    QImage Image();
    void setImage(const QImage& picture);
    int CurrentImage() const { return currentImage_; }
    void setCurrentImage(int value);
    // Write-only actions, read as "nothing", False and -1.
    QImage AddNewImage() const { return {}; }
    void setAddNewImage(const QImage& picture);
    bool RemoveImage() const { return false; }
    void setRemoveImage(int value);
    int MoveImageTo() const { return -1; }
    void setMoveImageTo(int value);
    QImage CyclePic(bool blnUp);

    // The container's notifications.
    void InitProperties();
    void ReadProperties(const PropertyStore& store);
    void WriteProperties(PropertyStore& store) const;

    // The design-time drawing as it stands.
    const Surface& DrawingSurface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CheckSlot(int index) const;
    void Redraw();

    ControlContainer* container_;
    std::vector<QImage> pictures_;
    int currentImage_ = 0;
    Surface surface_;
};
