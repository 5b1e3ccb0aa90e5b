#include "ScreenDC.h"

#include "ScreenGrabber.h"

bool ScreenDC::readPixels(const QRect &from, QImage &dst, QPoint to)
{
    ScreenGrabber *grabber = ScreenGrabber::instance();
    return grabber && grabber->grab(from.translated(m_area.topLeft()), dst, to);
}
