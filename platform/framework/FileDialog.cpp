#include "FileDialog.h"

#include <QFileDialog>

QStringList FileDialog::nameFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns;
        for (const QString &pattern : parts[i + 1].split(';', Qt::SkipEmptyParts))
            patterns << pattern.toLower() << pattern.toUpper();
        patterns.removeDuplicates();
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return filters;
}

QString FileDialog::getOpenFileName(QWidget *owner, const QString &filter)
{
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(filter));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString FileDialog::getSaveFileName(QWidget *owner, const QString &filter,
                                    const QString &defaultSuffix, const QString &initialName,
                                    const QString &title)
{
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    dialog.setNameFilters(nameFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
