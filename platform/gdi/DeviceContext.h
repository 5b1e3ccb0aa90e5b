#pragma once

#include "WinTypes.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <functional>
#include <optional>

class Bitmap;
class Brush;
class GdiObject;
class Pen;
class QImage;
class QPainter;
class QPaintDevice;

// A device context: the selected bitmap, pen and brush, the raster operation, text colours and
// alignment, the current position and the viewport origin, and the drawing operations. All
// positions given to it are logical; device = logical + viewport origin.
//
// A memory context draws into its selected bitmap. Other kinds draw into the pixels that
// raster() hands out (a window's backing surface) and hear of every change through
// rasterChanged(), or have no pixels at all and draw through QPainter (a printer).
class DeviceContext {
public:
    enum class Kind { Memory, Window, Printer };

    DeviceContext();
    DeviceContext(const DeviceContext &) = delete;
    DeviceContext &operator=(const DeviceContext &) = delete;
    virtual ~DeviceContext();

    Kind kind() const { return m_kind; }

    // Returns the object displaced, or null when `object` cannot be selected here (a bitmap into
    // anything but a memory context, or a bitmap already selected into another context).
    GdiObject *select(GdiObject *object);
    Bitmap *bitmap() const { return m_bitmap; }
    Pen *pen() const { return m_pen; }
    Brush *brush() const { return m_brush; }

    // Returns the previous value, or 0 for a raster operation this layer does not draw.
    int setRop2(int rop2);
    COLORREF setTextColor(COLORREF color);
    COLORREF setBkColor(COLORREF color);
    UINT setTextAlign(UINT align);
    QPoint setViewportOrigin(QPoint origin);
    // The clip box in logical coordinates; empty when nothing can be drawn.
    QRect clipBox();

    virtual int deviceCaps(int index);
    // A new bitmap of this device's kind: black pixels in memory, unless the device keeps its
    // bitmaps elsewhere (where the screen can write them directly).
    virtual Bitmap *createCompatibleBitmap(int width, int height);

    void moveTo(QPoint to);
    QPoint position() const { return m_position; }
    // Draws from the current position up to, but not including, `to`, which becomes the
    // current position.
    bool lineTo(QPoint to);
    bool textOut(QPoint at, const QString &text);
    QSize textExtent(const QString &text);
    TEXTMETRIC textMetrics();

    bool bitBlt(const QRect &dest, DeviceContext &src, QPoint srcTopLeft);
    bool stretchBlt(const QRect &dest, DeviceContext &src, const QRect &srcRect);
    // points: where the source's top-left, top-right and bottom-left corners land.
    bool plgBlt(const POINT points[3], DeviceContext &src, const QRect &srcRect);
    bool patBlt(const QRect &rect);
    COLORREF pixel(QPoint at);
    // Blends `icon` (premultiplied ARGB) over the pixels with its top-left corner at `at`.
    bool drawIcon(QPoint at, const QImage &icon);
    // Copies `image` 1:1 with its top-left corner at `at`, clipped.
    bool drawImage(QPoint at, const QImage &image);
    // Hands `paint` the pixels of `dest` to write in place, as an RGB32 image over the raster.
    // False, with nothing done, unless all of `dest` lies on such a raster inside the clip.
    bool paintInPlace(const QRect &dest, const std::function<void(QImage &)> &paint);

protected:
    explicit DeviceContext(Kind kind);

    // The pixels drawing lands in, in device coordinates, or null when the device has none.
    virtual QImage *raster();
    // Told after drawing changed `area` of the raster (device coordinates, clipped).
    virtual void rasterChanged(const QRect &area);
    // What a blit can read from this context (device coordinates): the raster's bounds unless
    // the device keeps its pixels elsewhere, like the screen.
    virtual QRect readableRect();
    // Copies `from` (device coordinates, inside readableRect()) into `dst` at `to`.
    virtual bool readPixels(const QRect &from, QImage &dst, QPoint to);
    // Limits drawing to `area` (device coordinates) besides the raster's bounds.
    void setClip(std::optional<QRect> area) { m_clip = area; }
    virtual QFont font();
    // The painter of a device without pixels of its own (a printer), or null.
    virtual QPainter *painter();

private:
    QRect deviceClip();
    // What text is measured against: the raster, or the painter's device.
    QPaintDevice *metricsDevice();
    QPoint toDevice(QPoint logical) const { return logical + m_origin; }
    QRect toDevice(const QRect &logical) const { return logical.translated(m_origin); }

    Kind m_kind;
    Bitmap *m_bitmap = nullptr;
    Pen *m_pen;
    Brush *m_brush;
    int m_rop2 = R2_COPYPEN;
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    UINT m_textAlign = TA_LEFT | TA_TOP;
    QPoint m_position;
    QPoint m_origin;
    std::optional<QRect> m_clip;
};
