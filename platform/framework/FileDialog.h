#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// File dialogs built from filter strings in the "label|patterns|label|patterns||" form, the
// patterns separated by semicolons and matched without regard to case.
class FileDialog {
public:
    // The full path chosen, or an empty string when the user cancelled. The file must exist.
    static QString getOpenFileName(QWidget *owner, const QString &filter);
    // Asks before replacing an existing file; `defaultSuffix` is added to a name typed without one.
    static QString getSaveFileName(QWidget *owner, const QString &filter,
                                   const QString &defaultSuffix, const QString &initialName,
                                   const QString &title = QString());
    // The filter string as Qt's name filters: the label as shown, each pattern in both cases.
    static QStringList nameFilters(const QString &filter);
};
