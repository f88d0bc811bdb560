// Checks of cue sounds, question voices, sound descriptors and clips.
#include "tools/content/Checker.h"

namespace content {

void CheckSounds(Checker& /*checker*/) {}

}  // namespace content
