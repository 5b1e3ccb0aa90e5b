#pragma once

#include "GdiObject.h"
#include "WinTypes.h"

// A solid cosmetic pen: every line it draws is one device pixel wide.
class Pen final : public GdiObject {
public:
    Pen(COLORREF color, Lifetime lifetime = Lifetime::Owned)
        : GdiObject(Type::Pen, lifetime), m_color(color)
    {
    }

    COLORREF color() const { return m_color; }

    // What a new device context starts with: the black pen.
    static Pen *stock();

private:
    COLORREF m_color;
};

inline Pen *Pen::stock()
{
    static Pen *const object = new Pen(RGB(0, 0, 0), Lifetime::Stock);
    return object;
}
