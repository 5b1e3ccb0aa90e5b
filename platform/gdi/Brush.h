#pragma once

#include "GdiObject.h"
#include "WinTypes.h"

class Brush final : public GdiObject {
public:
    Brush(COLORREF color, Lifetime lifetime = Lifetime::Owned)
        : GdiObject(Type::Brush, lifetime), m_color(color)
    {
    }

    COLORREF color() const { return m_color; }

    // What a new device context starts with: the white brush.
    static Brush *stock();

private:
    COLORREF m_color;
};

inline Brush *Brush::stock()
{
    static Brush *const object = new Brush(RGB(255, 255, 255), Lifetime::Stock);
    return object;
}
