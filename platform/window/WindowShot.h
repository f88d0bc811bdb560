#pragma once
// The picture a window shows, saved as an RGB PNG (replay shots).
#include <SDL.h>

#include <string>

namespace platform::window {

// Reads the last frame shown in the window through the OpenGL context current on this thread
// (the front buffer of a double-buffered window, its back buffer on an X server, else its only
// buffer) and writes it to path.
// The context's read bindings are left as they were. False with a reason when there is no
// context or the file cannot be written.
bool SaveWindowShot(SDL_Window* window, const std::string& path, std::string& why);

}  // namespace platform::window
