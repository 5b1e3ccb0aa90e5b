// Keeps a copied picture on the X clipboard after Ondrava has exited, when no clipboard manager
// took it: owns the CLIPBOARD selection and serves the picture as image/png and image/bmp until
// another program takes the clipboard. Started detached, with a file that holds the two encodings
// (each a 32-bit little-endian length and the bytes), which it removes once read.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_atom_t intern(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

bool take(const std::string &data, size_t &at, std::string &out)
{
    if (at + 4 > data.size())
        return false;
    uint32_t size = 0;
    std::memcpy(&size, data.data() + at, 4);
    at += 4;
    if (at + size > data.size())
        return false;
    out = data.substr(at, size);
    at += size;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    std::ifstream file(argv[1], std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::remove(argv[1]);
    std::string png, bmp;
    size_t at = 0;
    if (!take(data, at, png) || !take(data, at, bmp))
        return 1;

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t clipboard = intern(c, "CLIPBOARD");
    const xcb_atom_t targets = intern(c, "TARGETS");
    const xcb_atom_t imagePng = intern(c, "image/png");
    const xcb_atom_t imageBmp = intern(c, "image/bmp");
    xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    const bool owned = owner && owner->owner == window;
    free(owner);
    if (!owned)
        return 1;

    while (xcb_generic_event_t *event = xcb_wait_for_event(c)) {
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_SELECTION_CLEAR) {
            free(event);
            break; // another program has the clipboard now
        }
        if (type == XCB_SELECTION_REQUEST) {
            auto *request = reinterpret_cast<xcb_selection_request_event_t *>(event);
            xcb_atom_t property = request->property ? request->property : request->target;
            if (request->target == targets) {
                const xcb_atom_t offered[] = {targets, imagePng, imageBmp};
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                    XCB_ATOM_ATOM, 32, 3, offered);
            } else if (request->target == imagePng || request->target == imageBmp) {
                const std::string &bytes = request->target == imagePng ? png : bmp;
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, property,
                                    request->target, 8, uint32_t(bytes.size()), bytes.data());
            } else {
                property = XCB_ATOM_NONE;
            }
            xcb_selection_notify_event_t notify{};
            notify.response_type = XCB_SELECTION_NOTIFY;
            notify.time = request->time;
            notify.requestor = request->requestor;
            notify.selection = request->selection;
            notify.target = request->target;
            notify.property = property;
            xcb_send_event(c, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char *>(&notify));
            xcb_flush(c);
        }
        free(event);
    }
    xcb_disconnect(c);
    return 0;
}
