#include "CHogVideo.h"

#include "platform/media/MediaLibrary.h"

#include <cstdlib>

CHogVideo::CHogVideo()
{
    if (FAILED(MediaLibrary::Initialize())) {
        ReleaseAll();
        return;
    }
    m_bComInitialized = true;
    m_pGraph = PlaybackGraph::Create();
    if (!m_pGraph) {
        ReleaseAll();
        return;
    }
    m_pControl = m_pGraph;
    m_pVideoWindow = m_pGraph;
    m_pEvent = m_pGraph;
}

CHogVideo::~CHogVideo()
{
    StopPlayback();
    if (m_pEvent) {
        long eventCode = 0;
        m_pEvent->WaitForCompletion(-1, &eventCode);
    }
    ReleaseAll();
}

void CHogVideo::SetFileName(const char *path)
{
    const size_t length = std::mbstowcs(nullptr, path, 0);
    if (length == size_t(-1) || length >= size_t(MAX_PATH))
        m_szFileName[0] = L'\0';
    else
        std::mbstowcs(m_szFileName, path, MAX_PATH);
}

BOOL CHogVideo::StartPlayback()
{
    if (!m_pGraph && !m_pControl && !m_pVideoWindow)
        return FALSE;
    StopPlayback();
    if (FAILED(m_pGraph->RenderFile(m_szFileName)))
        return FALSE;
    const HRESULT run = m_pControl->Run();
    m_pVideoWindow->put_WindowState(SW_HIDE);
    m_pVideoWindow->put_AutoShow(OAFALSE);
    m_pVideoWindow->put_Visible(OAFALSE);
    m_pVideoWindow->put_Top(-100);
    m_pVideoWindow->put_Left(-100);
    m_pVideoWindow->put_Width(0);
    m_pVideoWindow->put_Height(0);
    if (FAILED(run))
        return FALSE;
    m_pControl->Pause();
    return TRUE;
}

BOOL CHogVideo::StopPlayback()
{
    if (!m_pControl)
        return FALSE;
    m_pControl->Stop();
    return TRUE;
}

void CHogVideo::ReleaseAll()
{
    StopPlayback();
    m_pEvent.reset();
    m_pVideoWindow.reset();
    m_pControl.reset();
    m_pGraph.reset();
    if (m_bComInitialized) {
        MediaLibrary::Uninitialize();
        m_bComInitialized = false;
    }
}
