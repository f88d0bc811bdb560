#include "tests/support/LogCapture.h"

#include "engine/core/AGLog.h"

LogCapture::LogCapture() {
    AGSetLogSink(&LogCapture::Sink, this);
}

LogCapture::~LogCapture() {
    AGSetLogSink(nullptr, nullptr);
}

bool LogCapture::Contains(const std::string& text) const { return Count(text) > 0; }

size_t LogCapture::Count(const std::string& text) const {
    size_t n = 0;
    for (const auto& line : m_lines)
        n += line.find(text) != std::string::npos;
    return n;
}

void LogCapture::Sink(void* context, const char* line) {
    static_cast<LogCapture*>(context)->m_lines.emplace_back(line);
}
