#include "engine/core/AGLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

AGLog* g_pLogReporter = nullptr;

namespace {

std::atomic<bool> g_fatalError{false};

bool LogGoesToStderr() {
    static const bool toStderr = getenv("TALLYVOX_LOG") != nullptr;
    return toStderr;
}

std::mutex g_sinkLock;
AGLogSinkFn g_sink = nullptr;
void* g_sinkContext = nullptr;

void EmitV(const char* format, va_list args) {
    char line[1024];
    vsnprintf(line, sizeof line, format, args);
    AGLogEmit(line);
}

}  // namespace

void AGSetLogSink(AGLogSinkFn sink, void* context) {
    std::lock_guard<std::mutex> lock(g_sinkLock);
    g_sink = sink;
    g_sinkContext = context;
}

void AGLogEmit(const char* line) {
    std::lock_guard<std::mutex> lock(g_sinkLock);
    if (g_sink) {
        g_sink(g_sinkContext, line);
        return;
    }
    if (LogGoesToStderr())
        fprintf(stderr, "%s\n", line);
}

void PCLog::Report(const char* format, ...) {
    va_list args;
    va_start(args, format);
    EmitV(format, args);
    va_end(args);
}

void AGReport(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (g_pLogReporter == nullptr) {
        EmitV(format, args);
    } else {
        char line[1024];
        vsnprintf(line, sizeof line, format, args);
        g_pLogReporter->Report("%s", line);
    }
    va_end(args);
}

void AGReportFatal(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    AGReport("%s", line);
    bool shown;
    {
        std::lock_guard<std::mutex> lock(g_sinkLock);
        shown = !g_sink && LogGoesToStderr();
    }
    if (!shown)
        fprintf(stderr, "%s\n", line);
    g_fatalError.store(true);
}

bool AGFatalErrorRaised() {
    return g_fatalError.load();
}

void AGClearFatalError() {
    g_fatalError.store(false);
}
