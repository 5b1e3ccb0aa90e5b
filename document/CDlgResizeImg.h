#pragma once

#include "platform/gdi/WinTypes.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// The Resize dialog (template 140): the new width and height, from 1 to 4096, and whether the
// starting size's proportions are kept while either is edited.
class CDlgResizeImg : public QDialog {
    Q_OBJECT

public:
    enum { IDC_WIDTH = 1013, IDC_HEIGHT = 1014, IDC_KEEP_RATIO = 1015 };

    CDlgResizeImg(int width, int height, QWidget *owner);

    // IDOK or IDCANCEL.
    int DoModal();
    // Exchanges the members with the controls: TRUE writes them out, FALSE reads and checks
    // them, reporting the first failure. FALSE when a field failed.
    BOOL UpdateData(BOOL saveAndValidate);

    QLineEdit *WidthEdit() const { return m_width; }
    QLineEdit *HeightEdit() const { return m_height; }
    QCheckBox *KeepRatioBox() const { return m_keepRatio; }

    int m_nWidth;
    int m_nHeight;
    BOOL m_bKeepRatio = TRUE;
    int m_nOrigWidth;
    int m_nOrigHeight;

private:
    void OnEnChangeWidth();
    void OnEnChangeHeight();
    void OnBnClickedKeepRatio();
    void OnOK();
    // The other side for `value` at the starting size's proportions `ratio`: truncated, at least 1.
    static int Scaled(int value, double ratio);

    QLineEdit *m_width;
    QLineEdit *m_height;
    QCheckBox *m_keepRatio;
    bool m_exchanging = false; // notifications of our own writes and reads are ignored
};
