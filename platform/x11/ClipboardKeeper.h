#pragma once

#include <QString>

// Keeps what this program put on the clipboard there after it exits: when it still owns the
// clipboard and no clipboard manager runs to take the contents, it hands the picture to a
// small detached helper that serves it until another program takes the clipboard.
class ClipboardKeeper {
public:
    // `helper` is the helper program's path. True when the helper was started.
    static bool handOver(const QString &helper);
};
