#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "document/CPravikDoc.h"
#include "tests/support/AppSession.h"
#include "tests/support/ModalAnswerer.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

// The main frame as the user meets it: menus, toolbar, panes, caption, enable rules, and the
// questions asked before closing or starting anew.
class TestMainFrame : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpState();
    void menusInOrder();
    void toolbarInOrder();
    void enableRulesFollowThePicture();
    void close_data();
    void close();
    void newCommandAsksFirst();
    void aboutBox();
    void viewTogglesCarryChecks();

private:
    CMainFrame *frame() const { return AfxGetApp()->m_pMainWnd; }
    CPravikDoc *doc() const { return AfxGetApp()->m_pDoc; }
    void installPicture(int w, int h);
};

void TestMainFrame::init()
{
    QVERIFY(startApplication());
}

void TestMainFrame::cleanup()
{
    AfxGetApp()->ExitInstance();
}

void TestMainFrame::installPicture(int w, int h)
{
    CPravikDoc *d = doc();
    d->m_hMemDC = CreateCompatibleDC(nullptr);
    d->m_hBitmap = CreateCompatibleBitmap(d->m_hMemDC, w, h);
    d->m_hOldBitmap = SelectObject(d->m_hMemDC, d->m_hBitmap);
    d->m_sizeImage = {w, h};
    d->m_image.Attach(CopyImage(d->m_hBitmap, IMAGE_BITMAP, 0, 0, 0));
    d->m_bHasImage = TRUE;
    d->SetModifiedFlag(TRUE);
    frame()->UpdateCommandUI();
}

void TestMainFrame::startUpState()
{
    QVERIFY(frame()->isVisible());
    QCOMPARE(frame()->windowTitle(), QStringLiteral("Untitled - Ondrava"));
    QCOMPARE(frame()->Pane(ID_SEPARATOR)->text(), QStringLiteral("就绪"));
    QCOMPARE(frame()->Pane(ID_INDICATOR_IMAGESIZE)->text(), QStringLiteral("没有数据　　"));
    for (const UINT lock : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL})
        QVERIFY(frame()->Pane(lock));
    // Each capture prompt names its own hotkey.
    QCOMPARE(frame()->CommandAction(ID_CAPTURE_REGION)->statusTip(),
             QStringLiteral("抓取区域 (Control + Shift + 0)"));
    QCOMPARE(frame()->CommandAction(ID_CAPTURE_WINDOW)->statusTip(),
             QStringLiteral("抓取顶层窗口 (Control + Shift + 9)"));
    QCOMPARE(frame()->CommandAction(ID_CAPTURE_DESKTOP)->statusTip(),
             QStringLiteral("抓取桌面 (Control + Shift + 8)"));
    QCOMPARE(frame()->CommandAction(ID_CAPTURE_DESKTOP)->toolTip(), QStringLiteral("抓取桌面"));
    // The pixel-info window exists, hidden.
    QVERIFY(AfxGetApp()->m_dlgInfo.window());
    QVERIFY(!AfxGetApp()->m_dlgInfo.window()->isVisible());
    QVERIFY(!AfxGetApp()->m_strAppDir.endsWith('/'));
    QVERIFY(!AfxGetApp()->m_strAppDir.isEmpty());
}

void TestMainFrame::menusInOrder()
{
    QStringList popups;
    QStringList fileItems;
    const QList<QAction *> bar = frame()->menuBar()->actions();
    for (QAction *popup : bar)
        popups << popup->text();
    QCOMPARE(popups, (QStringList{"文件(&A)", "编辑(&E)", "视图(&V)", "抓图(&S)", "图像处理(&I)",
                                  "帮助(&H)"}));
    for (QAction *item : bar.first()->menu()->actions())
        fileItems << (item->isSeparator() ? QStringLiteral("-") : item->text());
    QCOMPARE(fileItems, (QStringList{"打开(&O)...\tCtrl+O", "保存(&S)\tCtrl+S", "另存为(&A)...",
                                     "-", "打印(&P)...\tCtrl+P", "打印预览(&V)", "打印设置(&R)...",
                                     "-", "最近的文件", "-", "退出(&X)"}));
    QStringList captureItems;
    for (QAction *item : bar.at(3)->menu()->actions())
        captureItems << item->text();
    QCOMPARE(captureItems, (QStringList{"区域\t(Ctrl+Shif+0)", "顶层窗口\t(Ctrl+Shif+9)",
                                        "桌面\t(Ctrl+Shif+8)"}));
    QVERIFY(!frame()->CommandAction(ID_FILE_MRU_FILE1)->isEnabled());
    QCOMPARE(frame()->CommandAction(ID_EDIT_COPY)->shortcuts(),
             (QList<QKeySequence>{QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}));
    QCOMPARE(frame()->CommandAction(ID_FILE_NEW)->shortcut(), QKeySequence("Ctrl+N"));
}

void TestMainFrame::toolbarInOrder()
{
    QStringList tips;
    for (QAction *button : frame()->ToolBar()->actions()) {
        if (button->isSeparator()) {
            tips << QStringLiteral("|");
            continue;
        }
        QVERIFY2(!button->icon().pixmap(32, 32).isNull(), qPrintable(button->toolTip()));
        tips << button->toolTip();
    }
    QCOMPARE(tips, (QStringList{"打开", "保存", "打印", "|", "拷贝", "|", "抓取区域", "抓取桌面",
                                "抓取顶层窗口", "|", "调整大小", "向左旋转", "向右旋转", "水平翻转",
                                "垂直翻转", "|", "关于"}));
    QCOMPARE(frame()->ToolBar()->iconSize(), QSize(32, 32));
}

