#include "platform/gdi/PixelKernels.h"

#include <QTest>

// The whole-pixel mappings behind rotations and mirrors, with every instruction set this
// machine can run, on sizes that leave partial blocks and tiles at both edges.
class TestPixelKernels : public QObject {
    Q_OBJECT

private slots:
    void mapPixelsMatchesTheFormula_data();
    void mapPixelsMatchesTheFormula();
};

void TestPixelKernels::mapPixelsMatchesTheFormula_data()
{
    QTest::addColumn<int>("simd");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colPerY");
    QTest::addColumn<int>("rowPerX");
    for (const auto &[simd, simdName] : {std::pair{PixelKernels::Simd::Best, "best"},
                                         std::pair{PixelKernels::Simd::Baseline, "baseline"}}) {
        for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(37, 23), QSize(300, 270)}) {
            for (const int colPerY : {1, -1}) {
                for (const int rowPerX : {1, -1}) {
                    const QString name = QString("%1 %2x%3 col%4 row%5")
                                             .arg(simdName)
                                             .arg(size.width())
                                             .arg(size.height())
                                             .arg(colPerY)
                                             .arg(rowPerX);
                    QTest::newRow(qPrintable(name)) << int(simd) << size << colPerY << rowPerX;
                }
            }
        }
    }
}

void TestPixelKernels::mapPixelsMatchesTheFormula()
{
    QFETCH(int, simd);
    QFETCH(QSize, size);
    QFETCH(int, colPerY);
    QFETCH(int, rowPerX);
    // A W x H source transposed onto H x W: column from the destination row, row from the column.
    const int w = size.width(), h = size.height();
    QImage src(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            src.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x >> 8) << 4 | y >> 8));
    QImage dst(h, w, QImage::Format_RGB32);
    dst.fill(0u);
    const PixelKernels::PixelMap map{colPerY > 0 ? 0 : w - 1, 0,       colPerY,
                                     rowPerX > 0 ? 0 : h - 1, rowPerX, 0};
    PixelKernels::mapPixels(dst, dst.rect(), src, map, PixelKernels::Simd(simd));
    for (int y = 0; y < w; ++y) {
        for (int x = 0; x < h; ++x) {
            const int col = map.colBase + colPerY * y;
            const int row = map.rowBase + rowPerX * x;
            if (dst.pixel(x, y) != src.pixel(col, row))
                QFAIL(qPrintable(QString("pixel (%1, %2) is not source (%3, %4)")
                                     .arg(x)
                                     .arg(y)
                                     .arg(col)
                                     .arg(row)));
        }
    }
}

QTEST_GUILESS_MAIN(TestPixelKernels)
#include "tst_pixelkernels.moc"
