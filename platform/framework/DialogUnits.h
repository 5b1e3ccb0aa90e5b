#pragma once

#include <QFont>
#include <QRect>

// Converts dialog-template positions and sizes from dialog units to pixels: a horizontal unit is
// a quarter of the font's average character width, a vertical unit an eighth of its height, so
// a layout keeps its proportions whatever the font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont &font);

    int x(int units) const { return (units * m_baseX + 2) / 4; }
    int y(int units) const { return (units * m_baseY + 4) / 8; }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(x(left), y(top), x(width), y(height));
    }

private:
    int m_baseX;
    int m_baseY;
};
