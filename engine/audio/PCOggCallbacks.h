#pragma once
// The read, seek and tell callbacks through which libvorbisfile reads a sound's data: from
// memory for sounds, from a stream window (PCStreamWindow) for streams. The decoder never
// closes its source: the player does.
#include <vorbis/vorbisfile.h>

#include "engine/core/AGTypes.h"

// A read cursor over bytes held elsewhere.
struct PCMemorySource {
    const u8* base = nullptr;
    u64 position = 0;
    u64 size = 0;
};

// Data source: a PCMemorySource. Seeks outside [0, size] fail.
ov_callbacks PCMemoryCallbacks();
// Data source: a PCStreamWindow.
ov_callbacks PCStreamCallbacks();
