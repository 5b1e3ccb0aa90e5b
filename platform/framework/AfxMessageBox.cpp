#include "AfxMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
QString &appTitle()
{
    static QString title;
    return title;
}
} // namespace

void AfxSetAppTitle(const QString &title)
{
    appTitle() = title;
}

int AfxMessageBox(const QString &text, UINT type)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(appTitle());
    box.setText(text);
    switch (type & 0xF0) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int id;
    };
    std::vector<Choice> choices;
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNOCANCEL:
        choices = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    default:
        choices = {{QMessageBox::Ok, IDOK}};
        break;
    }
    for (const Choice &c : choices)
        box.addButton(c.button);
    box.setDefaultButton(choices.front().button);
    box.setEscapeButton(choices.back().button);
    box.exec();
    const QAbstractButton *clicked = box.clickedButton();
    for (const Choice &c : choices) {
        if (clicked == box.button(c.button))
            return c.id;
    }
    return choices.back().id;
}
