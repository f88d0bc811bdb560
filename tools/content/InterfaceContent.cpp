#include "tools/content/Generators.h"

namespace content {

void GenerateMenuXml(Output&) {}
void GenerateInterfaceArt(Output&) {}

}  // namespace content
