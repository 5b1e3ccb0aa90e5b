#pragma once

#include "platform/gdi/WinGdi.h"

// An image that owns one bitmap, or none.
class CImage {
public:
    CImage() = default;
    CImage(const CImage &) = delete;
    CImage &operator=(const CImage &) = delete;
    ~CImage() { Destroy(); }

    // Takes ownership of `bitmap`, which must not be the bitmap of anything else.
    void Attach(HBITMAP bitmap);
    // Deletes the bitmap, if any.
    void Destroy();

    bool IsNull() const { return m_bitmap == nullptr; }
    int GetWidth() const { return m_bitmap ? m_bitmap->width() : 0; }
    int GetHeight() const { return m_bitmap ? m_bitmap->height() : 0; }
    operator HBITMAP() const { return m_bitmap; }

private:
    HBITMAP m_bitmap = nullptr;
};
