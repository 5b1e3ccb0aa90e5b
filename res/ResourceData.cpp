#include "ResourceData.h"

#include "app/Resource.h"

#include <QHash>

namespace ResourceData {

QString string(unsigned id)
{
    static const QHash<unsigned, const char *> table = {
        {IDR_MAINFRAME, "Ondrava\n\nOndrava\n\n\n图形文件\n图形文件"},
        {AFX_IDS_APP_TITLE, "Marvu抓图助手"},
        {AFX_IDS_IDLEMESSAGE, "就绪"},
        {AFX_IDS_UNTITLED, "Untitled"},
        {ID_INDICATOR_IMAGESIZE, "没有数据　　"},
        {ID_INDICATOR_CAPS, "CAP"},
        {ID_INDICATOR_NUM, "NUM"},
        {ID_INDICATOR_SCRL, "SCRL"},
        {ID_FILE_NEW, "新建\n新建"},
        {ID_FILE_OPEN, "打开\n打开"},
        {ID_FILE_SAVE, "保存\n保存"},
        {ID_FILE_SAVE_AS, "用新名称保存活动文档\n另存为"},
        {ID_FILE_PRINT, "打印\n打印"},
        {ID_FILE_PRINT_PREVIEW, "显示整页\n打印预览"},
        {ID_FILE_PRINT_SETUP, "更改打印机选项和打印选项\n打印设置"},
        {ID_FILE_MRU_FILE1, "打开此文档"},
        {ID_APP_EXIT, "退出应用程序；提示保存文档\n退出"},
        {ID_EDIT_COPY, "拷贝\n拷贝"},
        {ID_VIEW_TOOLBAR, "显示或隐藏工具栏\n切换工具栏"},
        {ID_VIEW_STATUS_BAR, "显示或隐藏状态栏\n切换状态栏"},
        {ID_CAPTURE_REGION, "抓取区域 (Control + Shift + 0)\n抓取区域"},
        {ID_CAPTURE_WINDOW, "抓取顶层窗口 (Control + Shift + 9)\n抓取顶层窗口"},
        {ID_CAPTURE_DESKTOP, "抓取桌面 (Control + Shift + 8)\n抓取桌面"},
        {ID_IMAGE_RESIZE, "调整图片的大小\n调整大小"},
        {ID_IMAGE_ROTATE_LEFT, "向左旋转\n向左旋转"},
        {ID_IMAGE_ROTATE_RIGHT, "向右旋转\n向右旋转"},
        {ID_IMAGE_FLIP_VERTICAL, "垂直翻转\n垂直翻转"},
        {ID_IMAGE_FLIP_HORIZONTAL, "水平翻转\n水平翻转"},
        {ID_APP_ABOUT, "关于\n关于"},
    };
    const char *text = table.value(id);
    return text ? QString::fromUtf8(text) : QString();
}

const std::vector<Popup> &menu()
{
    static const std::vector<Popup> bar = {
        {"文件(&A)",
         {{ID_FILE_OPEN, "打开(&O)...\tCtrl+O"},
          {ID_FILE_SAVE, "保存(&S)\tCtrl+S"},
          {ID_FILE_SAVE_AS, "另存为(&A)..."},
          {0, nullptr},
          {ID_FILE_PRINT, "打印(&P)...\tCtrl+P"},
          {ID_FILE_PRINT_PREVIEW, "打印预览(&V)"},
          {ID_FILE_PRINT_SETUP, "打印设置(&R)..."},
          {0, nullptr},
          {ID_FILE_MRU_FILE1, "最近的文件"},
          {0, nullptr},
          {ID_APP_EXIT, "退出(&X)"}}},
        {"编辑(&E)", {{ID_EDIT_COPY, "复制(&C)\tCtrl+C"}}},
        {"视图(&V)", {{ID_VIEW_TOOLBAR, "工具栏(&T)"}, {ID_VIEW_STATUS_BAR, "状态栏(&S)"}}},
        {"抓图(&S)",
         {{ID_CAPTURE_REGION, "区域\t(Ctrl+Shif+0)"},
          {ID_CAPTURE_WINDOW, "顶层窗口\t(Ctrl+Shif+9)"},
          {ID_CAPTURE_DESKTOP, "桌面\t(Ctrl+Shif+8)"}}},
        {"图像处理(&I)",
         {{ID_IMAGE_RESIZE, "调整大小(&R)"},
          {0, nullptr},
          {ID_IMAGE_ROTATE_LEFT, "向左旋转(&L)"},
          {ID_IMAGE_ROTATE_RIGHT, "向右旋转(&R)"},
          {0, nullptr},
          {ID_IMAGE_FLIP_VERTICAL, "垂直翻转(&V)"},
          {ID_IMAGE_FLIP_HORIZONTAL, "水平翻转(&H)"}}},
        {"帮助(&H)", {{ID_APP_ABOUT, "关于(&A)..."}}},
    };
    return bar;
}

const std::vector<ToolbarButton> &toolbar()
{
    static const std::vector<ToolbarButton> buttons = {
        {ID_FILE_OPEN, "open"},
        {ID_FILE_SAVE, "save"},
        {ID_FILE_PRINT, "print"},
        {0, nullptr},
        {ID_EDIT_COPY, "copy"},
        {0, nullptr},
        {ID_CAPTURE_REGION, "region"},
        {ID_CAPTURE_DESKTOP, "desktop"},
        {ID_CAPTURE_WINDOW, "window"},
        {0, nullptr},
        {ID_IMAGE_RESIZE, "resize"},
        {ID_IMAGE_ROTATE_LEFT, "rotateleft"},
        {ID_IMAGE_ROTATE_RIGHT, "rotateright"},
        {ID_IMAGE_FLIP_HORIZONTAL, "fliphorizontal"},
        {ID_IMAGE_FLIP_VERTICAL, "flipvertical"},
        {0, nullptr},
        {ID_APP_ABOUT, "about"},
    };
    return buttons;
}

const std::vector<Accelerator> &accelerators()
{
    static const std::vector<Accelerator> table = {
        {ID_FILE_NEW, "Ctrl+N"},    {ID_FILE_OPEN, "Ctrl+O"},   {ID_FILE_SAVE, "Ctrl+S"},
        {ID_FILE_PRINT, "Ctrl+P"},  {ID_EDIT_UNDO, "Ctrl+Z"},   {ID_EDIT_CUT, "Ctrl+X"},
        {ID_EDIT_COPY, "Ctrl+C"},   {ID_EDIT_PASTE, "Ctrl+V"},  {ID_EDIT_UNDO, "Alt+Backspace"},
        {ID_EDIT_CUT, "Shift+Del"}, {ID_EDIT_COPY, "Ctrl+Ins"}, {ID_EDIT_PASTE, "Shift+Ins"},
        {ID_NEXT_PANE, "F6"},       {ID_PREV_PANE, "Shift+F6"},
    };
    return table;
}

QPoint targetCursorHotSpot()
{
    return QPoint(15, 16);
}

const std::vector<QPoint> &targetCursorPixels()
{
    // The hot spot and four three-pixel diagonal strokes: a 7 x 7 diamond with open points.
    static const std::vector<QPoint> pixels = [] {
        const QPoint c = targetCursorHotSpot();
        std::vector<QPoint> p{c};
        for (const QPoint quadrant : {QPoint(1, -1), QPoint(1, 1), QPoint(-1, 1), QPoint(-1, -1)}) {
            for (int i = 1; i <= 3; ++i)
                p.push_back(c + QPoint(quadrant.x() * i, quadrant.y() * (4 - i)));
        }
        return p;
    }();
    return pixels;
}

} // namespace ResourceData
