// Pixel-drawn icon: each size has its own hand-placed rectangles, since scaling one drawing
// down to 16 pixels would blur the cross.
#include "window_icon.h"

#include <QPainter>

namespace tavrel {
namespace {

struct IconDrawing {
    int size;
    QRect pole;
    QRect cloth;       // white field, outlined in black
    QRect uprightBar;  // stands left of the cloth's centre
    QRect crossBar;
};

// clang-format off
constexpr IconDrawing kDrawings[] = {
    // size  pole                 cloth                 upright bar          cross bar
    {32, QRect(3, 2, 2, 28), QRect(5, 4, 25, 18), QRect(12, 4, 4, 18), QRect(5, 11, 25, 4)},
    {16, QRect(1, 1, 1, 14), QRect(2, 2, 13, 9),  QRect(6, 2, 2, 9),   QRect(2, 6, 13, 2)},
};
// clang-format on

const QColor kPoleGrey(128, 128, 128);
const QColor kCrossBlue(0, 0, 255);

}  // namespace

QImage windowIconImage(int size) {
    const IconDrawing* drawing = &kDrawings[0];
    for (const IconDrawing& candidate : kDrawings) {
        if (candidate.size == size)
            drawing = &candidate;
    }
    QImage image(drawing->size, drawing->size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(drawing->pole, kPoleGrey);
    painter.fillRect(drawing->cloth, Qt::black);
    painter.fillRect(drawing->cloth.adjusted(1, 1, -1, -1), Qt::white);
    painter.fillRect(drawing->uprightBar.adjusted(0, 1, 0, -1), kCrossBlue);
    painter.fillRect(drawing->crossBar.adjusted(1, 0, -1, 0), kCrossBlue);
    return image;
}

QIcon makeWindowIcon() {
    QIcon icon;
    for (const IconDrawing& drawing : kDrawings) {
        icon.addPixmap(QPixmap::fromImage(windowIconImage(drawing.size)));
    }
    return icon;
}

}  // namespace tavrel
