#pragma once

#include <xcb/xcb.h>

// The X server connection the application runs on, or null on any other platform (offscreen
// included, which may answer as X11 without a connection).
xcb_connection_t *x11Connection();
