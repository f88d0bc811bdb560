#include "tools/content/Generators.h"

namespace content {

void GenerateSystem(Output&) {}
void GenerateStrings(Output&) {}

}  // namespace content
