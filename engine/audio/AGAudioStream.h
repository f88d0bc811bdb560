#pragma once
#include "engine/audio/AGAudioSound.h"

// A sound read from disk while it plays.
class AGAudioStream : public AGAudioObject {
public:
    AGAudioStream();
};
