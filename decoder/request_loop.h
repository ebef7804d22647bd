#pragma once

#include "modules/media_module.h"

namespace tabulon::decoder {

// The media module's functions, loaded.
struct MediaFunctions {
    TabulonMediaThumbnail* thumbnail = nullptr;
    TabulonMediaFree* free = nullptr;
    TabulonMediaSize* size = nullptr;
    TabulonMediaMetaOpen* metaOpen = nullptr;
    TabulonMediaMetaClose* metaClose = nullptr;
    TabulonMediaMetaValue* metaValue = nullptr;
};

// Answers the requests that come over `channel`, one at a time, until the
// other side closes it; then 0. 1 when the channel fails or a request makes
// no sense: the parent starts another decoder.
int serveRequests(int channel, const MediaFunctions& media);

} // namespace tabulon::decoder
