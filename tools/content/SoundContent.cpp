#include "tools/content/Generators.h"

namespace content {

void GenerateSounds(Output&) {}
void GenerateVideos(Output&) {}

}  // namespace content
