#pragma once

#include "platform/gdi/WinTypes.h"
#include "platform/media/PlaybackGraph.h"

#include <memory>

// Keeps a playback of a media file open, paused and out of sight for as long as the object
// lives. Every failure is silent: the rest of the program works the same without it.
class CHogVideo {
public:
    // Builds the playback graph; on any failure the object holds nothing.
    CHogVideo();
    CHogVideo(const CHogVideo &) = delete;
    CHogVideo &operator=(const CHogVideo &) = delete;
    // Stops, waits for the (stopped) graph and releases everything.
    virtual ~CHogVideo();

    // The media file's full path, in the locale's multibyte encoding. A path that does not fit
    // with its terminating zero is not kept: the playback is skipped rather than another file
    // opened.
    void SetFileName(const char *path);
    // TRUE when the file was rendered and the graph ran and was paused, its video hidden.
    BOOL StartPlayback();
    // TRUE when there was a graph to stop.
    BOOL StopPlayback();
    // Stops and releases the graph, and undoes this object's media-library initialisation.
    void ReleaseAll();

    wchar_t m_szFileName[MAX_PATH] = {};
    bool m_bComInitialized = false;
    // Four references to the one graph, by the part of it each serves; all held or all null.
    std::shared_ptr<PlaybackGraph> m_pGraph;
    std::shared_ptr<PlaybackGraph> m_pControl;
    std::shared_ptr<PlaybackGraph> m_pEvent;
    std::shared_ptr<PlaybackGraph> m_pVideoWindow;
};
