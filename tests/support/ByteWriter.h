#pragma once
// The shared writer lives with the authoring tools.
#include "tools/authoring/ByteWriter.h"
