#include "CPravikDoc.h"

#include "app/CMainFrame.h"
#include "app/CPravikApp.h"
#include "app/Resource.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/ImageFile.h"
#include "res/ResourceData.h"
#include "view/CPravikView.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <memory>
#include <new>

CPravikDoc::CPravikDoc()
{
    AfxGetApp()->m_pDoc = this;
    m_video.SetFileName(
        (AfxGetApp()->m_strAppDir + QStringLiteral("/CapVideo.req")).toLocal8Bit().constData());
    m_video.StartPlayback();
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
        return DoFileSave();
    default:
        return TRUE;
    }
}

namespace {

const char *const kOpenFilter =
    "图形文件|*.BMP;*.DIB;*.RLE;*.JPG;*.JPEG;*.JPE;*.JFIF;*.GIF;*.PNG;*.TIF;*.TIFF|"
    "JPEG(*.JPG;*.JPEG;*.JPE;*.JFIF)|*.JPG;*.JPEG;*.JPE;*.JFIF|GIF(*.GIF)|*.GIF|PNG (*.PNG)|*.PNG|"
    "TIFF(*.TIF;*.TIFF)|*.TIF;*.TIFF|BMP(*.BMP;*.DIB;*.RLE)|*.BMP;*.DIB;*.RLE||";
const char *const kSaveFilter = "BMP files(*.BMP)|*.BMP|JPEG files (*.JPG)|*.JPG|GIF files "
                                "(*.GIF)|*.GIF|PNG files (*.PNG)|*.PNG|"
                                "TIFF(*.TIF)|*.TIF||";

} // namespace

void CPravikDoc::OnFileOpen()
{
    const QString path =
        FileDialog::getOpenFileName(AfxGetApp()->m_pMainWnd, QString::fromUtf8(kOpenFilter));
    if (!path.isEmpty())
        OnOpenDocument(path);
}

void CPravikDoc::OnFileSave()
{
    if (!IsModified())
        return;
    const QString path =
        FileDialog::getSaveFileName(AfxGetApp()->m_pMainWnd, QString::fromUtf8(kSaveFilter),
                                    QStringLiteral("bmp"), QStringLiteral("*.bmp"));
    if (!path.isEmpty())
        OnSaveDocument(path);
}

void CPravikDoc::OnFileSaveAs()
{
    const QString path =
        FileDialog::getSaveFileName(AfxGetApp()->m_pMainWnd, QString::fromUtf8(kSaveFilter),
                                    QStringLiteral("bmp"), m_strPathName);
    if (!path.isEmpty())
        OnSaveDocument(path);
}

void CPravikDoc::CopyToClipboard()
{
    if (!m_bHasImage)
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        AfxMessageBox(QStringLiteral("error in open clipboard"));
        return;
    }
    // The clipboard keeps pixels of its own: later transforms and captures leave them alone.
    auto *data = new QMimeData;
    data->setImageData(m_hBitmap->image());
    clipboard->setMimeData(data);
}

BOOL CPravikDoc::OnSaveDocument(const QString &path)
{
    const HBITMAP picture = m_image;
    const HRESULT result = ImageFile::save(picture ? picture->image() : QImage(), path);
    if (result != S_OK) {
        AfxMessageBox(QStringLiteral("Save image failed:\n%1 - %2")
                          .arg(QString::number(quint32(result), 16), ImageFile::errorText(result)));
        return FALSE;
    }
    m_strPathName = path;
    SetModifiedFlag(FALSE);
    SetTitle(path);
    return TRUE;
}

BOOL CPravikDoc::DoFileSave()
{
    const QFileInfo target(m_strPathName);
    if (!m_strPathName.isEmpty() && target.isFile() && target.isWritable())
        return OnSaveDocument(m_strPathName);
    const QString path = FileDialog::getSaveFileName(
        AfxGetApp()->m_pMainWnd, QStringLiteral("All Files (*.*)|*.*||"), QString(), m_strTitle,
        QStringLiteral("Save As"));
    if (path.isEmpty() || !OnSaveDocument(path))
        return FALSE;
    // The framework titles what it saved by the file's name.
    SetTitle(QFileInfo(path).fileName());
    return TRUE;
}

BOOL CPravikDoc::ReadImage(QIODevice &source)
{
    // Decoded before anything is released: what is no picture loses nothing.
    QImageReader reader(&source);
    reader.setDecideFormatFromContent(true);
    HBITMAP decoded = Bitmap::fromImage(reader.read(), Bitmap::Kind::DibSection);
    HBITMAP working =
        decoded ? CopyImage(decoded, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION) : nullptr;
    if (!working) {
        DeleteObject(decoded);
        return FALSE;
    }
    ReleaseImage(TRUE);
    m_image.Attach(decoded);
    InstallImage(working, {decoded->width(), decoded->height()});
    return TRUE;
}

