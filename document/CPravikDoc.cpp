#include "CPravikDoc.h"

#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "platform/framework/AfxMessageBox.h"
#include "res/ResourceData.h"

CPravikDoc::CPravikDoc()
{
    AfxGetApp()->m_pDoc = this;
}

CPravikDoc::~CPravikDoc()
{
    ReleaseImage(TRUE);
}

void CPravikDoc::ReleaseImage(BOOL bAlsoFileImage)
{
    if (!m_bHasImage)
        return;
    SelectObject(m_hMemDC, m_hOldBitmap);
    DeleteDC(m_hMemDC);
    DeleteObject(m_hBitmap);
    if (bAlsoFileImage)
        m_image.Destroy();
    m_bHasImage = FALSE;
    SetModifiedFlag(FALSE);
}

void CPravikDoc::InstallImage(HBITMAP bitmap, SIZE size)
{
    m_hBitmap = bitmap;
    m_sizeImage = size;
    m_hMemDC = CreateCompatibleDC(nullptr);
    m_hOldBitmap = SelectObject(m_hMemDC, m_hBitmap);
    m_bHasImage = TRUE;
}

SIZE CPravikDoc::GetDocSize() const
{
    return {m_sizeImage.cx > 0 ? m_sizeImage.cx + 22 : 1,
            m_sizeImage.cy > 0 ? m_sizeImage.cy + 22 : 1};
}

void CPravikDoc::SetTitle(const QString &title)
{
    m_strTitle = title;
}

BOOL CPravikDoc::OnNewDocument()
{
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    SetTitle(ResourceData::string(AFX_IDS_UNTITLED));
    return TRUE;
}

BOOL CPravikDoc::SaveModified()
{
    if (!IsModified())
        return TRUE;
    const QString name = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
    switch (AfxMessageBox(QStringLiteral("Save changes to %1?").arg(name),
                          MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        OnFileSave();
        return !IsModified();
    default:
        return TRUE;
    }
}

void CPravikDoc::OnFileSave() {}

BITMAPINFO *BuildBitmapInfo(HBITMAP bitmap)
{
    BITMAP bm;
    if (!GetObject(bitmap, sizeof bm, &bm)) {
        AfxMessageBox(QStringLiteral("GetObject error"));
        return nullptr;
    }
    return BuildBitmapInfo(bm);
}

BITMAPINFO *BuildBitmapInfo(const BITMAP &bm)
{
    const WORD product = WORD(bm.bmPlanes * bm.bmBitsPixel);
    const int bits = product == 1    ? 1
                     : product <= 4  ? 4
                     : product <= 8  ? 8
                     : product <= 16 ? 16
                     : product <= 24 ? 24
                                     : 32;
    const std::size_t colours = bits < 24 ? std::size_t(1) << bits : 0;
    auto *info = static_cast<BITMAPINFO *>(
        LocalAlloc(LPTR, sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD)));
    if (!info)
        return nullptr;
    BITMAPINFOHEADER &h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = bm.bmWidth;
    h.biHeight = bm.bmHeight;
    h.biPlanes = bm.bmPlanes;
    h.biBitCount = bm.bmBitsPixel;
    h.biCompression = BI_RGB;
    // Rows padded to whole 32-bit words, counted with the normalised bits per pixel.
    h.biSizeImage = DWORD((qint64(bits) * bm.bmWidth + 31) / 32 * 4 * bm.bmHeight);
    h.biClrUsed = DWORD(colours);
    return info;
}
