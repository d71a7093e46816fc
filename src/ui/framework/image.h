#pragma once

#include <QImage>

class QPainter;

namespace tarnix {

// A picture drawn onto windows, with an optional mask in which black marks the picture's
// pixels and white leaves what is underneath.
class Image {
public:
    Image() = default;
    explicit Image(QImage image, QImage mask = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool isNull() const { return image_.isNull(); }

    // With a mask: the mask is combined with AND, then the picture with OR, so the picture's
    // black background must be black where the mask is white. Without one the picture is copied.
    void draw(QPainter& dc, int x, int y) const;

private:
    QImage image_;
    QImage mask_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace tarnix
