#include "ImageFile.h"

#include "GifWriter.h"
#include "PngWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <cerrno>

namespace {

// Windows-style codes of the file-system failures a save meets.
constexpr HRESULT kAccessDenied = HRESULT(0x80070005);
constexpr HRESULT kPathNotFound = HRESULT(0x80070003);
constexpr HRESULT kDiskFull = HRESULT(0x80070070);

QByteArray formatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "bmp" || suffix == "dib" || suffix == "rle")
        return "bmp";
    if (suffix == "jpg" || suffix == "jpeg" || suffix == "jpe" || suffix == "jfif")
        return "jpeg";
    if (suffix == "gif")
        return "gif";
    if (suffix == "png")
        return "png";
    if (suffix == "tif" || suffix == "tiff")
        return "tiff";
    return {};
}

HRESULT codeOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return kAccessDenied;
    case ENOENT:
    case ENOTDIR:
        return kPathNotFound;
    case ENOSPC:
    case EDQUOT:
        return kDiskFull;
    default:
        return E_FAIL;
    }
}

} // namespace

HRESULT ImageFile::save(const QImage &image, const QString &path)
{
    const QByteArray format = formatFor(path);
    if (format.isEmpty() || image.isNull())
        return E_FAIL;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return codeOf(errno ? errno : (QFileInfo(path).dir().exists() ? EACCES : ENOENT));
    bool written;
    errno = 0;
    if (format == "gif") {
        written = GifWriter::write(image, &file);
    } else if (format == "png") {
        written = PngWriter::write(image, &file);
    } else {
        QImageWriter writer(&file, format);
        written = writer.write(image);
    }
    // Qt reports a full disk as a resource error; errno may be gone by the time we look.
    auto failure = [&file](int error) {
        if (file.error() == QFileDevice::ResourceError)
            return kDiskFull;
        return error ? codeOf(error) : E_FAIL;
    };
    if (!written || file.error() != QFileDevice::NoError) {
        const HRESULT code = failure(errno);
        file.cancelWriting();
        return code;
    }
    errno = 0;
    if (!file.commit())
        return failure(errno);
    return S_OK;
}

QString ImageFile::errorText(HRESULT code)
{
    switch (code) {
    case E_FAIL:
        return QStringLiteral("Unspecified error");
    case kAccessDenied:
        return QStringLiteral("Access is denied.");
    case kPathNotFound:
        return QStringLiteral("The system cannot find the path specified.");
    case kDiskFull:
        return QStringLiteral("There is not enough space on the disk.");
    default:
        return QString::asprintf("Unknown error 0x%0lX", static_cast<unsigned long>(quint32(code)));
    }
}
