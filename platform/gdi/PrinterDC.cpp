#include "PrinterDC.h"

#include <QGuiApplication>
#include <QPagedPaintDevice>

int PrinterDC::deviceCaps(int index)
{
    switch (index) {
    case HORZRES:
        return m_printer->width();
    case VERTRES:
        return m_printer->height();
    case BITSPIXEL:
        return 24;
    case PLANES:
        return 1;
    case LOGPIXELSX:
        return m_printer->logicalDpiX();
    case LOGPIXELSY:
        return m_printer->logicalDpiY();
    default:
        return 0;
    }
}

QFont PrinterDC::font()
{
    QFont font = QGuiApplication::font();
    font.setPointSize(10);
    return font;
}
