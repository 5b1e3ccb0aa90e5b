#include "DeviceContext.h"

#include "Bitmap.h"
#include "Brush.h"
#include "Color.h"
#include "Pen.h"
#include "PixelKernels.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <cmath>
#include <optional>

namespace {

// The rectangle with both points as corners, both included.
QRect spanning(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

} // namespace

DeviceContext::DeviceContext() : DeviceContext(Kind::Memory) {}

DeviceContext::DeviceContext(Kind kind) : m_kind(kind), m_pen(Pen::stock()), m_brush(Brush::stock())
{
    if (kind == Kind::Memory)
        m_bitmap = Bitmap::stock();
}

DeviceContext::~DeviceContext()
{
    // Whatever is still selected survives the context, as on Windows.
    for (GdiObject *object : {static_cast<GdiObject *>(m_bitmap), static_cast<GdiObject *>(m_pen),
                              static_cast<GdiObject *>(m_brush)}) {
        if (object && !object->isStock())
            object->removeSelection();
    }
}

GdiObject *DeviceContext::select(GdiObject *object)
{
    GdiObject *previous = nullptr;
    switch (object->type()) {
    case GdiObject::Type::Bitmap:
        if (m_kind != Kind::Memory)
            return nullptr;
        if (object == m_bitmap)
            return object;
        // A bitmap can be selected into one memory context at a time.
        if (!object->isStock() && object->selections() > 0)
            return nullptr;
        previous = m_bitmap;
        m_bitmap = static_cast<Bitmap *>(object);
        break;
    case GdiObject::Type::Pen:
        previous = m_pen;
        m_pen = static_cast<Pen *>(object);
        break;
    case GdiObject::Type::Brush:
        previous = m_brush;
        m_brush = static_cast<Brush *>(object);
        break;
    }
    if (!object->isStock())
        object->addSelection();
    if (!previous->isStock())
        previous->removeSelection();
    return previous;
}

int DeviceContext::setRop2(int rop2)
{
    if (rop2 != R2_COPYPEN && rop2 != R2_NOTXORPEN)
        return 0;
    return std::exchange(m_rop2, rop2);
}

COLORREF DeviceContext::setTextColor(COLORREF color)
{
    return std::exchange(m_textColor, color);
}

COLORREF DeviceContext::setBkColor(COLORREF color)
{
    return std::exchange(m_bkColor, color);
}

UINT DeviceContext::setTextAlign(UINT align)
{
    return std::exchange(m_textAlign, align);
}

QPoint DeviceContext::setViewportOrigin(QPoint origin)
{
    return std::exchange(m_origin, origin);
}

QRect DeviceContext::deviceClip()
{
    const QImage *pixels = raster();
    if (!pixels)
        return {};
    const QRect bounds = pixels->rect();
    return m_clip ? bounds & *m_clip : bounds;
}

QRect DeviceContext::clipBox()
{
    return deviceClip().translated(-m_origin);
}

QImage *DeviceContext::raster()
{
    return m_bitmap ? &m_bitmap->image() : nullptr;
}

QPainter *DeviceContext::painter()
{
    return nullptr;
}

QPaintDevice *DeviceContext::metricsDevice()
{
    if (QImage *pixels = raster())
        return pixels;
    return painter() ? painter()->device() : nullptr;
}

void DeviceContext::rasterChanged(const QRect &) {}

QFont DeviceContext::font()
{
    // Raster text is drawn without smoothing, in the text and background colours only.
    QFont font = QGuiApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

int DeviceContext::deviceCaps(int index)
{
    const QImage *pixels = raster();
    if (!pixels)
        return 0;
    switch (index) {
    case HORZRES:
        return pixels->width();
    case VERTRES:
        return pixels->height();
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
        return pixels->logicalDpiX();
    case LOGPIXELSY:
        return pixels->logicalDpiY();
    default:
        return 0;
    }
}

void DeviceContext::moveTo(QPoint to)
{
    m_position = to;
}

bool DeviceContext::lineTo(QPoint to)
{
    const QPoint from = std::exchange(m_position, to);
    const QPoint a = toDevice(from);
    const QPoint b = toDevice(to);
    QImage *pixels = raster();
    if (!pixels) {
        // On a printer the pen is one device pixel wide, as a cosmetic pen is.
        QPainter *device = painter();
        if (!device)
            return false;
        device->setPen(QPen(QColor(pixelFromColorRef(m_pen->color())), 0));
        device->drawLine(a, b);
        return true;
    }
    const QRect clip = deviceClip();
    const auto mode =
        m_rop2 == R2_NOTXORPEN ? PixelKernels::LineMode::NotXor : PixelKernels::LineMode::Copy;
    PixelKernels::drawLine(*pixels, clip, a, b, pixelFromColorRef(m_pen->color()), mode);
    rasterChanged(spanning(a, b) & clip);
    return true;
}

QSize DeviceContext::textExtent(const QString &text)
{
    const QFontMetrics metrics(font(), metricsDevice());
    return {metrics.horizontalAdvance(text), metrics.height()};
}

TEXTMETRIC DeviceContext::textMetrics()
{
    const QFont f = font();
    const QFontMetrics metrics(f, metricsDevice());
    TEXTMETRIC tm{};
    tm.tmHeight = metrics.height();
    tm.tmAscent = metrics.ascent();
    tm.tmDescent = metrics.descent();
    tm.tmInternalLeading = std::max(0, metrics.height() - QFontInfo(f).pixelSize());
    tm.tmExternalLeading = metrics.leading();
    tm.tmAveCharWidth = metrics.averageCharWidth();
    tm.tmMaxCharWidth = metrics.maxWidth();
    return tm;
}

bool DeviceContext::textOut(QPoint at, const QString &text)
{
    QImage *pixels = raster();
    QPainter *device = pixels ? nullptr : painter();
    if (!pixels && !device)
        return false;
    const QFont f = font();
    const QFontMetrics metrics(f, metricsDevice());
    QRect cell(toDevice(at), QSize(metrics.horizontalAdvance(text), metrics.height()));
    switch (m_textAlign & TA_CENTER) {
    case TA_RIGHT:
        cell.translate(-cell.width(), 0);
        break;
    case TA_CENTER:
        cell.translate(-cell.width() / 2, 0);
        break;
    }
    switch (m_textAlign & TA_BASELINE) {
    case TA_BOTTOM:
        cell.translate(0, -cell.height());
        break;
    case TA_BASELINE:
        cell.translate(0, -metrics.ascent());
        break;
    }
    std::optional<QPainter> own;
    if (pixels) {
        own.emplace(pixels);
        own->setClipRect(deviceClip());
        device = &*own;
    }
    device->fillRect(cell, QColor(pixelFromColorRef(m_bkColor)));
    device->setFont(f);
    device->setPen(QColor(pixelFromColorRef(m_textColor)));
    device->drawText(cell.left(), cell.top() + metrics.ascent(), text);
    if (pixels) {
        own.reset();
        rasterChanged(cell & deviceClip());
    }
    return true;
}

Bitmap *DeviceContext::createCompatibleBitmap(int width, int height)
{
    return Bitmap::create(width, height, Bitmap::Kind::DeviceDependent);
}

QRect DeviceContext::readableRect()
{
    const QImage *pixels = raster();
    return pixels ? pixels->rect() : QRect();
}

bool DeviceContext::readPixels(const QRect &from, QImage &dst, QPoint to)
{
    const QImage *pixels = raster();
    if (!pixels)
        return false;
    PixelKernels::copyRect(dst, to, *pixels, from);
    return true;
}

bool DeviceContext::bitBlt(const QRect &dest, DeviceContext &src, QPoint srcTopLeft)
{
    QImage *to = raster();
    if (!to) {
        // A printer takes the pixels as an image.
        if (!painter())
            return false;
        const QPoint origin = src.toDevice(srcTopLeft);
        const QRect source = QRect(origin, dest.size()) & src.readableRect();
        if (source.isEmpty())
            return true;
        QImage part(source.size(), QImage::Format_RGB32);
        return !part.isNull() && src.readPixels(source, part, QPoint(0, 0)) &&
               drawImage(dest.topLeft() + (source.topLeft() - origin), part);
    }
    // Clip the destination, then the matching source, then take the destination back.
    QRect target = toDevice(dest) & deviceClip();
    const QPoint shift = src.toDevice(srcTopLeft) - toDevice(dest.topLeft());
    target = target.translated(shift) & src.readableRect();
    target.translate(-shift);
    if (target.isEmpty())
        return true;
    if (!src.readPixels(target.translated(shift), *to, target.topLeft()))
        return false;
    rasterChanged(target);
    return true;
}

bool DeviceContext::stretchBlt(const QRect &dest, DeviceContext &src, const QRect &srcRect)
{
    QImage *to = raster();
    const QImage *from = src.raster();
    if (!to || !from || dest.width() <= 0 || dest.height() <= 0 || srcRect.width() <= 0 ||
        srcRect.height() <= 0)
        return false;
    const QRect target = toDevice(dest);
    const QRect clipped = target & deviceClip();
    if (clipped.isEmpty())
        return true;
    PixelKernels::stretchNearest(*to, clipped, target, *from, src.toDevice(srcRect));
    rasterChanged(clipped);
    return true;
}

bool DeviceContext::plgBlt(const POINT points[3], DeviceContext &src, const QRect &srcRect)
{
    QImage *to = raster();
    const QImage *from = src.raster();
    if (!to || !from || srcRect.width() <= 0 || srcRect.height() <= 0)
        return false;
    const QPoint p0 = toDevice(QPoint(points[0].x, points[0].y));
    const QPoint p1 = toDevice(QPoint(points[1].x, points[1].y));
    const QPoint p2 = toDevice(QPoint(points[2].x, points[2].y));
    const QRect source = src.toDevice(srcRect);
    const int w = source.width();
    const int h = source.height();
    // Destination points of the source's top-left corner plus one step along each source axis.
    const QPoint alongU = p1 - p0;
    const QPoint alongV = p2 - p0;
    const QPoint p3 = p1 + alongV;
    const int left = std::min({p0.x(), p1.x(), p2.x(), p3.x()});
    const int top = std::min({p0.y(), p1.y(), p2.y(), p3.y()});
    const int right = std::max({p0.x(), p1.x(), p2.x(), p3.x()});
    const int bottom = std::max({p0.y(), p1.y(), p2.y(), p3.y()});
    if (qint64(alongU.x()) * alongV.y() == qint64(alongU.y()) * alongV.x())
        return false; // the three points lie on one line
    const QRect clip = deviceClip();
    const QRect valid = source & from->rect();
    QRect box = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & clip;
    if (box.isEmpty() || valid.isEmpty())
        return true;

    // Without scaling the mapping only moves whole pixels: each source axis runs along one
    // destination axis, one pixel per pixel.
    const bool uHorizontal = alongU.y() == 0 && std::abs(alongU.x()) == w;
    const bool uVertical = alongU.x() == 0 && std::abs(alongU.y()) == w;
    const bool vHorizontal = alongV.y() == 0 && std::abs(alongV.x()) == h;
    const bool vVertical = alongV.x() == 0 && std::abs(alongV.y()) == h;
    if ((uHorizontal && vVertical) || (uVertical && vHorizontal)) {
        // Pixel (x, y) has its centre at offset (x - p0 + 0.5) from p0; along a negative axis
        // that lands in the pixel one before.
        auto offset = [](int coordinate, int origin, int sign) {
            return sign > 0 ? coordinate - origin : origin - 1 - coordinate;
        };
        PixelKernels::PixelMap map{};
        const int uSign = uHorizontal ? (alongU.x() > 0 ? 1 : -1) : (alongU.y() > 0 ? 1 : -1);
        const int vSign = vVertical ? (alongV.y() > 0 ? 1 : -1) : (alongV.x() > 0 ? 1 : -1);
        // source column = source.left + offset along u; source row = source.top + offset along v
        if (uHorizontal) {
            map.colPerX = uSign;
            map.colBase = source.left() + offset(0, p0.x(), uSign);
            map.rowPerY = vSign;
            map.rowBase = source.top() + offset(0, p0.y(), vSign);
        } else {
            map.colPerY = uSign;
            map.colBase = source.left() + offset(0, p0.y(), uSign);
            map.rowPerX = vSign;
            map.rowBase = source.top() + offset(0, p0.x(), vSign);
        }
        // Keep only destination pixels whose source pixel exists.
        auto destOf = [&](int col, int row) {
            const int du = col - map.colBase;
            const int dv = row - map.rowBase;
            return uHorizontal ? QPoint(du * map.colPerX, dv * map.rowPerY)
                               : QPoint(dv * map.rowPerX, du * map.colPerY);
        };
        box &= spanning(destOf(valid.left(), valid.top()), destOf(valid.right(), valid.bottom()));
        PixelKernels::mapPixels(*to, box, *from, map);
        rasterChanged(box);
        return true;
    }

    // Any other parallelogram: invert the affine map and sample the nearest source pixel.
    const double a = double(alongU.x()) / w, b = double(alongV.x()) / h;
    const double c = double(alongU.y()) / w, d = double(alongV.y()) / h;
    const double det = a * d - b * c;
    PixelKernels::AffineMap map{};
    map.stepXx = d / det;
    map.stepXy = -c / det;
    map.stepYx = -b / det;
    map.stepYy = a / det;
    map.originX = source.left() - (p0.x() * map.stepXx + p0.y() * map.stepYx);
    map.originY = source.top() - (p0.x() * map.stepXy + p0.y() * map.stepYy);
    PixelKernels::mapAffine(*to, box, *from, valid, map);
    rasterChanged(box);
    return true;
}

bool DeviceContext::patBlt(const QRect &rect)
{
    QImage *pixels = raster();
    if (!pixels)
        return false;
    const QRect target = toDevice(rect) & deviceClip();
    if (target.isEmpty())
        return true;
    PixelKernels::fillRect(*pixels, target, pixelFromColorRef(m_brush->color()));
    rasterChanged(target);
    return true;
}

COLORREF DeviceContext::pixel(QPoint at)
{
    const QImage *pixels = raster();
    const QPoint p = toDevice(at);
    if (!pixels || !deviceClip().contains(p))
        return CLR_INVALID;
    return colorRefFromPixel(reinterpret_cast<const QRgb *>(pixels->constScanLine(p.y()))[p.x()]);
}

bool DeviceContext::drawImage(QPoint at, const QImage &image)
{
    QImage *pixels = raster();
    if (!pixels) {
        QPainter *device = painter();
        if (device)
            device->drawImage(toDevice(at), image);
        return device != nullptr;
    }
    const QRect target = QRect(toDevice(at), image.size()) & deviceClip();
    if (target.isEmpty())
        return true;
    PixelKernels::copyRect(*pixels, target.topLeft(), image, target.translated(-toDevice(at)));
    rasterChanged(target);
    return true;
}

bool DeviceContext::paintInPlace(const QRect &dest, const std::function<void(QImage &)> &paint)
{
    QImage *pixels = raster();
    const QRect target = toDevice(dest);
    if (!pixels || pixels->format() != QImage::Format_RGB32 || target.isEmpty() ||
        (target & deviceClip()) != target)
        return false;
    QImage area(pixels->bits() + target.y() * pixels->bytesPerLine() + target.x() * 4,
                target.width(), target.height(), pixels->bytesPerLine(), QImage::Format_RGB32);
    paint(area);
    rasterChanged(target);
    return true;
}

bool DeviceContext::drawIcon(QPoint at, const QImage &icon)
{
    QImage *pixels = raster();
    if (!pixels || icon.isNull())
        return false;
    const QRect clip = deviceClip();
    const QRect target = QRect(toDevice(at), icon.size()) & clip;
    if (target.isEmpty())
        return true;
    QPainter painter(pixels);
    painter.setClipRect(clip);
    painter.drawImage(toDevice(at), icon);
    painter.end();
    rasterChanged(target);
    return true;
}
