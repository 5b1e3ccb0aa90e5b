#pragma once

#include <QPoint>
#include <QString>
#include <vector>

// The resource script's data: string table, menu bar 128, toolbar 128 and accelerator table 128.
namespace ResourceData {

// The string-table entry `id`, or an empty string. A command's entry is its status-bar prompt,
// a line break and its tooltip.
QString string(unsigned id);

struct MenuItem {
    unsigned id; // 0 for a separator
    const char *text;
};

struct Popup {
    const char *text;
    std::vector<MenuItem> items;
};

const std::vector<Popup> &menu();

struct ToolbarButton {
    unsigned id; // 0 for a separator
    const char *icon;
};

const std::vector<ToolbarButton> &toolbar();

struct Accelerator {
    unsigned id;
    const char *keys; // in QKeySequence's portable text
};

const std::vector<Accelerator> &accelerators();

// Cursor 136, the capture-mode target sight: its black pixels in a 32 x 32 cursor, and its hot
// spot.
const std::vector<QPoint> &targetCursorPixels();
QPoint targetCursorHotSpot();

} // namespace ResourceData
