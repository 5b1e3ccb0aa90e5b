#pragma once

#include "platform/gdi/DeviceContext.h"

// A device context onto a rectangle of the screen (root coordinates): blits from it read what
// the screen shows there, through the screen grabber.
class ScreenDC : public DeviceContext {
public:
    explicit ScreenDC(const QRect &area) : DeviceContext(Kind::Window), m_area(area) {}

    // Its pixels start undefined, as on Windows: a grab is about to fill them.
    Bitmap *createCompatibleBitmap(int width, int height) override;

protected:
    QRect readableRect() override { return QRect(QPoint(0, 0), m_area.size()); }
    bool readPixels(const QRect &from, QImage &dst, QPoint to) override;

private:
    QRect m_area;
};
