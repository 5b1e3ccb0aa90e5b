#include "CMainFrame.h"

#include "CPravikApp.h"
#include "Resource.h"
#include "document/CDlgResizeImg.h"
#include "document/CPravikDoc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/media/SoundPlayer.h"
#include "platform/x11/HotkeyEvent.h"
#include "platform/x11/LockKeyState.h"
#include "res/ResourceData.h"
#include "view/CPravikView.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// The image commands: enabled exactly while the document holds a picture.
bool needsImage(UINT id)
{
    switch (id) {
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_EDIT_COPY:
    case ID_IMAGE_RESIZE:
    case ID_IMAGE_ROTATE_LEFT:
    case ID_IMAGE_ROTATE_RIGHT:
    case ID_IMAGE_FLIP_VERTICAL:
    case ID_IMAGE_FLIP_HORIZONTAL:
        return true;
    default:
        return false;
    }
}

} // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate()
{
    BuildActions();
    BuildMenu();
    BuildToolBar();
    if (!BuildStatusBar())
        return -1;
    setWindowIcon(QIcon(QStringLiteral(":/res/icons/ondrava.png")));
    resize(800, 600);
    RegisterHotKeys();
    return 0;
}

void CMainFrame::BuildActions()
{
    std::map<UINT, QString> texts;
    for (const auto &popup : ResourceData::menu()) {
        for (const auto &item : popup.items) {
            if (item.id)
                texts[item.id] = QString::fromUtf8(item.text);
        }
    }
    texts.emplace(ID_FILE_NEW, QString());
    for (const auto &[id, text] : texts) {
        const QStringList prompt = ResourceData::string(id).split('\n');
        auto *action = new QAction(text.isEmpty() ? prompt.value(0) : text, this);
        action->setStatusTip(prompt.value(0));
        action->setToolTip(prompt.value(1));
        addAction(action); // keys work while the menu bar is off, as in capture mode
        connect(action, &QAction::triggered, this, [this, id = id] { OnCommand(id); });
        m_actions[id] = action;
    }
    std::map<UINT, QList<QKeySequence>> keys;
    for (const auto &accelerator : ResourceData::accelerators())
        keys[accelerator.id] << QKeySequence(QString::fromLatin1(accelerator.keys));
    for (const auto &[id, sequences] : keys) {
        if (QAction *action = CommandAction(id))
            action->setShortcuts(sequences);
    }
    m_actions[ID_VIEW_TOOLBAR]->setCheckable(true);
    m_actions[ID_VIEW_STATUS_BAR]->setCheckable(true);
}

void CMainFrame::BuildMenu()
{
    QMenuBar *bar = menuBar();
    for (const auto &popup : ResourceData::menu()) {
        QMenu *menu = bar->addMenu(QString::fromUtf8(popup.text));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        for (const auto &item : popup.items) {
            if (item.id)
                menu->addAction(m_actions[item.id]);
            else
                menu->addSeparator();
        }
    }
}

