#pragma once

#include <QImage>
#include <QRect>
#include <memory>
#include <vector>
#include <xcb/shm.h>
#include <xcb/xcb.h>

// Copies what the screen shows into images: through shared-memory segments (MIT-SHM) that are
// kept for the next grab, or through plain GetImage requests where the extension is missing
// (a remote display).
class ScreenGrabber {
public:
    // Null when the application does not run on X11.
    static ScreenGrabber *instance();

    // The whole screen (the root window: every monitor), in root coordinates.
    QRect screenRect() const { return m_screen; }
    // A 32-bit image whose pixels lie in memory shared with the X server, so that a grab of the
    // whole image lands in it without a copy; null without MIT-SHM. Its pixels start undefined
    // and its fourth bytes are whatever the server leaves there.
    QImage allocate(QSize size);
    // Copies `area` (root coordinates) into `dst` with its top-left corner at `to`; `dst` must
    // hold the whole area. Pixels of the area off the screen come out black.
    bool grab(const QRect &area, QImage &dst, QPoint to);

private:
    // A shared segment attached on both sides; kept for reuse once its image is gone.
    struct Segment {
        xcb_shm_seg_t id;
        uchar *memory;
        size_t size;
        bool inUse;
    };
    template <class T> using Reply = std::unique_ptr<T, decltype(&free)>;

    explicit ScreenGrabber(xcb_connection_t *connection);
    Segment *takeSegment(size_t bytes);
    Segment *segmentOf(const uchar *pixels);
    bool shmGetImage(const Segment &segment, const QRect &visible);
    const uchar *fetch(const QRect &visible, Segment *&staging,
                       Reply<xcb_get_image_reply_t> &reply);

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    QRect m_screen;
    bool m_truecolour32 = false;
    bool m_shm = false;
    std::vector<std::unique_ptr<Segment>> m_segments;
};
