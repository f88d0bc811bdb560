#include "tools/content/Generators.h"

namespace content {

void GenerateCharacterXml(Output&) {}
void GenerateCharacter3D(Output&) {}
void GenerateCharacterArt(Output&) {}

}  // namespace content
