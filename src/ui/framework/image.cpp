#include "ui/framework/image.h"

#include <QPainter>

#include <utility>

namespace tarnix {

Image::Image(QImage image, QImage mask)
    : image_(std::move(image)), mask_(std::move(mask)), width_(image_.width()), height_(image_.height())
{
    // Raster operations work on colour pixels: a one-bit mask becomes black and white.
    if (!mask_.isNull()) mask_ = mask_.convertToFormat(QImage::Format_RGB32);
}

void Image::draw(QPainter& dc, int x, int y) const
{
    if (image_.isNull()) return;
    dc.save();
    if (mask_.isNull()) {
        dc.setCompositionMode(QPainter::CompositionMode_Source);
        dc.drawImage(x, y, image_);
    } else {
        dc.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        dc.drawImage(x, y, mask_);
        dc.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        dc.drawImage(x, y, image_);
    }
    dc.restore();
}

}  // namespace tarnix