void CMainFrame::BuildToolBar()
{
    m_wndToolBar = new QToolBar(this);
    m_wndToolBar->setObjectName(QStringLiteral("toolbar"));
    m_wndToolBar->setIconSize(QSize(32, 32));
    for (const auto &button : ResourceData::toolbar()) {
        if (!button.id) {
            m_wndToolBar->addSeparator();
            continue;
        }
        QAction *action = m_actions[button.id];
        action->setIcon(
            QIcon(QStringLiteral(":/res/icons/%1.png").arg(QLatin1String(button.icon))));
        m_wndToolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

BOOL CMainFrame::BuildStatusBar()
{
    QStatusBar *bar = statusBar();
    // The message pane shows the idle text; command prompts cover it while they last.
    auto *message = new QLabel(ResourceData::string(AFX_IDS_IDLEMESSAGE));
    bar->addWidget(message, 1);
    m_panes[ID_SEPARATOR] = message;
    for (const UINT id :
         {ID_INDICATOR_IMAGESIZE, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        const QString text = ResourceData::string(id);
        auto *pane = new QLabel(id == ID_INDICATOR_IMAGESIZE ? text : QString());
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // Each pane is as wide as its string-table text, whatever it shows later.
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(text) + 2 * pane->frameWidth() +
                            8);
        bar->addPermanentWidget(pane);
        m_panes[id] = pane;
    }
    m_lockKeys = LockKeyState::create(this);
    if (m_lockKeys)
        connect(m_lockKeys, &LockKeyState::changed, this, &CMainFrame::UpdateLockPanes);
    UpdateLockPanes();
    return TRUE;
}

void CMainFrame::UpdateLockPanes()
{
    const bool on[] = {m_lockKeys && m_lockKeys->caps(), m_lockKeys && m_lockKeys->num(),
                       m_lockKeys && m_lockKeys->scroll()};
    const UINT ids[] = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i)
        m_panes[ids[i]]->setText(on[i] ? ResourceData::string(ids[i]) : QString());
}

QLabel *CMainFrame::Pane(UINT id) const
{
    const auto found = m_panes.find(id);
    return found == m_panes.end() ? nullptr : found->second;
}

QAction *CMainFrame::CommandAction(UINT id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

BOOL CMainFrame::RegisterHotKeys()
{
    m_atomRegion = GlobalAddAtomA("Pravik_snapRegion");
    m_atomWindow = GlobalAddAtomA("Pravik_snapForegroundWindow");
    m_atomDesktop = GlobalAddAtomA("Pravik_snapDesktop");
    if (!HotKeysAvailable()) {
        static bool said = false;
        if (!std::exchange(said, true))
            std::fprintf(
                stderr,
                "ondrava: this desktop is not X11; the capture hotkeys are not available.\n");
        return TRUE;
    }
    const std::pair<ATOM, UINT> keys[] = {
        {m_atomRegion, '0'}, {m_atomWindow, '9'}, {m_atomDesktop, '8'}};
    for (const auto &[atom, key] : keys) {
        if (!RegisterHotKey(this, int(atom), MOD_CONTROL | MOD_SHIFT, key))
            AfxMessageBox(
                QStringLiteral("hotkey ctrl+shift+%1 has been regisered by other program.")
                    .arg(QChar(key)));
    }
    return TRUE;
}

BOOL CMainFrame::UnregisterHotKeys()
{
    for (const ATOM atom : {m_atomRegion, m_atomWindow, m_atomDesktop})
        UnregisterHotKey(this, int(atom));
    return TRUE;
}

BOOL CMainFrame::DestroyWindow()
{
    UnregisterHotKeys();
    hide();
    deleteLater();
    return TRUE;
}

bool CMainFrame::event(QEvent *event)
{
    if (event->type() == HotkeyEvent::eventType()) {
        LRESULT result = 0;
        OnWndMsg(WM_HOTKEY, WPARAM(static_cast<HotkeyEvent *>(event)->id()), 0, &result);
        UpdateCommandUI();
        return true;
    }
    return QMainWindow::event(event);
}

BOOL CMainFrame::OnWndMsg(UINT message, WPARAM wParam, LPARAM, LRESULT *)
{
    if (message == WM_HOTKEY) {
        if (wParam == m_atomRegion)
            OnCaptureRegion();
        else if (wParam == m_atomWindow)
            OnCaptureWindow();
        else if (wParam == m_atomDesktop)
            OnCaptureDesktop();
    }
    return TRUE;
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // The close box and Exit both go through OnClose, which decides.
    event->ignore();
    OnClose();
}

void CMainFrame::OnClose()
{
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    if (doc->IsModified()) {
        switch (AfxMessageBox(QStringLiteral("是否将当前图像保存到磁盘？"), MB_YESNOCANCEL)) {
        case IDCANCEL:
            return;
        case IDYES:
            doc->OnFileSave();
            if (doc->IsModified())
                return;
            break;
        case IDNO:
            doc->SetModifiedFlag(FALSE);
            break;
        }
    }
    AfxGetApp()->CloseAllDocuments();
}

void CMainFrame::SetSizePaneText(QString text)
{
    // The view sets it while painting, so the pane repaints with the rest of the window rather
    // than inside the view's paint.
    m_panes[ID_INDICATOR_IMAGESIZE]->setText(text);
}

void CMainFrame::StepAside()
{
    showMinimized();
    // A window manager that never iconifies the frame (or none at all) must not hang us.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!IsIconic(this) && std::chrono::steady_clock::now() < deadline) {
    }
    hide();
    FlushDisplay();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

void CMainFrame::OnCaptureRegion()
{
    if (!m_bCaptureMode)
        EnterCaptureMode();
}

void CMainFrame::OnCaptureWindow()
{
    StepAside();
    SIZE size = AfxGetApp()->m_pDoc->m_sizeImage;
    HBITMAP bitmap = AfxGetApp()->m_capture.CaptureForegroundWindow(size, FALSE);
    FinishCapture(bitmap, size);
}

void CMainFrame::OnCaptureDesktop()
{
    StepAside();
    SIZE size = AfxGetApp()->m_pDoc->m_sizeImage;
    HBITMAP bitmap = AfxGetApp()->m_capture.CaptureDesktop(size);
    FinishCapture(bitmap, size);
}

void CMainFrame::FinishCapture(HBITMAP bitmap, SIZE size)
{
    // Without a grab the previous picture, its flags and title stay as they were.
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    if (bitmap) {
        doc->ReleaseImage(TRUE);
        doc->InstallImage(bitmap, size);
        doc->m_image.Attach(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG));
        PlayCaptureSound();
    }
    showMinimized();
    if (m_bCaptureMode)
        showFullScreen();
    else
        showNormal();
    raise();
    activateWindow();
    if (bitmap)
        doc->SetModifiedFlag(TRUE);
    update();
}

void CMainFrame::EnterCaptureMode()
{
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    const QRect normal = geometry();
    m_rcNormal = {normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1};
    StepAside();
    SIZE size = doc->m_sizeImage;
    HBITMAP snapshot = AfxGetApp()->m_capture.CaptureDesktop(size);
    if (!snapshot) {
        // Nothing to select from: the frame comes back as it was.
        showNormal();
        activateWindow();
        return;
    }
    m_bModifiedBeforeCapture = doc->IsModified();
    doc->ReleaseImage(FALSE);
    doc->InstallImage(snapshot, size);
    POINT pointer;
    if (doc->m_bDrawCursor && GetCursorPos(&pointer))
        DrawIcon(doc->m_hMemDC, pointer.x - 10, pointer.y - 10, GetCursorImage());
    menuBar()->hide();
    m_wndToolBar->hide();
    statusBar()->hide();
    m_bCaptureMode = TRUE;
    AfxGetApp()->m_pView->OnNcCalcSize();
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setGeometry(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    showFullScreen();
    raise();
    activateWindow();
}

BOOL CMainFrame::LeaveCaptureMode()
{
    if (!m_bCaptureMode)
        return TRUE;
    menuBar()->show();
    setWindowFlags(windowFlags() & ~(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
    m_wndToolBar->show();
    statusBar()->show();
    setGeometry(QRect(QPoint(m_rcNormal.left, m_rcNormal.top),
                      QPoint(m_rcNormal.right - 1, m_rcNormal.bottom - 1)));
    showNormal();
    m_bCaptureMode = FALSE;
    AfxGetApp()->m_pView->OnNcCalcSize();
    AfxGetApp()->HideInfoWindow();
    UpdateCommandUI();
    return TRUE;
}

void CMainFrame::OnImageResize()
{
    CPravikDoc *doc = AfxGetApp()->m_pDoc;
    const int w0 = doc->m_image.GetWidth(), h0 = doc->m_image.GetHeight();
    CDlgResizeImg dialog(w0, h0, this);
    if (dialog.DoModal() != IDOK)
        return;
    // Confirming the starting numbers changes nothing at all.
    if (dialog.m_nWidth == w0 && dialog.m_nHeight == h0)
        return;
    doc->ResizeImage(dialog.m_nWidth, dialog.m_nHeight);
    AfxGetApp()->m_pView->InvalidateRect(nullptr, TRUE);
}

void CMainFrame::PlayCaptureSound()
{
    const QString sound = QStringLiteral("endSnap.WAV");
    if (QFileInfo(sound).isFile())
        SoundPlayer::playAsync(sound);
}

BOOL CMainFrame::HasFrameCommand(UINT id) const
{
    switch (id) {
    case ID_CAPTURE_REGION:
    case ID_CAPTURE_WINDOW:
    case ID_CAPTURE_DESKTOP:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
        return TRUE;
    default:
        return needsImage(id) && id != ID_FILE_PRINT && id != ID_FILE_PRINT_PREVIEW;
    }
}

BOOL CMainFrame::IsCommandEnabled(UINT id) const
{
    const CPravikApp *app = AfxGetApp();
    const bool documentCommand = id == ID_FILE_OPEN || id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS;
    const bool handled = (app->m_pView && app->m_pView->HasCommand(id)) || documentCommand ||
                         HasFrameCommand(id) || app->HasCommand(id);
    if (!handled)
        return FALSE;
    return !needsImage(id) || (app->m_pDoc && app->m_pDoc->m_bHasImage);
}

void CMainFrame::OnCommand(UINT id)
{
    if (!IsCommandEnabled(id))
        return;
    CPravikApp *app = AfxGetApp();
    if (app->m_pView->OnCmdMsg(id)) {
        UpdateCommandUI();
        return;
    }
    switch (id) {
    case ID_FILE_OPEN:
        app->m_pDoc->OnFileOpen();
        app->m_pView->InvalidateRect(nullptr, TRUE);
        break;
    case ID_FILE_SAVE:
        app->m_pDoc->OnFileSave();
        break;
    case ID_FILE_SAVE_AS:
        app->m_pDoc->OnFileSaveAs();
        break;
    case ID_CAPTURE_REGION:
        OnCaptureRegion();
        break;
    case ID_CAPTURE_WINDOW:
        OnCaptureWindow();
        break;
    case ID_CAPTURE_DESKTOP:
        OnCaptureDesktop();
        break;
    case ID_VIEW_TOOLBAR:
        m_wndToolBar->setVisible(!m_wndToolBar->isVisible());
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisible());
        break;
    case ID_EDIT_COPY:
        app->m_pDoc->CopyToClipboard();
        break;
    case ID_IMAGE_RESIZE:
        OnImageResize();
        break;
    case ID_IMAGE_ROTATE_LEFT:
    case ID_IMAGE_ROTATE_RIGHT:
    case ID_IMAGE_FLIP_VERTICAL:
    case ID_IMAGE_FLIP_HORIZONTAL: {
        using Transform = BOOL (CPravikDoc::*)();
        const Transform transform = id == ID_IMAGE_ROTATE_LEFT     ? &CPravikDoc::RotateLeft
                                    : id == ID_IMAGE_ROTATE_RIGHT  ? &CPravikDoc::RotateRight
                                    : id == ID_IMAGE_FLIP_VERTICAL ? &CPravikDoc::FlipVertical
                                                                   : &CPravikDoc::FlipHorizontal;
        (app->m_pDoc->*transform)();
        app->m_pView->InvalidateRect(nullptr, TRUE);
        break;
    }
    default:
        app->OnCmdMsg(id);
        break;
    }
    if (app->m_pMainWnd == this)
        UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI()
{
    for (const auto &[id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id));
    m_actions[ID_VIEW_TOOLBAR]->setChecked(!m_wndToolBar->isHidden());
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(!statusBar()->isHidden());
    // The document's title, then the window title (the document string's first field).
    const QString windowTitle = ResourceData::string(IDR_MAINFRAME).section('\n', 0, 0);
    if (const CPravikDoc *doc = AfxGetApp()->m_pDoc)
        setWindowTitle(doc->GetTitle() + QStringLiteral(" - ") + windowTitle);
}
