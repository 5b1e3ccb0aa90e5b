#include "PlaybackGraph.h"

#include <climits>
#include <cwchar>
#include <gst/gst.h>
#include <string>

namespace {

// How long rendering may take to open the file and decode its first frame.
constexpr GstClockTime kRenderTimeout = 10 * GST_SECOND;

HRESULT resultOf(GstStateChangeReturn change)
{
    switch (change) {
    case GST_STATE_CHANGE_FAILURE:
        return E_FAIL;
    case GST_STATE_CHANGE_ASYNC:
        return S_FALSE;
    default:
        return S_OK;
    }
}

} // namespace

std::shared_ptr<PlaybackGraph> PlaybackGraph::Create()
{
    if (!gst_is_initialized())
        return nullptr;
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        return nullptr;
    for (const char *property : {"video-sink", "audio-sink"}) {
        GstElement *sink = gst_element_factory_make("fakesink", nullptr);
        if (!sink) {
            gst_object_unref(playbin);
            return nullptr;
        }
        // At the file's own pace, as a playback on screen would go.
        g_object_set(sink, "sync", TRUE, nullptr);
        g_object_set(playbin, property, sink, nullptr);
    }
    return std::shared_ptr<PlaybackGraph>(new PlaybackGraph(playbin));
}

PlaybackGraph::PlaybackGraph(GstElement *playbin) : m_playbin(playbin) {}

PlaybackGraph::~PlaybackGraph()
{
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    gst_object_unref(m_playbin);
}

HRESULT PlaybackGraph::RenderFile(const wchar_t *fileName)
{
    std::string path(std::wcslen(fileName) * MB_LEN_MAX + 1, '\0');
    const size_t length = std::wcstombs(path.data(), fileName, path.size());
    if (length == 0 || length == size_t(-1))
        return E_FAIL;
    path.resize(length);
    // Only a regular file: opening a pipe or a device could block for good.
    if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR))
        return E_FAIL;
    gchar *uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (!uri)
        return E_FAIL;
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    g_object_set(m_playbin, "uri", uri, nullptr);
    g_free(uri);
    // The file is rendered once its first frame has been decoded; the graph then stops.
    bool rendered = gst_element_set_state(m_playbin, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    rendered = rendered && gst_element_get_state(m_playbin, nullptr, nullptr, kRenderTimeout) ==
                               GST_STATE_CHANGE_SUCCESS;
    gst_element_set_state(m_playbin, rendered ? GST_STATE_READY : GST_STATE_NULL);
    FlushEvents();
    m_target = State_Stopped;
    return rendered ? S_OK : E_FAIL;
}

HRESULT PlaybackGraph::ChangeState(int state)
{
    return resultOf(gst_element_set_state(m_playbin, GstState(state)));
}

HRESULT PlaybackGraph::Run()
{
    const HRESULT hr = ChangeState(GST_STATE_PLAYING);
    if (!FAILED(hr))
        m_target = State_Running;
    return hr;
}

HRESULT PlaybackGraph::Pause()
{
    const HRESULT hr = ChangeState(GST_STATE_PAUSED);
    if (!FAILED(hr))
        m_target = State_Paused;
    return hr;
}

HRESULT PlaybackGraph::Stop()
{
    const HRESULT hr = ChangeState(GST_STATE_READY);
    FlushEvents();
    m_target = State_Stopped;
    return hr;
}

HRESULT PlaybackGraph::GetState(long msTimeout, OAFilterState *state)
{
    GstState current = GST_STATE_NULL;
    const GstClockTime timeout = msTimeout < 0 ? GST_CLOCK_TIME_NONE : msTimeout * GST_MSECOND;
    switch (gst_element_get_state(m_playbin, &current, nullptr, timeout)) {
    case GST_STATE_CHANGE_FAILURE:
        return E_FAIL;
    case GST_STATE_CHANGE_ASYNC:
        *state = m_target;
        return VFW_S_STATE_INTERMEDIATE;
    default:
        *state = current == GST_STATE_PLAYING  ? State_Running
                 : current == GST_STATE_PAUSED ? State_Paused
                                               : State_Stopped;
        return S_OK;
    }
}

HRESULT PlaybackGraph::WaitForCompletion(long msTimeout, long *eventCode)
{
    if (m_target != State_Running)
        return VFW_E_WRONG_STATE;
    GstBus *bus = gst_element_get_bus(m_playbin);
    GstMessage *message = gst_bus_timed_pop_filtered(
        bus, msTimeout < 0 ? GST_CLOCK_TIME_NONE : msTimeout * GST_MSECOND,
        GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    if (!message)
        return E_ABORT;
    *eventCode = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS ? EC_COMPLETE : EC_ERRORABORT;
    gst_message_unref(message);
    return S_OK;
}

// Messages of a playback that has stopped say nothing about the next one.
void PlaybackGraph::FlushEvents()
{
    GstBus *bus = gst_element_get_bus(m_playbin);
    gst_bus_set_flushing(bus, TRUE);
    gst_bus_set_flushing(bus, FALSE);
    gst_object_unref(bus);
}
