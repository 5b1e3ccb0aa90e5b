#pragma once

#include "platform/gdi/WinTypes.h"

#include <memory>

typedef struct _GstElement GstElement;

// The graph's states.
enum OAFilterState : long { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

inline constexpr HRESULT E_ABORT = HRESULT(0x80004004);
// Waiting for completion on a graph that is not running.
inline constexpr HRESULT VFW_E_WRONG_STATE = HRESULT(0x80040227);
// A state change still under way when GetState's time ran out.
inline constexpr HRESULT VFW_S_STATE_INTERMEDIATE = 0x00040237;
// Event codes that end a wait for completion.
inline constexpr long EC_COMPLETE = 1;
inline constexpr long EC_ERRORABORT = 3;
inline constexpr long SW_HIDE = 0;
inline constexpr long OAFALSE = 0;

// A media playback graph on GStreamer's playbin: a file rendered by name, run, paused and
// stopped, with its control, event and video-window operations. The video output never reaches
// the screen: frames go to a sink without a window, so no window ever appears, and the window
// settings are only recorded. Sound goes nowhere either. Decoding and clock threads are
// GStreamer's own; every call here comes from one thread.
class PlaybackGraph {
public:
    // A new, stopped graph with nothing rendered; null when GStreamer cannot make one.
    static std::shared_ptr<PlaybackGraph> Create();
    PlaybackGraph(const PlaybackGraph &) = delete;
    PlaybackGraph &operator=(const PlaybackGraph &) = delete;
    ~PlaybackGraph();

    // Builds the playback of the media file `fileName` (a full path) and leaves the graph
    // stopped. Fails when the file is missing, is not media or cannot be decoded.
    HRESULT RenderFile(const wchar_t *fileName);

    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();
    // The state the graph is in, waiting up to `msTimeout` for a change under way;
    // VFW_S_STATE_INTERMEDIATE when it has not settled by then.
    HRESULT GetState(long msTimeout, OAFilterState *state);

    // Waits until a running graph reaches the end of the file (EC_COMPLETE) or fails
    // (EC_ERRORABORT), at most `msTimeout` (-1: no limit, then E_ABORT). A graph that is not
    // running answers at once with VFW_E_WRONG_STATE.
    HRESULT WaitForCompletion(long msTimeout, long *eventCode);

    // The video window's settings.
    struct VideoWindow {
        long windowState = 1; // SW_SHOWNORMAL
        long autoShow = -1;   // OATRUE
        long visible = -1;
        long left = 0;
        long top = 0;
        long width = 0;
        long height = 0;
    };
    HRESULT put_WindowState(long value) { return Record(m_window.windowState, value); }
    HRESULT put_AutoShow(long value) { return Record(m_window.autoShow, value); }
    HRESULT put_Visible(long value) { return Record(m_window.visible, value); }
    HRESULT put_Left(long value) { return Record(m_window.left, value); }
    HRESULT put_Top(long value) { return Record(m_window.top, value); }
    HRESULT put_Width(long value) { return Record(m_window.width, value); }
    HRESULT put_Height(long value) { return Record(m_window.height, value); }
    const VideoWindow &videoWindow() const { return m_window; }

private:
    explicit PlaybackGraph(GstElement *playbin);
    HRESULT ChangeState(int state);
    static HRESULT Record(long &setting, long value)
    {
        setting = value;
        return S_OK;
    }
    void FlushEvents();

    GstElement *m_playbin;
    OAFilterState m_target = State_Stopped;
    VideoWindow m_window;
};
