#include "tests/support/LogCapture.h"

#include "engine/core/AGLog.h"

LogCapture::LogCapture() {
    AGSetLogSink(&LogCapture::Sink, this);
}

LogCapture::~LogCapture() {
    AGSetLogSink(nullptr, nullptr);
}

bool LogCapture::Contains(const std::string& text) const {
    for (const auto& line : m_lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

void LogCapture::Sink(void* context, const char* line) {
    static_cast<LogCapture*>(context)->m_lines.emplace_back(line);
}
