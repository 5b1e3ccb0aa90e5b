#pragma once

#include "platform/gdi/WinTypes.h"

#include <QImage>
#include <QString>

// Writes pictures to files in the format their name's extension names. A file is written
// whole or not at all: the picture goes to a temporary file beside the target, which replaces
// the target (keeping its permissions) only once complete.
class ImageFile {
public:
    // S_OK, E_FAIL (no encoder for the extension, an empty picture), or the Windows-style code
    // of the file system's failure.
    static HRESULT save(const QImage &image, const QString &path);
    // The code's message text, as the system words it.
    static QString errorText(HRESULT code);
};
