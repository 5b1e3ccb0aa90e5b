#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

// Answers the modal message boxes that come up while it lives, in order, with the given buttons,
// and records their captions and texts. Any other modal dialog is closed by rejecting it.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers = {})
        : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        m_timer.start(20);
    }

    QStringList texts;
    QStringList captions;
    QStringList dialogTitles;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            texts << box->text();
            captions << box->windowTitle();
            const QMessageBox::StandardButton answer =
                m_answers.isEmpty() ? QMessageBox::Ok : m_answers.takeFirst();
            if (QAbstractButton *button = box->button(answer))
                button->click();
            else
                box->reject();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            dialogTitles << dialog->windowTitle();
            dialog->reject();
        }
    }

    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};
