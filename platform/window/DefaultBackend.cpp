#include "platform/window/WindowBackend.h"

namespace platform::window {

// No system window backend is built in yet.
Backend* CreateDefaultBackend() {
    return nullptr;
}

}  // namespace platform::window
