#include "tools/content/Generators.h"

namespace content {

void GenerateInterfaceArt(Output&) {}

}  // namespace content
