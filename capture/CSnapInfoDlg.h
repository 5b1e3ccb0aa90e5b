#pragma once

#include <QWidget>
#include <memory>

// The pixel-info and magnifier window shown during region selection. Its window exists from
// Create() until DestroyWindow() and stays hidden until capture mode shows it.
class CSnapInfoDlg {
public:
    CSnapInfoDlg() = default;
    CSnapInfoDlg(const CSnapInfoDlg &) = delete;
    CSnapInfoDlg &operator=(const CSnapInfoDlg &) = delete;

    bool Create();
    void DestroyWindow() { m_window.reset(); }
    QWidget *window() const { return m_window.get(); }

private:
    std::unique_ptr<QWidget> m_window;
};
