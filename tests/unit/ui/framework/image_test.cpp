#include "ui/framework/image.h"

#include "ui_test_support.h"

#include <QPainter>

namespace tarnix::test {
namespace {

class ImageTest : public UiTest {};

// A 4x4 picture whose left half is red on black, drawn over green.
TEST_F(ImageTest, MaskKeepsTheBackgroundWhereItIsWhite)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QImage mask(4, 4, QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 2; ++x) {
            picture.setPixel(x, y, qRgb(255, 0, 0));
            mask.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    struct Case {
        const char* name;
        Image image;
        QRgb right;  // what shows where the picture is black
    };
    const Case cases[] = {
        {"masked", Image(picture, mask), qRgb(0, 255, 0)},
        {"unmasked", Image(picture), qRgb(0, 0, 0)},
    };
    for (const Case& c : cases) {
        QImage target(8, 8, QImage::Format_RGB32);
        target.fill(Qt::green);
        QPainter dc(&target);
        c.image.draw(dc, 2, 2);
        dc.end();
        EXPECT_EQ(c.image.width(), 4);
        EXPECT_EQ(c.image.height(), 4);
        EXPECT_EQ(target.pixel(2, 2), qRgb(255, 0, 0)) << c.name;
        EXPECT_EQ(target.pixel(5, 5), c.right) << c.name;
        EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0)) << c.name << ": outside untouched";
    }
}

}  // namespace
}  // namespace tarnix::test
