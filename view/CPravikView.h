#pragma once

#include "platform/gdi/WinGdi.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>
#include <QRegion>

class CMainFrame;
class QDateTime;
class QPrinter;
class CPravikDoc;

// The view of the picture in the main frame, and in capture mode the full-screen surface on
// which a region is selected. It renders into a backing surface in device pixels: erasing and
// drawing happen there, window device contexts draw there directly, and painting only copies
// the surface to the screen.
class CPravikView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CPravikView();
    ~CPravikView() override;

    CPravikDoc *GetDocument() const;

    void OnDraw(HDC dc);

    // Printing: one page with the title and time above the picture at 100 pixels per inch,
    // reduced to fit. `page` is the printable area in printer pixels.
    BOOL HasCommand(UINT id) const;
    BOOL OnCmdMsg(UINT id);
    void OnPrint(HDC dc, RECT page);
    // Lays out and draws the page onto `printer`.
    void PrintPage(QPrinter *printer);
    static RECT PrintPlacement(RECT area, int width, int height, int dpiX, int dpiY);
    static QString PrintHeaderText(const QString &title, const QDateTime &when);
    BOOL OnEraseBkgnd(HDC dc);
    void OnInitialUpdate();

    // A device context that draws straight onto the surface, outside painting.
    HDC GetDC();
    void ReleaseDC(HDC dc);
    // Marks `rect` (client coordinates; null for all) to be erased and drawn anew.
    void InvalidateRect(const RECT *rect, BOOL erase);
    // Applies the frame's capture mode: no border and no scroll bars while it lasts.
    void OnNcCalcSize();

    void OnMouseMove(POINT point);
    void OnLButtonDown(POINT point);
    void OnRButtonDown();

    void DrawCrossLines(int x, int y);
    void DrawSelection(HDC dc, POINT from, POINT to);
    void EraseSelection(HDC dc, POINT from, POINT to);

    // Where the size label of a selection from `from` to `to` goes: centred when the outline is
    // more than 100 wide and 40 high, else just beyond its larger corner, kept on the screen.
    static QRect LabelRect(POINT from, POINT to, SIZE extent, SIZE screen);

    // The surface in device pixels, as the screen shows it once painted.
    const QImage &Surface() const { return m_surface; }
    // Client coordinates in device pixels for a position in the viewport.
    QPoint ToDevice(QPointF viewportPosition) const;
    QPoint EventPosition(const QMouseEvent *event) const;

    POINT m_ptStart = {0, 0};
    POINT m_ptEnd = {0, 0};
    POINT m_ptLast = {0, 0};
    BOOL m_bDrawn = FALSE;
    BOOL m_bStarted = FALSE;
    RECT m_rectDraw = {0, 0, 0, 0}; // the page's picture area, from OnPrint to OnDraw

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    CMainFrame *Frame() const;
    bool CaptureMode() const;
    void SetScrollSizes(SIZE total);
    POINT CursorClientPos() const;
    void DrawPrintedPicture(HDC dc);
    // The crosshair pen selected and R2_NOTXORPEN set on `dc` while `draw` runs.
    template <class Draw> void WithCrosshairPen(HDC dc, Draw draw);
    // Repaints the invalid areas, with the crosshair strips or the selection added first.
    void RenderInvalid();
    void SurfaceChanged(const QRect &device);

    // Made once: every new cursor picture would become another cursor on the X server.
    const QCursor m_targetCursor;
    QImage m_surface;
    QRegion m_invalid; // device pixels to erase and draw anew before the next paint
    SIZE m_total = {1, 1};
};
