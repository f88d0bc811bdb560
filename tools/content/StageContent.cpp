#include "tools/content/Generators.h"

namespace content {

void GenerateStageXml(Output&) {}
void GenerateStage3D(Output&) {}

}  // namespace content