BOOL CPravikDoc::OnOpenDocument(const QString &path)
{
    QFile file(path);
    if (!file.exists()) {
        AfxMessageBox(QStringLiteral("%1 was not found.").arg(path), MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        AfxMessageBox(QStringLiteral("Access to %1 was denied.").arg(path), MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!ReadImage(file)) {
        AfxMessageBox(QStringLiteral("%1 cannot be opened as an image.").arg(path),
                      MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_strPathName = path;
    SetModifiedFlag(FALSE);
    SetTitle(path);
    return TRUE;
}

BOOL CPravikDoc::Transform(SIZE size, const POINT (&corners)[3])
{
    CPravikView *view = AfxGetApp()->m_pView;
    HDC memory = CreateCompatibleDC(nullptr);
    HDC screen = view->GetDC();
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    view->ReleaseDC(screen);
    if (!bitmap) {
        // Too large to hold: the picture stays as it was.
        DeleteDC(memory);
        return FALSE;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    PlgBlt(memory, corners, m_hMemDC, 0, 0, m_sizeImage.cx, m_sizeImage.cy, nullptr, 0, 0);
    SelectObject(m_hMemDC, m_hOldBitmap);
    DeleteDC(m_hMemDC);
    DeleteObject(m_hBitmap);
    m_hMemDC = memory;
    m_hBitmap = bitmap;
    m_hOldBitmap = old;
    m_sizeImage = size;
    m_image.Destroy();
    m_image.Attach(CopyImage(m_hBitmap, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG));
    // A changed picture is an unsaved one: Save and the close prompt must know.
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CPravikDoc::RotateLeft()
{
    const LONG w = m_sizeImage.cx, h = m_sizeImage.cy;
    return Transform({h, w}, {{0, w}, {0, 0}, {h, w}});
}

BOOL CPravikDoc::RotateRight()
{
    const LONG w = m_sizeImage.cx, h = m_sizeImage.cy;
    return Transform({h, w}, {{h, 0}, {h, w}, {0, 0}});
}

BOOL CPravikDoc::FlipVertical()
{
    const LONG w = m_sizeImage.cx, h = m_sizeImage.cy;
    return Transform({w, h}, {{0, h}, {w, h}, {0, 0}});
}

BOOL CPravikDoc::FlipHorizontal()
{
    const LONG w = m_sizeImage.cx, h = m_sizeImage.cy;
    return Transform({w, h}, {{w, 0}, {0, 0}, {w, h}});
}

BOOL CPravikDoc::ResizeImage(int cx, int cy)
{
    BITMAPINFO *info = BuildBitmapInfo(m_hBitmap);
    if (!info)
        return FALSE;
    const std::unique_ptr<BITMAPINFO, decltype(&LocalFree)> header(info, &LocalFree);
    std::unique_ptr<unsigned char[]> rows(
        new (std::nothrow) unsigned char[info->bmiHeader.biSizeImage]);
    if (!rows || GetDIBits(m_hMemDC, m_hBitmap, 0, UINT(m_sizeImage.cy), rows.get(), info,
                           DIB_RGB_COLORS) != m_sizeImage.cy) {
        AfxMessageBox(QStringLiteral("error on resize"));
        return FALSE;
    }
    CPravikView *view = AfxGetApp()->m_pView;
    HDC screen = view->GetDC();
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    view->ReleaseDC(screen);
    if (!bitmap) {
        AfxMessageBox(QStringLiteral("error on resize"));
        return FALSE;
    }
    // The memory context stays; only its bitmap is replaced.
    SelectObject(m_hMemDC, m_hOldBitmap);
    DeleteObject(m_hBitmap);
    m_hBitmap = bitmap;
    m_hOldBitmap = SelectObject(m_hMemDC, m_hBitmap);
    DrawDibRealize(AfxGetApp()->m_hDrawDib, m_hMemDC, TRUE);
    DrawDibDraw(AfxGetApp()->m_hDrawDib, m_hMemDC, 0, 0, cx, cy, &info->bmiHeader, rows.get(), 0, 0,
                m_sizeImage.cx, m_sizeImage.cy, DDF_BACKGROUNDPAL);
    m_sizeImage = {cx, cy};
    m_image.Destroy();
    m_image.Attach(CopyImage(m_hBitmap, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG));
    SetModifiedFlag(TRUE);
    return TRUE;
}

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
