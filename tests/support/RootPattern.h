#pragma once

#include <QImage>
#include <xcb/xcb.h>

// Paints a pattern in which every pixel of a 1920 x 1080 screen differs onto the root window's
// background, and gives the same pattern as an image to compare grabs with.
class RootPattern {
public:
    static QRgb pixel(int x, int y) { return qRgb(x & 0xFF, y & 0xFF, (x >> 8) | (y >> 8) << 4); }

    static QImage image(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, pixel(x, y));
        return image;
    }

    // On the given connection's default screen; the pattern stays until the server ends.
    static void paint(xcb_connection_t *c)
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const int w = screen->width_in_pixels, h = screen->height_in_pixels;
        const xcb_pixmap_t pixmap = xcb_generate_id(c);
        xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, uint16_t(w), uint16_t(h));
        const xcb_gcontext_t gc = xcb_generate_id(c);
        xcb_create_gc(c, gc, pixmap, 0, nullptr);
        const QImage pattern = image(w, h);
        constexpr int kRows = 32; // keeps each request well under the server's limit
        for (int y = 0; y < h; y += kRows) {
            const int rows = std::min(kRows, h - y);
            xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, uint16_t(w), uint16_t(rows), 0,
                          int16_t(y), 0, screen->root_depth,
                          uint32_t(rows * pattern.bytesPerLine()), pattern.constScanLine(y));
        }
        const uint32_t background = pixmap;
        xcb_change_window_attributes(c, screen->root, XCB_CW_BACK_PIXMAP, &background);
        xcb_clear_area(c, 0, screen->root, 0, 0, 0, 0);
        xcb_free_gc(c, gc);
        xcb_free_pixmap(c, pixmap);
        free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // wait until done
    }
};
