#include "CSnapInfoDlg.h"

bool CSnapInfoDlg::Create()
{
    // A frameless tool window above everything that never takes the focus from what it reports on.
    m_window = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint |
                                                      Qt::WindowStaysOnTopHint |
                                                      Qt::WindowDoesNotAcceptFocus);
    m_window->setAttribute(Qt::WA_ShowWithoutActivating);
    return true;
}
