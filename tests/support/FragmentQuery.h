#pragma once
// The fragments a frame shades, where GL counts them (GL_ARB_pipeline_statistics_query).
#include <cstring>

#include "platform/gfx/GlHeaders.h"

// Draws the frame and returns the fragments it shaded; -1, without drawing, where GL does not
// count them.
template <typename Frame>
double FragmentsOf(Frame&& frame) {
    auto* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all || !std::strstr(all, "GL_ARB_pipeline_statistics_query"))
        return -1;
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, query);
    frame();
    glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
    GLuint64 fragments = 0;
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &fragments);
    glDeleteQueries(1, &query);
    return double(fragments);
}
