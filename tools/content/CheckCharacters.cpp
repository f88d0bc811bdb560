// Checks of assemblies, looks, awards and avatar art.
#include "tools/content/Checker.h"

namespace content {

void CheckCharacters(Checker& /*checker*/) {}

}  // namespace content
