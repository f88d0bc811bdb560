#pragma once
// The log reporter. Every failure message of the system is one printf-style line passed to
// Report of the global reporter. The line is discarded unless a sink is set: standard error
// when TALLYVOX_LOG is set in the environment, or a capturing sink installed by tests.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGTypes.h"

class AGLog {
public:
    virtual ~AGLog() = default;
    virtual void Initialize() = 0;
    virtual void Shutdown() = 0;
    virtual void Report(const char* format, ...) __attribute__((format(printf, 2, 3))) = 0;
};

class PCLog : public AGLog, public AGSingleton<PCLog> {
public:
    void Initialize() override {}
    void Shutdown() override {}
    void Report(const char* format, ...) override __attribute__((format(printf, 2, 3)));
};

// The global reporter: the application's PCLog while it runs. When null, reports go
// straight to the sink, so code outside a running application still reports.
extern AGLog* g_pLogReporter;

// Reports one line through the global reporter (or the sink when there is none).
void AGReport(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where formatted lines go. The default sink writes to stderr when TALLYVOX_LOG is set.
using AGLogSinkFn = void (*)(void* context, const char* line);
void AGSetLogSink(AGLogSinkFn sink, void* context);
void AGLogEmit(const char* line);

// Reports a file or a part the game cannot run without. The line goes through the log and, as
// no player would see it there, to standard error whatever the log settings; the run loop then
// ends and the program exits with a failure status instead of running on an empty screen.
void AGReportFatal(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Whether AGReportFatal was called since the last clear (the run loop clears it as it starts).
bool AGFatalErrorRaised();
void AGClearFatalError();