void TestMainFrame::enableRulesFollowThePicture()
{
    const UINT imageCommands[] = {
        ID_EDIT_COPY,          ID_IMAGE_RESIZE,          ID_IMAGE_ROTATE_LEFT,
        ID_IMAGE_ROTATE_RIGHT, ID_IMAGE_FLIP_HORIZONTAL, ID_IMAGE_FLIP_VERTICAL,
        ID_FILE_PRINT,         ID_FILE_PRINT_PREVIEW};
    const UINT alwaysOn[] = {ID_CAPTURE_REGION, ID_CAPTURE_WINDOW, ID_CAPTURE_DESKTOP, ID_APP_ABOUT,
                             ID_FILE_SAVE};
    for (const UINT id : imageCommands)
        QVERIFY2(!frame()->CommandAction(id)->isEnabled(), qPrintable(QString::number(id)));
    for (const UINT id : alwaysOn)
        QVERIFY(frame()->CommandAction(id)->isEnabled());
    installPicture(64, 48);
    for (const UINT id : {ID_EDIT_COPY, ID_IMAGE_RESIZE, ID_IMAGE_ROTATE_LEFT,
                          ID_IMAGE_ROTATE_RIGHT, ID_IMAGE_FLIP_HORIZONTAL, ID_IMAGE_FLIP_VERTICAL})
        QVERIFY2(frame()->CommandAction(id)->isEnabled(), qPrintable(QString::number(id)));
    doc()->ReleaseImage(TRUE);
    frame()->UpdateCommandUI();
    for (const UINT id : imageCommands)
        QVERIFY(!frame()->CommandAction(id)->isEnabled());
}

void TestMainFrame::close_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("questions");
    QTest::newRow("unchanged: closes without a question")
        << false << int(QMessageBox::Ok) << true << 0;
    QTest::newRow("changed, Cancel: stays") << true << int(QMessageBox::Cancel) << false << 1;
    QTest::newRow("changed, Yes, nothing saved: stays")
        << true << int(QMessageBox::Yes) << false << 1;
    QTest::newRow("changed, No: closes") << true << int(QMessageBox::No) << true << 1;
}

void TestMainFrame::close()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(int, questions);
    installPicture(10, 10);
    doc()->SetModifiedFlag(modified);
    QPointer<CMainFrame> window = frame();
    ModalAnswerer answerer({QMessageBox::StandardButton(answer)});
    window->close();
    QCOMPARE(answerer.texts.size(), questions);
    if (questions) {
        QCOMPARE(answerer.texts.first(), QStringLiteral("是否将当前图像保存到磁盘？"));
        QCOMPARE(answerer.captions.first(), QStringLiteral("Marvu抓图助手"));
    }
    QCOMPARE(AfxGetApp()->m_pMainWnd == nullptr, closes);
    if (closes)
        QTRY_VERIFY(window.isNull()); // destroyed once control returns to the event loop
    else
        QVERIFY(window->isVisible() && doc()->IsModified());
}

void TestMainFrame::newCommandAsksFirst()
{
    installPicture(10, 10);
    doc()->SetTitle(QStringLiteral("shot"));
    {
        ModalAnswerer answerer({QMessageBox::Cancel});
        frame()->CommandAction(ID_FILE_NEW)->trigger();
        QCOMPARE(answerer.texts, QStringList{"Save changes to shot?"});
        QCOMPARE(doc()->GetTitle(), QStringLiteral("shot"));
        QVERIFY(doc()->IsModified());
    }
    ModalAnswerer answerer({QMessageBox::No});
    frame()->CommandAction(ID_FILE_NEW)->trigger();
    QCOMPARE(answerer.texts.size(), 1);
    QCOMPARE(doc()->GetTitle(), QStringLiteral("Untitled"));
    QVERIFY(!doc()->IsModified());
    QVERIFY(doc()->m_bHasImage); // the picture stays on screen
    QCOMPARE(frame()->windowTitle(), QStringLiteral("Untitled - Ondrava"));
}

void TestMainFrame::aboutBox()
{
    ModalAnswerer answerer;
    frame()->CommandAction(ID_APP_ABOUT)->trigger();
    QCOMPARE(answerer.dialogTitles, QStringList{"About Ondrava"});
}

void TestMainFrame::viewTogglesCarryChecks()
{
    QAction *toolbar = frame()->CommandAction(ID_VIEW_TOOLBAR);
    QAction *statusBar = frame()->CommandAction(ID_VIEW_STATUS_BAR);
    QVERIFY(toolbar->isChecked() && statusBar->isChecked());
    toolbar->trigger();
    QVERIFY(frame()->ToolBar()->isHidden());
    QVERIFY(!toolbar->isChecked());
    statusBar->trigger();
    QVERIFY(frame()->statusBar()->isHidden());
    QVERIFY(!statusBar->isChecked());
    toolbar->trigger();
    QVERIFY(!frame()->ToolBar()->isHidden());
    QVERIFY(toolbar->isChecked());
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
