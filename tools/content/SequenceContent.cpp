#include "tools/content/Generators.h"

namespace content {

void GenerateSequences(Output&) {}

}  // namespace content
