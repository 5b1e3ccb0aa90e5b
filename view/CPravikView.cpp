#include "CPravikView.h"

#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/gdi/PrinterDC.h"
#include "platform/gdi/WindowDC.h"
#include "platform/x11/WinUser.h"
#include "res/ResourceData.h"

#include <QBitmap>
#include <QDateTime>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <cmath>
#include <memory>
#include <new>

namespace {

// The capture-mode cursor: a small black target sight on a transparent 32 x 32 cursor.
QCursor targetCursor()
{
    QBitmap shape(32, 32);
    shape.fill(Qt::color0);
    QPainter painter(&shape);
    painter.setPen(Qt::color1);
    for (const QPoint &p : ResourceData::targetCursorPixels())
        painter.drawPoint(p);
    painter.end();
    const QPoint hotSpot = ResourceData::targetCursorHotSpot();
    return QCursor(shape, shape, hotSpot.x(), hotSpot.y());
}

} // namespace

CPravikView::CPravikView() : m_targetCursor(targetCursor())
{
    AfxGetApp()->m_pView = this;
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

CPravikView::~CPravikView()
{
    if (AfxGetApp()->m_pView == this)
        AfxGetApp()->m_pView = nullptr;
}

CPravikDoc *CPravikView::GetDocument() const
{
    return AfxGetApp()->m_pDoc;
}

CMainFrame *CPravikView::Frame() const
{
    return AfxGetApp()->m_pMainWnd;
}

bool CPravikView::CaptureMode() const
{
    return Frame() && Frame()->m_bCaptureMode;
}

QPoint CPravikView::ToDevice(QPointF viewportPosition) const
{
    const qreal ratio = viewport()->devicePixelRatioF();
    return QPoint(int(std::floor(viewportPosition.x() * ratio)),
                  int(std::floor(viewportPosition.y() * ratio)));
}

POINT CPravikView::CursorClientPos() const
{
    // In capture mode the view covers the screen from its corner, so the pointer's screen
    // position is the client position, in whole screen pixels even on a scaled screen (where
    // Qt's logical positions are rounded to whole logical pixels).
    POINT p;
    if (CaptureMode() && GetCursorPos(&p))
        return p;
    const QPoint local = ToDevice(viewport()->mapFromGlobal(QCursor::pos()));
    return {local.x(), local.y()};
}

HDC CPravikView::GetDC()
{
    return new WindowDC(&m_surface, [this](const QRect &area) { SurfaceChanged(area); });
}

void CPravikView::ReleaseDC(HDC dc)
{
    delete dc;
}

void CPravikView::SurfaceChanged(const QRect &device)
{
    const qreal ratio = viewport()->devicePixelRatioF();
    const QRectF logical(device.x() / ratio, device.y() / ratio, device.width() / ratio,
                         device.height() / ratio);
    viewport()->update(logical.toAlignedRect());
}

void CPravikView::InvalidateRect(const RECT *rect, BOOL)
{
    // Every invalidation here erases: the background handler always runs before drawing.
    const QRect all = m_surface.rect();
    m_invalid +=
        rect ? QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)) & all
             : all;
    viewport()->update();
}

