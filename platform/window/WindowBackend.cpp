#include "platform/window/WindowBackend.h"

#include <string>

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

bool IsSoftwareRenderer(const char* glRenderer) {
    if (!glRenderer)
        return false;
    std::string lower(glRenderer);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (lower.find(name) != std::string::npos)
            return true;
    return false;
}

}  // namespace platform::window
