#pragma once

#include "capture/CHogVideo.h"
#include "platform/framework/CImage.h"
#include "platform/gdi/WinGdi.h"

#include <QIODevice>
#include <QString>

// The single document: the current picture, as the working bitmap selected into a memory device
// context and as the file image, a second copy of its own; and the title, path name and
// modified flag that the frame, the files and the close prompt use.
class CPravikDoc {
public:
    CPravikDoc();
    CPravikDoc(const CPravikDoc &) = delete;
    CPravikDoc &operator=(const CPravikDoc &) = delete;
    ~CPravikDoc();

    // Frees the working bitmap and its context, and the file image too when asked; clears the
    // modified flag. Does nothing while there is no picture.
    void ReleaseImage(BOOL bAlsoFileImage);
    // Makes `bitmap`, which the document takes over, the working picture in a new memory
    // context. The previous one must have been released; the file image is the caller's.
    void InstallImage(HBITMAP bitmap, SIZE size);
    // The scroll size: the picture plus 22 each way, or 1 where the picture has no extent.
    SIZE GetDocSize() const;

    const QString &GetTitle() const { return m_strTitle; }
    void SetTitle(const QString &title);
    const QString &GetPathName() const { return m_strPathName; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    // The New command: empties the path name and the modified flag; the title becomes
    // "Untitled". The picture stays.
    BOOL OnNewDocument();
    // Asks "Save changes to %1?" when modified; FALSE when the user cancels or the save failed.
    BOOL SaveModified();

    // Open, Save (which always asks for a name, and only when the picture is modified) and
    // Save As.
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // Puts a copy of the working bitmap on the clipboard.
    void CopyToClipboard();
    // Writes the file image to `path` in the format of its extension; on failure says why and
    // changes nothing.
    BOOL OnSaveDocument(const QString &path);
    // The framework's own save, behind the New command's question: to the path name when it
    // names a writable file, else through a "Save As" dialog.
    BOOL DoFileSave();
    // Opens the image file at `path` as the picture, decoded by its content. On failure it says
    // why and the previous picture, its path, title and modified flag stay as they were.
    BOOL OnOpenDocument(const QString &path);
    // The picture part of opening: decodes `source` by its content and makes it the picture
    // and the file image. FALSE, with everything as it was, when it holds no picture.
    BOOL ReadImage(QIODevice &source);

    // The transforms: each replaces the working bitmap with a new one, gives the file image a
    // copy of it and marks the picture modified. They expect a picture.
    BOOL RotateLeft();
    BOOL RotateRight();
    BOOL FlipVertical();
    BOOL FlipHorizontal();
    // Stretches the whole picture onto cx x cy; FALSE with the picture unchanged on failure.
    BOOL ResizeImage(int cx, int cy);

    BOOL m_bHasImage = FALSE;
    HDC m_hMemDC = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    HBITMAP m_hBitmap = nullptr;
    SIZE m_sizeImage = {0, 0};
    CImage m_image;
    // Holds a paused playback of the program directory's "CapVideo.req" while the document lives.
    CHogVideo m_video;
    BOOL m_bDrawCursor = TRUE;

private:
    // Maps the picture onto a new bitmap of `size`: the source's top-left, top-right and
    // bottom-left corners land on the three points.
    BOOL Transform(SIZE size, const POINT (&corners)[3]);

    QString m_strPathName;
    QString m_strTitle;
    BOOL m_bModified = FALSE;
};

// A newly allocated bitmap-information header for `bitmap` (with a colour table below 24 bits),
// freed by the caller with LocalFree; null after "GetObject error".
BITMAPINFO *BuildBitmapInfo(HBITMAP bitmap);
// The same block for a bitmap described by `bm`.
BITMAPINFO *BuildBitmapInfo(const BITMAP &bm);