void CPravikView::OnNcCalcSize()
{
    const bool capture = CaptureMode();
    setFrameShape(capture ? QFrame::NoFrame : QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(capture ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(capture ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    if (capture) {
        viewport()->setCursor(m_targetCursor);
        setFocus();
    } else {
        viewport()->unsetCursor();
    }
}

void CPravikView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QSize device = viewport()->size() * viewport()->devicePixelRatioF();
    if (device != m_surface.size()) {
        m_surface = QImage(device, QImage::Format_RGB32);
        m_surface.fill(QColor(100, 100, 100));
    }
    SetScrollSizes(m_total);
    InvalidateRect(nullptr, TRUE);
}

void CPravikView::showEvent(QShowEvent *event)
{
    // A window that comes back on the screen is drawn anew.
    QAbstractScrollArea::showEvent(event);
    InvalidateRect(nullptr, TRUE);
}

void CPravikView::scrollContentsBy(int, int)
{
    InvalidateRect(nullptr, TRUE);
}

void CPravikView::SetScrollSizes(SIZE total)
{
    m_total = total;
    // Page step a tenth of the total, line step a tenth of the page, as the defaults are.
    auto apply = [](QScrollBar *bar, int totalSize, int visible) {
        const int page = std::max(1, totalSize / 10);
        bar->setRange(0, std::max(0, totalSize - visible));
        bar->setPageStep(page);
        bar->setSingleStep(std::max(1, page / 10));
    };
    apply(horizontalScrollBar(), total.cx, m_surface.width());
    apply(verticalScrollBar(), total.cy, m_surface.height());
}

void CPravikView::OnInitialUpdate()
{
    InvalidateRect(nullptr, TRUE);
    SetScrollSizes(GetDocument()->GetDocSize());
}

void CPravikView::RenderInvalid()
{
    if (m_invalid.isEmpty())
        return;
    // Before each paint the crosshair's strips (or the part of the selection the pointer left)
    // are added, so a partial repaint never leaves a broken crosshair.
    const POINT p = CursorClientPos();
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (!m_bStarted) {
        m_invalid += QRect(QPoint(0, p.y - 1), QPoint(sw - 1, p.y));
        m_invalid += QRect(QPoint(p.x - 1, 0), QPoint(p.x, sh - 1));
    } else {
        m_invalid += QRect(QPoint(std::min(m_ptLast.x, p.x), std::min(m_ptLast.y, p.y)),
                           QPoint(std::max(m_ptLast.x, p.x) - 1, std::max(m_ptLast.y, p.y) - 1));
    }
    const QRect box = m_invalid.boundingRect() & m_surface.rect();
    m_invalid = QRegion();
    if (box.isEmpty())
        return;
    WindowDC dc(
        &m_surface, [this](const QRect &area) { SurfaceChanged(area); }, box);
    if (!CaptureMode())
        SetViewportOrgEx(&dc, -horizontalScrollBar()->value(), -verticalScrollBar()->value(),
                         nullptr);
    OnEraseBkgnd(&dc);
    OnDraw(&dc);
}

void CPravikView::paintEvent(QPaintEvent *event)
{
    RenderInvalid();
    // Only the areas that changed: a crosshair's two strips are not the whole screen.
    QPainter painter(viewport());
    const qreal ratio = viewport()->devicePixelRatioF();
    for (const QRect &shown : event->region())
        painter.drawImage(QRectF(shown), m_surface,
                          QRectF(shown.x() * ratio, shown.y() * ratio, shown.width() * ratio,
                                 shown.height() * ratio));
}

BOOL CPravikView::OnEraseBkgnd(HDC dc)
{
    HBRUSH brush = CreateSolidBrush(RGB(100, 100, 100));
    HBRUSH old = SelectObject(dc, brush);
    RECT box;
    GetClipBox(dc, &box);
    PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATCOPY);
    SelectObject(dc, old);
    DeleteObject(brush);
    return TRUE;
}

void CPravikView::OnDraw(HDC dc)
{
    CPravikDoc *doc = GetDocument();
    if (!doc || !doc->m_bHasImage)
        return;
    if (dc->kind() == DeviceContext::Kind::Printer)
        return DrawPrintedPicture(dc);
    const bool capture = CaptureMode();
    const int w = capture ? m_surface.width() : doc->m_image.GetWidth();
    const int h = capture ? m_surface.height() : doc->m_image.GetHeight();
    const int at = capture ? 0 : 10;
    BitBlt(dc, at, at, w, h, doc->m_hMemDC, 0, 0, SRCCOPY);
    m_ptLast = CursorClientPos();
    if (capture) {
        WithCrosshairPen(dc, [&] {
            SetBkColor(dc, RGB(0, 0, 0));
            SetTextColor(dc, RGB(255, 255, 255));
            if (m_bStarted)
                DrawSelection(dc, m_ptStart, m_ptLast);
            else
                DrawCrossLines(m_ptLast.x, m_ptLast.y);
        });
        m_bDrawn = TRUE;
        SetScrollSizes({1, 1});
        return;
    }
    // The red frame: its top and left lines run over the picture's first row and column.
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HPEN old = SelectObject(dc, red);
    const LONG cx = doc->m_sizeImage.cx, cy = doc->m_sizeImage.cy;
    const POINT frame[5] = {{10, 10}, {cx + 11, 10}, {cx + 11, cy + 11}, {10, cy + 11}, {10, 10}};
    Polyline(dc, frame, 5);
    SelectObject(dc, old);
    DeleteObject(red);
    Frame()->SetSizePaneText(QStringLiteral("%1 x %2").arg(w).arg(h));
    SetScrollSizes(doc->GetDocSize());
}

template <class Draw> void CPravikView::WithCrosshairPen(HDC dc, Draw draw)
{
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HPEN old = SelectObject(dc, pen);
    const int oldRop = SetROP2(dc, R2_NOTXORPEN);
    draw();
    SetROP2(dc, oldRop);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void CPravikView::DrawCrossLines(int x, int y)
{
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    HDC dc = GetDC();
    // Four segments, each without its end point: the pointer's own pixel is inverted twice.
    WithCrosshairPen(dc, [&] {
        const POINT segments[4][2] = {
            {{0, y}, {x, y}}, {{x, y}, {sw, y}}, {{x, 0}, {x, y}}, {{x, y}, {x, sh}}};
        for (const auto &s : segments) {
            MoveToEx(dc, s[0].x, s[0].y, nullptr);
            LineTo(dc, s[1].x, s[1].y);
        }
    });
    ReleaseDC(dc);
}

QRect CPravikView::LabelRect(POINT from, POINT to, SIZE extent, SIZE screen)
{
    const int dx = to.x - from.x, dy = to.y - from.y;
    int x, y;
    if (std::abs(dx) > 100 && std::abs(dy) > 40) {
        x = from.x + dx / 2 - extent.cx / 2;
        y = from.y + dy / 2 - extent.cy / 2;
    } else {
        x = std::max(from.x, to.x) + 1;
        y = std::max(from.y, to.y) + 1;
        if (x + extent.cx > screen.cx)
            x = std::max(from.x, to.x) - extent.cx;
        if (y + extent.cy > screen.cy)
            y = std::max(from.y, to.y) - extent.cy;
    }
    return QRect(x, y, extent.cx, extent.cy);
}

static void drawOutline(HDC dc, POINT from, POINT to)
{
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, from.x, to.y);
    LineTo(dc, to.x, to.y);
    LineTo(dc, to.x, from.y);
    LineTo(dc, from.x, from.y);
}

static QString labelText(POINT from, POINT to)
{
    return QStringLiteral("%1, %2").arg(to.x - from.x).arg(to.y - from.y);
}

static QRect labelRectIn(HDC dc, POINT from, POINT to)
{
    SIZE extent;
    GetTextExtentPoint32(dc, labelText(from, to), &extent);
    return CPravikView::LabelRect(from, to, extent,
                                  {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

void CPravikView::DrawSelection(HDC dc, POINT from, POINT to)
{
    drawOutline(dc, from, to);
    const QRect label = labelRectIn(dc, from, to);
    TextOut(dc, label.x(), label.y(), labelText(from, to));
}

void CPravikView::EraseSelection(HDC dc, POINT from, POINT to)
{
    drawOutline(dc, from, to);
    // The label is not inverted: the snapshot is copied back over it, which also mends the
    // outline pixels it covered.
    const QRect label = labelRectIn(dc, from, to);
    BitBlt(dc, label.x(), label.y(), label.width(), label.height(), GetDocument()->m_hMemDC,
           label.x(), label.y(), SRCCOPY);
}

void CPravikView::OnMouseMove(POINT p)
{
    if (!CaptureMode() || (p.x == m_ptLast.x && p.y == m_ptLast.y))
        return;
    HDC dc = GetDC();
    if (m_bStarted) {
        WithCrosshairPen(dc, [&] {
            SetBkColor(dc, RGB(0, 0, 0));
            SetTextColor(dc, RGB(255, 255, 255));
            if (m_bDrawn)
                EraseSelection(dc, m_ptStart, m_ptLast);
            DrawSelection(dc, m_ptStart, p);
        });
    } else {
        if (m_bDrawn)
            DrawCrossLines(m_ptLast.x, m_ptLast.y);
        DrawCrossLines(p.x, p.y);
    }
    m_bDrawn = TRUE;
    // The colour as the screen now shows it, after the new drawing.
    AfxGetApp()->MoveInfoWindow(p.x, p.y, GetPixel(dc, p.x, p.y), m_bStarted ? 2 : 1);
    m_ptLast = p;
    ReleaseDC(dc);
}

void CPravikView::OnLButtonDown(POINT p)
{
    if (!CaptureMode())
        return;
    if (!m_bStarted) {
        // The crosshair goes; the outline comes with the next pointer move.
        if (m_bDrawn)
            DrawCrossLines(m_ptLast.x, m_ptLast.y);
        m_ptStart = p;
        m_ptLast = p;
        m_bStarted = TRUE;
        m_bDrawn = FALSE;
        return;
    }
    // A second click in the start point's row or column would make an empty picture.
    if (p.x == m_ptStart.x || p.y == m_ptStart.y)
        return;
    m_ptEnd = p;
    m_bStarted = FALSE;
    m_bDrawn = FALSE;
    CPravikDoc *doc = GetDocument();
    SIZE size = doc->m_sizeImage;
    HBITMAP picture = AfxGetApp()->m_capture.CaptureRect(doc->m_hMemDC, m_ptStart.x, m_ptStart.y,
                                                         m_ptEnd.x, m_ptEnd.y, size);
    if (!picture) {
        OnRButtonDown(); // nothing could be cut: back to the previous picture
        return;
    }
    doc->ReleaseImage(TRUE);
    doc->InstallImage(picture, size);
    doc->m_image.Attach(CopyImage(picture, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG));
    Frame()->LeaveCaptureMode();
    Frame()->PlayCaptureSound();
    doc->SetModifiedFlag(TRUE);
}

void CPravikView::OnRButtonDown()
{
    if (!CaptureMode())
        return;
    HDC dc = GetDC();
    if (m_bStarted) {
        m_bStarted = FALSE;
        m_bDrawn = FALSE;
        WithCrosshairPen(dc, [&] { EraseSelection(dc, m_ptStart, m_ptLast); });
    } else {
        // Cancel: the picture from before the capture comes back, modified as it was.
        CPravikDoc *doc = GetDocument();
        doc->ReleaseImage(FALSE);
        if (!doc->m_image.IsNull())
            doc->InstallImage(CopyImage(doc->m_image, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG),
                              {doc->m_image.GetWidth(), doc->m_image.GetHeight()});
        doc->SetModifiedFlag(Frame()->m_bModifiedBeforeCapture);
        Frame()->LeaveCaptureMode();
    }
    ReleaseDC(dc);
}

QPoint CPravikView::EventPosition(const QMouseEvent *event) const
{
    if (CaptureMode()) {
        const POINT p = CursorClientPos();
        return QPoint(p.x, p.y);
    }
    return ToDevice(event->position());
}

void CPravikView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = EventPosition(event);
    OnMouseMove({p.x(), p.y()});
}

void CPravikView::mousePressEvent(QMouseEvent *event)
{
    if (!CaptureMode())
        return QAbstractScrollArea::mousePressEvent(event);
    const QPoint p = EventPosition(event);
    if (event->button() == Qt::LeftButton)
        OnLButtonDown({p.x(), p.y()});
    else if (event->button() == Qt::RightButton)
        OnRButtonDown();
}

void CPravikView::keyPressEvent(QKeyEvent *event)
{
    // In capture mode Esc is a right click.
    if (CaptureMode() && event->key() == Qt::Key_Escape)
        OnRButtonDown();
    QAbstractScrollArea::keyPressEvent(event);
}

BOOL CPravikView::HasCommand(UINT id) const
{
    return id == ID_FILE_PRINT || id == ID_FILE_PRINT_DIRECT || id == ID_FILE_PRINT_PREVIEW;
}

BOOL CPravikView::OnCmdMsg(UINT id)
{
    QPrinter *printer = AfxGetApp()->Printer();
    switch (id) {
    case ID_FILE_PRINT: {
        QPrintDialog dialog(printer, this);
        if (dialog.exec() == QDialog::Accepted)
            PrintPage(printer);
        return TRUE;
    }
    case ID_FILE_PRINT_DIRECT:
        PrintPage(printer);
        return TRUE;
    case ID_FILE_PRINT_PREVIEW: {
        // Every redraw of the preview lays the page out anew, the time included.
        QPrintPreviewDialog preview(printer, this);
        connect(&preview, &QPrintPreviewDialog::paintRequested, this, &CPravikView::PrintPage);
        preview.exec();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

QString CPravikView::PrintHeaderText(const QString &title, const QDateTime &when)
{
    return title + QStringLiteral(" - ") + when.toString(QStringLiteral("[yyyy.MM.dd HH:mm:ss]"));
}

void CPravikView::PrintPage(QPrinter *printer)
{
    QPainter painter;
    if (!painter.begin(printer))
        return;
    PrinterDC dc(&painter, printer);
    OnPrint(&dc, {0, 0, GetDeviceCaps(&dc, HORZRES), GetDeviceCaps(&dc, VERTRES)});
}

void CPravikView::OnPrint(HDC dc, RECT r)
{
    r.left = LONG(r.left + 600.0);
    r.right = LONG(r.right - 600.0);
    const QString header = PrintHeaderText(GetDocument()->GetTitle(), QDateTime::currentDateTime());
    // The header line at y = 350, the rule 200 above the picture's area.
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOut(dc, r.left, 350, header);
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    LONG y = LONG(tm.tmHeight + 350.0);
    MoveToEx(dc, r.left, y, nullptr);
    LineTo(dc, r.right, y);
    y = LONG(y + 200.0);
    r.top = r.top + y;
    r.bottom = LONG(r.bottom - 600.0);
    m_rectDraw = r;
    OnDraw(dc);
}

RECT CPravikView::PrintPlacement(RECT r, int w, int h, int dpiX, int dpiY)
{
    // In double precision, left to right as written: the truncation order decides the last pixel.
    const double width = r.right - r.left, height = r.bottom - r.top;
    RECT d = {r.left, r.top, 0, 0};
    d.right = LONG(w * 0.01 * dpiX + r.left);
    if (d.right > r.right) {
        d.right = r.right;
        d.bottom = LONG((width * h * dpiY) / (double(w) * dpiX)) + r.top;
        if (d.bottom > r.bottom) {
            d.bottom = r.bottom;
            d.right = LONG((height * w * dpiX) / (double(h) * dpiY)) + r.left;
        }
    } else {
        d.bottom = LONG(h * 0.01 * dpiY + r.top);
        if (d.bottom > r.bottom) {
            d.bottom = r.bottom;
            d.right = LONG((height * w * dpiX) / (double(h) * dpiY)) + r.left;
        }
    }
    return d;
}

void CPravikView::DrawPrintedPicture(HDC dc)
{
    CPravikDoc *doc = GetDocument();
    const int w = doc->m_image.GetWidth(), h = doc->m_image.GetHeight();
    const RECT d = PrintPlacement(m_rectDraw, w, h, GetDeviceCaps(dc, LOGPIXELSX),
                                  GetDeviceCaps(dc, LOGPIXELSY));
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    if (dw == w && dh == h) {
        BitBlt(dc, d.left, d.top, w, h, doc->m_hMemDC, 0, 0, SRCCOPY);
        return;
    }
    BITMAPINFO *info = BuildBitmapInfo(doc->m_hBitmap);
    if (!info)
        return; // described nowhere: the page goes without the picture
    const std::unique_ptr<BITMAPINFO, decltype(&LocalFree)> header(info, &LocalFree);
    std::unique_ptr<unsigned char[]> rows(
        new (std::nothrow) unsigned char[info->bmiHeader.biSizeImage]);
    if (!rows || GetDIBits(doc->m_hMemDC, doc->m_hBitmap, 0, UINT(doc->m_sizeImage.cy), rows.get(),
                           info, DIB_RGB_COLORS) != doc->m_sizeImage.cy) {
        AfxMessageBox(QStringLiteral("error on print"));
        return;
    }
    DrawDibRealize(AfxGetApp()->m_hDrawDib, dc, TRUE);
    DrawDibDraw(AfxGetApp()->m_hDrawDib, dc, d.left, d.top, dw, dh, &info->bmiHeader, rows.get(), 0,
                0, w, h, DDF_BACKGROUNDPAL);
}
