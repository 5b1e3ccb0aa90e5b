#include "CAboutDlg.h"

#include "platform/framework/DialogUnits.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Ondrava"));
    const DialogUnits du(font());
    setFixedSize(du.x(235), du.y(55));
    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/res/icons/ondrava.png")).pixmap(32, 32));
    icon->setGeometry(QRect(du.rect(11, 17, 0, 0).topLeft(), QSize(32, 32)));
    auto *version = new QLabel(QStringLiteral("Ondrava Version " ONDRAVA_VERSION), this);
    version->setGeometry(du.rect(40, 10, 119, 8));
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setGeometry(du.rect(178, 7, 50, 16));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}
