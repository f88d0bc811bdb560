#include "platform/window/SdlWindowBackend.h"

namespace platform::window {

Backend* CreateDefaultBackend() {
    return new SdlBackend;
}

}  // namespace platform::window
