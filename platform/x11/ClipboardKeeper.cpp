#include "ClipboardKeeper.h"

#include "X11Connection.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryFile>
#include <QtEndian>
#include <cstring>
#include <memory>

namespace {

bool clipboardManagerRuns(xcb_connection_t *c)
{
    const char name[] = "CLIPBOARD_MANAGER";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr), &free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr), &free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

bool ClipboardKeeper::handOver(const QString &helper)
{
    xcb_connection_t *c = x11Connection();
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!c || !clipboard || !clipboard->ownsClipboard() || clipboardManagerRuns(c))
        return false;
    const QMimeData *data = clipboard->mimeData();
    if (!data || !data->hasImage())
        return false;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    QTemporaryFile file;
    file.setAutoRemove(false); // the helper removes it once read
    if (!file.open())
        return false;
    for (const char *format : {"PNG", "BMP"}) {
        const QByteArray bytes = encoded(image, format);
        const quint32 size = qToLittleEndian(quint32(bytes.size()));
        file.write(reinterpret_cast<const char *>(&size), 4);
        file.write(bytes);
    }
    file.close();
    if (!QProcess::startDetached(helper, {file.fileName()})) {
        file.remove();
        return false;
    }
    return true;
}
