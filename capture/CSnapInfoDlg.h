#pragma once

#include "platform/gdi/WinTypes.h"

#include <QImage>
#include <QWidget>
#include <memory>

class QLabel;
class MagnifierPicture;

// The pixel-info and magnifier window shown during region selection: which mouse button does
// what, the colour under the pointer, and the 30 x 30 pixels around it enlarged. Its window
// (dialog template 135) exists from Create() until DestroyWindow() and is shown only by the
// application's MoveInfoWindow, never activated.
class CSnapInfoDlg {
public:
    enum Control {
        IDC_RED = 1002,
        IDC_GREEN = 1003,
        IDC_BLUE = 1004,
        IDC_PICTURE = 1008,
        IDC_LEFT = 1009,
        IDC_RIGHT = 1010
    };

    CSnapInfoDlg();
    CSnapInfoDlg(const CSnapInfoDlg &) = delete;
    CSnapInfoDlg &operator=(const CSnapInfoDlg &) = delete;
    ~CSnapInfoDlg();

    bool Create();
    void DestroyWindow();
    QWidget *window() const { return m_window.get(); }
    QString ControlText(int id) const;

    void ShowPixelColour(COLORREF colour);
    void SetMouseHint(int state);
    // Enlarges the view's 30 x 30 pixels around (x, y), kept on the screen, onto the picture.
    void DrawMagnifier(int x, int y);
    const QImage &Magnified() const;
    // The view's square that DrawMagnifier enlarges for a pointer at (x, y).
    static QRect MagnifierSource(int x, int y, SIZE screen);

    // Places the window with its top-left corner at (x, y) in screen pixels and shows it above
    // everything without activating it; or hides it, parked at (0, 0).
    void ShowAt(int x, int y);
    void Hide();

    RECT m_rcInfo = {0, 0, 0, 0};
    int m_nHintState = 0;

private:
    void UpdateRect();

    std::unique_ptr<QWidget> m_window;
    QLabel *m_labels[6] = {};
    MagnifierPicture *m_picture = nullptr;
};
