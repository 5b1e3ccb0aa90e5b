#include "CPravikView.h"

#include "app/CPravikApp.h"

#include <QPaintEvent>
#include <QPainter>

CPravikView::CPravikView()
{
    AfxGetApp()->m_pView = this;
}

void CPravikView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), QColor(100, 100, 100));
}
