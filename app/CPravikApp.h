#pragma once

#include "capture/CScreenCapture.h"
#include "capture/CSnapInfoDlg.h"
#include "platform/gdi/WinGdi.h"

#include <QString>
#include <memory>

class CMainFrame;
class CPravikDoc;
class CPravikView;
class QApplication;
class QPrinter;

// The application object: the state every part reaches (program directory, the single view and
// document, the pixel-info window, the stretch-a-DIB handle), start-up and shutdown, and the
// application's own commands.
class CPravikApp {
public:
    CPravikApp();
    CPravikApp(const CPravikApp &) = delete;
    CPravikApp &operator=(const CPravikApp &) = delete;
    ~CPravikApp();

    // Brings the system up: the Qt application (unless one exists), the hidden pixel-info
    // window, the document with its frame and view (opening the file named on the command
    // line), then shows the frame. FALSE ends the program.
    BOOL InitInstance(int &argc, char **argv);
    // Runs the message loop until the frame closes, then ExitInstance; returns the exit code.
    int Run();
    // Closes whatever is still open, the pixel-info window last.
    int ExitInstance();

    // Commands handled by the application; FALSE when `id` is not one of them.
    BOOL OnCmdMsg(UINT id);
    BOOL HasCommand(UINT id) const;
    void OnAppAbout();
    void OnFileNew();
    // The framework's close of the document: destroys the frame, deletes the document and ends
    // the message loop.
    void CloseAllDocuments();

    // Updates the pixel-info window for a pointer move during region selection and places it
    // out of the pointer's way.
    void MoveInfoWindow(int x, int y, COLORREF colour, int state);
    void HideInfoWindow();
    // The printer that Print Setup chose and every print uses.
    QPrinter *Printer();
    // Where that window goes: its top-left corner for a pointer at (x, y).
    static POINT InfoWindowPosition(int x, int y, RECT current, SIZE screen, BOOL started);

    QString m_strAppDir;
    CPravikView *m_pView = nullptr;
    CPravikDoc *m_pDoc = nullptr;
    CScreenCapture m_capture;
    CSnapInfoDlg m_dlgInfo;
    HDRAWDIB m_hDrawDib = nullptr;
    CMainFrame *m_pMainWnd = nullptr;

private:
    BOOL ProcessShellCommand(const QStringList &arguments);

    std::unique_ptr<QApplication> m_qtApp;
    std::unique_ptr<CPravikDoc> m_doc;
    std::unique_ptr<QPrinter> m_printer;
};

CPravikApp *AfxGetApp();
