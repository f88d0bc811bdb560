#include "platform/window/WindowShot.h"

#include <png.h>

#include <cstring>
#include <vector>

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>

namespace platform::window {

bool SaveWindowShot(SDL_Window* window, const std::string& path, std::string& why) {
    if (!window || !SDL_GL_GetCurrentContext()) {
        why = "no OpenGL context to read the window from";
        return false;
    }
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    if (width <= 0 || height <= 0) {
        why = "the window has no drawable area";
        return false;
    }
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    GLint readFramebuffer = 0, readBuffer = 0, packAlignment = 4;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    // After a swap the front buffer holds what is shown, except on an X server, where GLX's
    // front buffer holds only what was drawn into it directly (black after swaps); there the
    // swap copies the back buffer out and leaves it as it was.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool x11 = driver && std::strcmp(driver, "x11") == 0;
    glReadBuffer(doubleBuffered && !x11 ? GL_FRONT : GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 3);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    const bool read = glGetError() == GL_NO_ERROR;
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glReadBuffer(GLenum(readBuffer));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(readFramebuffer));
    if (!read) {
        why = "the window's pixels cannot be read";
        return false;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    // GL gives the bottom row first: a negative stride writes it last.
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), -png_int_32(width) * 3, nullptr)) {
        why = std::string("cannot write the picture: ") + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace platform::window
