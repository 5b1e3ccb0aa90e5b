#pragma once

#include "platform/gdi/WinTypes.h"
#include "platform/x11/WinUser.h"

#include <QMainWindow>
#include <QPointer>
#include <map>

class LockKeyState;
class QLabel;
class QMenuBar;
class QToolBar;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// The main frame: menu bar, toolbar and status bar around the view; the three global hotkeys;
// command routing with enable rules; the close prompt.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;

    // Builds toolbar, status bar and menus and registers the hotkeys; -1 when that fails.
    int OnCreate();
    BOOL RegisterHotKeys();
    BOOL UnregisterHotKeys();
    // Unregisters the hotkeys, then closes and schedules the window's deletion.
    BOOL DestroyWindow();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
    void OnClose();
    void SetSizePaneText(QString text);

    void OnCaptureRegion();
    void OnCaptureWindow();
    void OnCaptureDesktop();
    void OnImageResize();
    void EnterCaptureMode();
    BOOL LeaveCaptureMode();
    // Plays "endSnap.WAV" from the current directory, if it is there, without waiting.
    void PlayCaptureSound();

    // Carries out command `id` along the route view, document, frame, application, unless its
    // enable rule says no; then brings the enable states up to date.
    void OnCommand(UINT id);
    BOOL IsCommandEnabled(UINT id) const;
    // Greys and checks menu items and buttons by the document's state; sets the caption.
    void UpdateCommandUI();
    QAction *CommandAction(UINT id) const;
    QToolBar *ToolBar() const { return m_wndToolBar; }
    QLabel *Pane(UINT id) const;

    ATOM m_atomRegion = 0;
    ATOM m_atomWindow = 0;
    ATOM m_atomDesktop = 0;
    BOOL m_bCaptureMode = FALSE;
    // The picture's modified flag when capture mode began, given back if the capture is cancelled.
    BOOL m_bModifiedBeforeCapture = FALSE;
    RECT m_rcNormal = {0, 0, 0, 0};

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    BOOL HasFrameCommand(UINT id) const;
    // Takes the frame off the screen before a grab.
    void StepAside();
    // Installs a window or desktop grab and brings the frame back.
    void FinishCapture(HBITMAP bitmap, SIZE size);
    void BuildActions();
    void BuildMenu();
    void BuildToolBar();
    BOOL BuildStatusBar();
    void UpdateLockPanes();

    QToolBar *m_wndToolBar = nullptr;
    std::map<UINT, QAction *> m_actions;
    std::map<UINT, QLabel *> m_panes;
    LockKeyState *m_lockKeys = nullptr;
};
