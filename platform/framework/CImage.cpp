#include "CImage.h"

void CImage::Attach(HBITMAP bitmap)
{
    Destroy();
    m_bitmap = bitmap;
}

void CImage::Destroy()
{
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = nullptr;
}
