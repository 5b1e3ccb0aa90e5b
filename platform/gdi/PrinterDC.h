#pragma once

#include "DeviceContext.h"

class QPagedPaintDevice;

// A device context onto a printer's page, drawn through a painter in printer pixels with the
// origin at the printable area's corner.
class PrinterDC : public DeviceContext {
public:
    PrinterDC(QPainter *painter, QPagedPaintDevice *printer)
        : DeviceContext(Kind::Printer), m_painter(painter), m_printer(printer)
    {
    }

    int deviceCaps(int index) override;

protected:
    QPainter *painter() override { return m_painter; }
    // The application's font at the size a printed page reads well at.
    QFont font() override;

private:
    QPainter *m_painter;
    QPagedPaintDevice *m_printer;
};
