#pragma once

#include "platform/gdi/WinTypes.h"

// The media library's initialisation for the calling thread, paired the way COM pairs its own:
// every successful Initialize (S_OK the first time, S_FALSE when already initialised) is undone
// by one Uninitialize. GStreamer itself stays loaded once started: it cannot be started again
// after being shut down, and the capture sound needs it for the whole run.
class MediaLibrary {
public:
    // A negative result when GStreamer cannot start; nothing is to be undone then.
    static HRESULT Initialize();
    static void Uninitialize();
    // Initialisations of this thread not yet undone.
    static int InitCount();
};
