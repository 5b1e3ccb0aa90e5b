#include "ScreenGrabber.h"

#include "X11Connection.h"

#include <memory>
#include <sys/ipc.h>
#include <sys/shm.h>

ScreenGrabber *ScreenGrabber::instance()
{
    // One per run: the segment is reused by every grab and goes with the process.
    static ScreenGrabber *const grabber = []() -> ScreenGrabber * {
        xcb_connection_t *connection = x11Connection();
        return connection ? new ScreenGrabber(connection) : nullptr;
    }();
    return grabber;
}

ScreenGrabber::ScreenGrabber(xcb_connection_t *connection) : m_connection(connection)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(setup).data;
    m_root = screen->root;
    m_screen = QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    // Pixels must arrive as 32-bit B, G, R, X words, the layout of our bitmaps.
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == screen->root_depth)
            m_truecolour32 = it.data->bits_per_pixel == 32 && screen->root_depth >= 24;
    }
    const xcb_query_extension_reply_t *shm = xcb_get_extension_data(connection, &xcb_shm_id);
    m_shm = shm && shm->present;
}

ScreenGrabber::Segment *ScreenGrabber::takeSegment(size_t bytes)
{
    for (const auto &segment : m_segments) {
        if (!segment->inUse && segment->size >= bytes) {
            segment->inUse = true;
            return segment.get();
        }
    }
    if (!m_shm)
        return nullptr;
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return nullptr;
    void *memory = shmat(id, nullptr, 0);
    const xcb_shm_seg_t segment = xcb_generate_id(m_connection);
    xcb_generic_error_t *error =
        memory == reinterpret_cast<void *>(-1)
            ? nullptr
            : xcb_request_check(m_connection,
                                xcb_shm_attach_checked(m_connection, segment, uint32_t(id), 0));
    // Marked for removal now: it disappears once both sides have let go of it.
    shmctl(id, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void *>(-1) || error) {
        free(error);
        if (memory != reinterpret_cast<void *>(-1))
            shmdt(memory);
        m_shm = false; // a server that cannot reach our memory (a remote display) never will
        return nullptr;
    }
    m_segments.push_back(
        std::make_unique<Segment>(Segment{segment, static_cast<uchar *>(memory), bytes, true}));
    return m_segments.back().get();
}

ScreenGrabber::Segment *ScreenGrabber::segmentOf(const uchar *pixels)
{
    for (const auto &segment : m_segments) {
        if (segment->inUse && segment->memory == pixels)
            return segment.get();
    }
    return nullptr;
}

QImage ScreenGrabber::allocate(QSize size)
{
    if (!m_truecolour32 || size.isEmpty())
        return {};
    Segment *segment = takeSegment(size_t(size.width()) * size.height() * 4);
    if (!segment)
        return {};
    // The segment goes back to the pool when the last image sharing these pixels is gone.
    return QImage(
        segment->memory, size.width(), size.height(), qsizetype(size.width()) * 4,
        QImage::Format_RGB32, [](void *info) { static_cast<Segment *>(info)->inUse = false; },
        segment);
}

bool ScreenGrabber::shmGetImage(const Segment &segment, const QRect &visible)
{
    Reply<xcb_shm_get_image_reply_t> reply(
        xcb_shm_get_image_reply(m_connection,
                                xcb_shm_get_image(m_connection, m_root, int16_t(visible.x()),
                                                  int16_t(visible.y()), uint16_t(visible.width()),
                                                  uint16_t(visible.height()), ~0u,
                                                  XCB_IMAGE_FORMAT_Z_PIXMAP, segment.id, 0),
                                nullptr),
        &free);
    return reply != nullptr;
}

const uchar *ScreenGrabber::fetch(const QRect &visible, Segment *&staging,
                                  Reply<xcb_get_image_reply_t> &reply)
{
    staging = takeSegment(size_t(visible.width()) * visible.height() * 4);
    if (staging && shmGetImage(*staging, visible))
        return staging->memory;
    reply.reset(xcb_get_image_reply(m_connection,
                                    xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root,
                                                  int16_t(visible.x()), int16_t(visible.y()),
                                                  uint16_t(visible.width()),
                                                  uint16_t(visible.height()), ~0u),
                                    nullptr));
    if (!reply || size_t(xcb_get_image_data_length(reply.get())) <
                      size_t(visible.width()) * visible.height() * 4)
        return nullptr;
    return xcb_get_image_data(reply.get());
}

bool ScreenGrabber::grab(const QRect &area, QImage &dst, QPoint to)
{
    if (!m_truecolour32 || !QRect(to, area.size()).isValid() ||
        !dst.rect().contains(QRect(to, area.size())))
        return false;
    const QRect visible = area & m_screen;
    // The whole of an image in shared memory, all on the screen: the server writes it directly.
    if (visible == area && to == QPoint(0, 0) && dst.size() == area.size() && dst.isDetached()) {
        if (Segment *segment = segmentOf(dst.constBits()))
            return shmGetImage(*segment, visible);
    }
    if (visible != area) {
        for (int y = 0; y < area.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb *>(dst.scanLine(to.y() + y)) + to.x(), area.width(),
                        0xFF000000u);
    }
    if (visible.isEmpty())
        return true;
    Segment *staging = nullptr;
    Reply<xcb_get_image_reply_t> reply(nullptr, &free);
    const uchar *pixels = fetch(visible, staging, reply);
    if (pixels) {
        // The server leaves the fourth byte undefined; our pixels keep it at 0xFF.
        const QPoint at = to + (visible.topLeft() - area.topLeft());
        const int width = visible.width();
        uchar *base = dst.bits();
        const qsizetype stride = dst.bytesPerLine();
        for (int y = 0; y < visible.height(); ++y) {
            const auto *s = reinterpret_cast<const QRgb *>(pixels) + qsizetype(y) * width;
            auto *d = reinterpret_cast<QRgb *>(base + (at.y() + y) * stride) + at.x();
            for (int x = 0; x < width; ++x)
                d[x] = s[x] | 0xFF000000u;
        }
    }
    if (staging)
        staging->inUse = false;
    return pixels != nullptr;
}
