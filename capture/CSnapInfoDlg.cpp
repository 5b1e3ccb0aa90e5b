#include "CSnapInfoDlg.h"

#include "app/CPravikApp.h"
#include "platform/framework/DialogUnits.h"
#include "platform/gdi/WinGdi.h"
#include "platform/gdi/WindowDC.h"
#include "platform/x11/WinUser.h"
#include "view/CPravikView.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>

// The magnifier's picture: a thin-bordered control showing what was last drawn into it.
class MagnifierPicture : public QFrame {
public:
    explicit MagnifierPicture(QWidget *parent) : QFrame(parent)
    {
        setFrameShape(QFrame::Box);
        setLineWidth(1);
    }

    QImage pixels;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.drawImage(contentsRect(), pixels);
    }
};

namespace {
constexpr int kIds[6] = {CSnapInfoDlg::IDC_RED,  CSnapInfoDlg::IDC_GREEN,
                         CSnapInfoDlg::IDC_BLUE, CSnapInfoDlg::IDC_PICTURE,
                         CSnapInfoDlg::IDC_LEFT, CSnapInfoDlg::IDC_RIGHT};
}

CSnapInfoDlg::CSnapInfoDlg() = default;

CSnapInfoDlg::~CSnapInfoDlg() = default;

bool CSnapInfoDlg::Create()
{
    // A bordered popup above everything that never takes the focus from the capture surface. The
    // pointer passes through it, so the view always sees where the pointer is and the window
    // gets out of its way even when the pointer jumps onto it.
    auto *window =
        new QFrame(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint |
                                Qt::WindowTransparentForInput);
    window->setFrameShape(QFrame::Box);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    m_window.reset(window);
    const DialogUnits du(window->font());
    window->setFixedSize(du.x(170), du.y(150));
    auto *group = new QGroupBox(QStringLiteral("鼠标"), window);
    group->setAlignment(Qt::AlignHCenter);
    group->setGeometry(du.rect(5, 6, 159, 42));
    auto label = [&](const char *text, QRect geometry) {
        auto *l = new QLabel(QString::fromUtf8(text), window);
        l->setGeometry(geometry);
        return l;
    };
    m_labels[5] = label("右键：\t取消抓图开始点", du.rect(16, 31, 139, 8));
    m_labels[4] = label("左键：\t设定抓图开始点", du.rect(16, 19, 138, 8));
    label("当前象素", du.rect(12, 61, 44, 8));
    m_labels[0] = label("R: ", du.rect(12, 73, 44, 8));
    m_labels[1] = label("G: ", du.rect(12, 84, 44, 8));
    m_labels[2] = label("B: ", du.rect(12, 95, 44, 8));
    m_picture = new MagnifierPicture(window);
    m_picture->setGeometry(du.rect(58, 50, 106, 97));
    // Tab characters in the hints show as a gap, as in a dialog's static text.
    for (QLabel *hint : {m_labels[4], m_labels[5]})
        hint->setTextFormat(Qt::PlainText);
    UpdateRect();
    return true;
}

void CSnapInfoDlg::DestroyWindow()
{
    m_labels[0] = nullptr;
    m_picture = nullptr;
    m_window.reset();
}

QString CSnapInfoDlg::ControlText(int id) const
{
    for (int i = 0; i < 6; ++i) {
        if (kIds[i] == id && m_labels[i])
            return m_labels[i]->text();
    }
    return {};
}

void CSnapInfoDlg::ShowPixelColour(COLORREF colour)
{
    const int values[3] = {int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF)};
    const char names[3] = {'R', 'G', 'B'};
    for (int i = 0; i < 3; ++i)
        m_labels[i]->setText(QString::asprintf("%c: %.3d/%.2X", names[i], values[i], values[i]));
}

void CSnapInfoDlg::SetMouseHint(int state)
{
    if (state == m_nHintState)
        return;
    if (state == 1) {
        m_labels[4]->setText(QStringLiteral("左键：\t选择开始点"));
        m_labels[5]->setText(QStringLiteral("右键：\t取消抓图任务"));
    } else if (state == 2) {
        m_labels[4]->setText(QStringLiteral("左键：\t选择结束点"));
        m_labels[5]->setText(QStringLiteral("右键：\t重新选择开始点"));
    }
    m_nHintState = state;
}

QRect CSnapInfoDlg::MagnifierSource(int x, int y, SIZE screen)
{
    int cx = x, cy = y;
    if (x - 15 < 0)
        cx = 15;
    if (y - 15 < 0)
        cy = 15;
    if (x + 15 > screen.cx)
        cx = screen.cx - 15;
    if (y + 15 > screen.cy)
        cy = screen.cy - 15;
    return QRect(cx - 15, cy - 15, 30, 30);
}

void CSnapInfoDlg::DrawMagnifier(int x, int y)
{
    CPravikView *view = AfxGetApp()->m_pView;
    if (!m_picture || !view)
        return;
    const QSize size = m_picture->contentsRect().size() * m_picture->devicePixelRatioF();
    if (m_picture->pixels.size() != size)
        m_picture->pixels = QImage(size, QImage::Format_RGB32);
    const QRect source =
        MagnifierSource(x, y, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    WindowDC picture(&m_picture->pixels, {});
    HDC screen = view->GetDC();
    StretchBlt(&picture, 0, 0, size.width(), size.height(), screen, source.x(), source.y(), 30, 30,
               SRCCOPY);
    view->ReleaseDC(screen);
    m_picture->update();
}

const QImage &CSnapInfoDlg::Magnified() const
{
    static const QImage none;
    return m_picture ? m_picture->pixels : none;
}

void CSnapInfoDlg::ShowAt(int x, int y)
{
    if (!m_window)
        return;
    const qreal ratio = m_window->devicePixelRatioF();
    m_window->move(int(x / ratio), int(y / ratio));
    m_window->show();
    m_window->raise();
    UpdateRect();
}

void CSnapInfoDlg::Hide()
{
    if (!m_window)
        return;
    m_window->hide();
    m_window->move(0, 0);
    UpdateRect();
}

void CSnapInfoDlg::UpdateRect()
{
    const qreal ratio = m_window->devicePixelRatioF();
    const QRect r = m_window->frameGeometry();
    const int left = int(r.x() * ratio), top = int(r.y() * ratio);
    m_rcInfo = {left, top, left + int(r.width() * ratio), top + int(r.height() * ratio)};
}
