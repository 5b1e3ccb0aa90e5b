#include "ScreenDC.h"

#include "ScreenGrabber.h"

#include "platform/gdi/Bitmap.h"

bool ScreenDC::readPixels(const QRect &from, QImage &dst, QPoint to)
{
    ScreenGrabber *grabber = ScreenGrabber::instance();
    return grabber && grabber->grab(from.translated(m_area.topLeft()), dst, to);
}

Bitmap *ScreenDC::createCompatibleBitmap(int width, int height)
{
    // Pixels the X server can write into directly; ordinary memory where it cannot.
    ScreenGrabber *grabber = ScreenGrabber::instance();
    const QImage shared = grabber ? grabber->allocate(QSize(width, height)) : QImage();
    if (shared.isNull())
        return DeviceContext::createCompatibleBitmap(width, height);
    return Bitmap::fromImage(shared, Bitmap::Kind::DeviceDependent);
}
