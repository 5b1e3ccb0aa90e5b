#include "MediaLibrary.h"

#include <gst/gst.h>

namespace {
thread_local int initCount = 0;
}

HRESULT MediaLibrary::Initialize()
{
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return E_FAIL;
    return ++initCount == 1 ? S_OK : S_FALSE;
}

void MediaLibrary::Uninitialize()
{
    if (initCount > 0)
        --initCount;
}

int MediaLibrary::InitCount()
{
    return initCount;
}
