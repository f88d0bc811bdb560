#pragma once
// Captures every log line while it lives.
#include <cstddef>
#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& Lines() const { return m_lines; }
    // True when some captured line contains the text.
    bool Contains(const std::string& text) const;
    // The number of captured lines that contain the text.
    size_t Count(const std::string& text) const;
    void Clear() { m_lines.clear(); }

private:
    static void Sink(void* context, const char* line);
    std::vector<std::string> m_lines;
};
