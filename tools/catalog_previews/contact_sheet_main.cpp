// Lays every catalog preview side by side, each enlarged and labelled with its id, in one PNG
// for looking the catalog over:  catalog_contact_sheet <preview folder> <output.png> [scale]
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>

#include "catalog/catalog.h"

namespace {

constexpr int kColumns = 9;
constexpr int kLargestWidth = 60;
constexpr int kLargestHeight = 30;

// Digits 0-9 as 3x5 pixel glyphs, one row per string, so the sheet needs no fonts.
constexpr std::array<std::array<const char*, 5>, 10> kDigits = {{
    {"###", "#.#", "#.#", "#.#", "###"},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"},
    {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"},
    {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};

void drawNumber(QPainter& painter, int number, int left, int top, int dot) {
    const QString text = QString::number(number);
    for (int i = 0; i < text.size(); ++i) {
        const auto& glyph = kDigits[static_cast<std::size_t>(text[i].digitValue())];
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (glyph[static_cast<std::size_t>(row)][col] == '#') {
                    painter.fillRect(left + (i * 4 + col) * dot, top + row * dot, dot, dot,
                                     Qt::black);
                }
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr,
                     "usage: catalog_contact_sheet <preview folder> <output.png> [scale]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int scale = argc == 4 ? std::max(1, QString(argv[3]).toInt()) : 2;
    const int margin = 6 * scale;
    const int labelHeight = 8 * scale;
    const int cellWidth = kLargestWidth * scale + margin;
    const int cellHeight = kLargestHeight * scale + labelHeight + margin;
    const int rows = (tavrel::kCatalogSize + kColumns - 1) / kColumns;

    QImage sheet(kColumns * cellWidth + margin, rows * cellHeight + margin, QImage::Format_RGB32);
    sheet.fill(QColor(200, 200, 200));
    QPainter painter(&sheet);
    int missing = 0;
    for (int id = tavrel::kFirstCatalogId; id <= tavrel::kLastCatalogId; ++id) {
        const int index = id - tavrel::kFirstCatalogId;
        const int left = margin + index % kColumns * cellWidth;
        const int top = margin + index / kColumns * cellHeight;
        const QImage preview(folder + "/" + QString::number(id) + ".bmp");
        if (preview.isNull()) {
            ++missing;
            painter.fillRect(left, top, kLargestWidth * scale, kLargestHeight * scale, Qt::magenta);
        } else {
            painter.drawImage(QRect(left, top, preview.width() * scale, preview.height() * scale),
                              preview);
        }
        drawNumber(painter, id, left, top + kLargestHeight * scale + scale, scale);
    }
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "catalog_contact_sheet: cannot write %s\n", argv[2]);
        return 1;
    }
    if (missing > 0) {
        std::fprintf(stderr, "catalog_contact_sheet: %d previews missing or unreadable\n", missing);
        return 1;
    }
    return 0;
}
