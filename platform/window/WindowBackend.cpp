#include "platform/window/WindowBackend.h"

namespace platform::window {

namespace {
BackendFactory g_factory = nullptr;
}

Backend* CreateBackend() {
    return g_factory ? g_factory() : CreateDefaultBackend();
}

void SetBackendFactory(BackendFactory factory) {
    g_factory = factory;
}

}  // namespace platform::window
