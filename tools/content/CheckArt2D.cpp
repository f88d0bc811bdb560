// Checks of images, fonts and widget animations.
#include "tools/content/Checker.h"

namespace content {

void CheckArt2D(Checker& /*checker*/) {}

}  // namespace content
