#include "CDlgResizeImg.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/DialogUnits.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <climits>
#include <cmath>
#include <optional>

namespace {

constexpr int kMinimum = 1;
constexpr int kMaximum = 4096;

// "%d" as formatted input reads it from at most 63 characters: leading blanks, an optional
// sign, digits; the rest is ignored. Numbers beyond an int are kept beyond the range instead
// of wrapping.
std::optional<int> readInteger(const QString &text)
{
    const QString s = text.left(63);
    int i = 0;
    while (i < s.size() && s[i].isSpace())
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    if (i >= s.size() || s[i] < '0' || s[i] > '9')
        return std::nullopt;
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (s[i].unicode() - '0'), LLONG_MAX / 100);
    value = negative ? -value : value;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

CDlgResizeImg::CDlgResizeImg(int width, int height, QWidget *owner)
    : QDialog(owner), m_nWidth(width), m_nHeight(height), m_nOrigWidth(width), m_nOrigHeight(height)
{
    setWindowTitle(QStringLiteral("Resize"));
    const DialogUnits du(font());
    setFixedSize(du.x(176), du.y(74));
    // Created in template order, which is also the tab order.
    m_width = new QLineEdit(this);
    m_width->setGeometry(du.rect(55, 8, 40, 14));
    m_height = new QLineEdit(this);
    m_height->setGeometry(du.rect(55, 25, 40, 14));
    m_keepRatio = new QCheckBox(QStringLiteral("Preserve aspect ratio"), this);
    m_keepRatio->setGeometry(du.rect(23, 48, 95, 10));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.rect(119, 7, 50, 14));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(du.rect(119, 24, 50, 14));
    (new QLabel(QStringLiteral("Width"), this))->setGeometry(du.rect(23, 11, 20, 8));
    (new QLabel(QStringLiteral("Height"), this))->setGeometry(du.rect(23, 28, 22, 8));
    for (QWidget *w : {static_cast<QWidget *>(m_width), static_cast<QWidget *>(m_height),
                       static_cast<QWidget *>(m_keepRatio), static_cast<QWidget *>(ok),
                       static_cast<QWidget *>(cancel)})
        w->setFocusPolicy(Qt::StrongFocus);
    connect(m_width, &QLineEdit::textChanged, this, [this] {
        if (!m_exchanging)
            OnEnChangeWidth();
    });
    connect(m_height, &QLineEdit::textChanged, this, [this] {
        if (!m_exchanging)
            OnEnChangeHeight();
    });
    connect(m_keepRatio, &QCheckBox::clicked, this, [this] {
        if (!m_exchanging)
            OnBnClickedKeepRatio();
    });
    connect(ok, &QPushButton::clicked, this, &CDlgResizeImg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Opening writes the numbers as they are, in range or not, and never recomputes.
    UpdateData(FALSE);
    m_width->setFocus();
    m_width->selectAll();
}

int CDlgResizeImg::DoModal()
{
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

BOOL CDlgResizeImg::UpdateData(BOOL saveAndValidate)
{
    m_exchanging = true;
    BOOL ok = TRUE;
    if (!saveAndValidate) {
        for (auto [edit, value] : {std::pair{m_width, m_nWidth}, std::pair{m_height, m_nHeight}}) {
            const QString text = QString::number(value);
            if (edit->text() != text)
                edit->setText(text);
        }
        m_keepRatio->setChecked(m_bKeepRatio);
    } else {
        // Both numbers, then the box, then the two range checks; the first failure ends it.
        for (auto [edit, member] :
             {std::pair{m_width, &m_nWidth}, std::pair{m_height, &m_nHeight}}) {
            const std::optional<int> value = readInteger(edit->text());
            if (!value) {
                AfxMessageBox(QStringLiteral("Enter an integer."));
                edit->setFocus();
                edit->selectAll();
                m_exchanging = false;
                return FALSE;
            }
            *member = *value;
        }
        m_bKeepRatio = m_keepRatio->isChecked();
        for (const int value : {m_nWidth, m_nHeight}) {
            if (value < kMinimum || value > kMaximum) {
                AfxMessageBox(QStringLiteral("Enter an integer between %1 and %2.")
                                  .arg(kMinimum)
                                  .arg(kMaximum),
                              MB_ICONEXCLAMATION);
                m_keepRatio->setFocus();
                ok = FALSE;
                break;
            }
        }
    }
    m_exchanging = false;
    return ok;
}

int CDlgResizeImg::Scaled(int value, double ratio)
{
    const double scaled = std::trunc(value * ratio);
    if (!std::isfinite(scaled) || scaled < 1)
        return 1;
    return scaled > INT_MAX ? INT_MAX : int(scaled);
}

void CDlgResizeImg::OnEnChangeWidth()
{
    if (!m_bKeepRatio)
        return;
    UpdateData(TRUE);
    m_nHeight = Scaled(m_nWidth, double(m_nOrigHeight) / m_nOrigWidth);
    UpdateData(FALSE);
}

void CDlgResizeImg::OnEnChangeHeight()
{
    if (!m_bKeepRatio)
        return;
    UpdateData(TRUE);
    m_nWidth = Scaled(m_nHeight, double(m_nOrigWidth) / m_nOrigHeight);
    UpdateData(FALSE);
}

void CDlgResizeImg::OnBnClickedKeepRatio()
{
    UpdateData(TRUE);
}

void CDlgResizeImg::OnOK()
{
    if (UpdateData(TRUE))
        accept();
}
