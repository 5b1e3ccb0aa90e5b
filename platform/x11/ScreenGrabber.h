#pragma once

#include <QImage>
#include <QRect>
#include <xcb/shm.h>
#include <xcb/xcb.h>

// Copies what the screen shows into images: through a shared-memory segment (MIT-SHM) that is
// kept for the next grab, or through plain GetImage requests where the extension is missing
// (a remote display).
class ScreenGrabber {
public:
    // Null when the application does not run on X11.
    static ScreenGrabber *instance();

    // The whole screen (the root window: every monitor), in root coordinates.
    QRect screenRect() const { return m_screen; }
    // Copies `area` (root coordinates) into `dst` with its top-left corner at `to`; `dst` must
    // hold the whole area. Pixels of the area off the screen come out black.
    bool grab(const QRect &area, QImage &dst, QPoint to);

private:
    explicit ScreenGrabber(xcb_connection_t *connection);
    bool ensureSegment(size_t bytes);
    const uchar *fetch(const QRect &visible,
                       std::unique_ptr<xcb_get_image_reply_t, decltype(&free)> &reply);

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    QRect m_screen;
    bool m_truecolour32 = false;
    bool m_shm = false;
    xcb_shm_seg_t m_segment = 0;
    uchar *m_memory = nullptr;
    size_t m_size = 0;
};
