#include "CPravikApp.h"

#include "CAboutDlg.h"
#include "CMainFrame.h"
#include "Resource.h"
#include "document/CPravikDoc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/x11/ClipboardKeeper.h"
#include "res/ResourceData.h"
#include "view/CPravikView.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QPageSetupDialog>
#include <QPrinter>
#include <malloc.h>

namespace {
CPravikApp theApp;
}

CPravikApp *AfxGetApp()
{
    return &theApp;
}

CPravikApp::CPravikApp()
{
    // The directory of the running program, without a trailing separator.
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    m_strAppDir = program.left(program.lastIndexOf('/'));
    m_hDrawDib = DrawDibOpen();
}

CPravikApp::~CPravikApp()
{
    if (m_hDrawDib) {
        DrawDibClose(m_hDrawDib);
        m_hDrawDib = nullptr;
    }
}

BOOL CPravikApp::InitInstance(int &argc, char **argv)
{
    // Pictures come and go in blocks of tens of megabytes: keep them in the heap for the next
    // picture rather than returning them to the system and faulting fresh pages in each time.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    if (!QCoreApplication::instance())
        m_qtApp = std::make_unique<QApplication>(argc, argv);
    AfxSetAppTitle(ResourceData::string(AFX_IDS_APP_TITLE));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/res/icons/ondrava.png")));
    // Ties the windows to the launcher entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ondrava.Ondrava"));
    m_dlgInfo.Create();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!ProcessShellCommand(arguments))
        return FALSE;
    m_pMainWnd->show();
    return TRUE;
}

BOOL CPravikApp::ProcessShellCommand(const QStringList &arguments)
{
    m_doc = std::make_unique<CPravikDoc>();
    auto *frame = new CMainFrame;
    m_pMainWnd = frame;
    if (frame->OnCreate() == -1) {
        CloseAllDocuments();
        return FALSE;
    }
    frame->setCentralWidget(new CPravikView);
    m_pDoc->OnNewDocument();
    if (!arguments.isEmpty()) {
        if (!m_pDoc->OnOpenDocument(arguments.first())) {
            CloseAllDocuments();
            return FALSE;
        }
        // Opened from the command line, the document is titled by the file's name alone.
        m_pDoc->SetTitle(QFileInfo(arguments.first()).fileName());
    }
    frame->UpdateCommandUI();
    return TRUE;
}

int CPravikApp::Run()
{
    const int code = QCoreApplication::exec();
    ExitInstance();
    return code;
}

int CPravikApp::ExitInstance()
{
    if (m_pMainWnd)
        CloseAllDocuments();
    m_dlgInfo.DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A copied picture stays pasteable after we are gone.
    ClipboardKeeper::handOver(m_strAppDir + QStringLiteral("/ondrava-clipboard"));
    // Widgets are gone; the Qt application may go too.
    m_printer.reset();
    m_qtApp.reset();
    return 0;
}

void CPravikApp::CloseAllDocuments()
{
    if (m_pMainWnd) {
        m_pMainWnd->DestroyWindow();
        m_pMainWnd = nullptr;
    }
    m_doc.reset();
    QCoreApplication::quit();
}

BOOL CPravikApp::HasCommand(UINT id) const
{
    return id == ID_APP_ABOUT || id == ID_FILE_NEW || id == ID_APP_EXIT ||
           id == ID_FILE_PRINT_SETUP;
}

BOOL CPravikApp::OnCmdMsg(UINT id)
{
    switch (id) {
    case ID_APP_ABOUT:
        OnAppAbout();
        return TRUE;
    case ID_FILE_NEW:
        OnFileNew();
        return TRUE;
    case ID_APP_EXIT:
        m_pMainWnd->close();
        return TRUE;
    case ID_FILE_PRINT_SETUP: {
        QPageSetupDialog setup(Printer(), m_pMainWnd);
        setup.exec();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void CPravikApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd);
    about.exec();
}

void CPravikApp::OnFileNew()
{
    if (m_pDoc->SaveModified())
        m_pDoc->OnNewDocument();
}

POINT CPravikApp::InfoWindowPosition(int x, int y, RECT current, SIZE screen, BOOL started)
{
    const int w = current.right - current.left, h = current.bottom - current.top;
    const int sw = screen.cx, sh = screen.cy;
    if (!started)
        return {x <= w + 40 ? sw - w : 0, y <= h + 40 ? sh - h : 0};
    // Once the start point is chosen the window stays put unless the pointer comes into the
    // zone of its corner; then it jumps to the opposite one.
    const bool left = current.left == 0, top = current.top == 0;
    const bool nearX = left ? x <= w + 40 : x >= sw - w - 40;
    const bool nearY = top ? y <= h + 40 : y >= sh - h - 40;
    if (!(nearX && nearY))
        return {current.left, current.top};
    return {left ? sw - w : 0, top ? sh - h : 0};
}

void CPravikApp::MoveInfoWindow(int x, int y, COLORREF colour, int state)
{
    const POINT corner = InfoWindowPosition(
        x, y, m_dlgInfo.m_rcInfo, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
        m_pView && m_pView->m_bStarted);
    m_dlgInfo.ShowPixelColour(colour);
    m_dlgInfo.SetMouseHint(state);
    m_dlgInfo.DrawMagnifier(x, y);
    m_dlgInfo.ShowAt(corner.x, corner.y);
}

void CPravikApp::HideInfoWindow()
{
    m_dlgInfo.Hide();
}

QPrinter *CPravikApp::Printer()
{
    // With no printer installed, Qt's dialogs still offer printing to a PDF file.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}
