// Entry point: start the engine, run the game's program, shut down.
#include <string>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGApplication.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/graphics/PCGraphicsStartup.h"
#include "engine/video/PCVideoPlayer.h"
#include "game/QZ2011Prog.h"
#include "gameservices/widget/WidgetReplayScreen.h"
#include "platform/window/Replay.h"

namespace {

// The process command line as one text, as the engine's argument splitter expects it.
std::string JoinCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (i > 0)
            line += ' ';
        if (arg.find(' ') != std::string::npos)
            line += '"' + arg + '"';
        else
            line += arg;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    SplitCommandLine(AGApplication::Arguments(), JoinCommandLine(argc, argv).c_str());
    AGProgram::SetInstance(&QZ2011::g_QZ2011Prog);
    AGAudioManager::s_implFactory = &CreatePCAudioManagerImpl;
    AGVideoPlayer::s_implFactory = &CreatePCVideoPlayer;
    InstallGraphicsStartup();
    // A replay's "when" lines ask the widgets.
    static const GameServices::Widget::WidgetReplayScreen replayScreen;
    platform::window::SetReplayScreen(&replayScreen);

    AGApplication& application = AGApplication::Get();
    AGApplicationImpl* impl = application.GetImpl();
    int status = 1;
    if (impl && impl->Initialize()) {
        RegisterSoundProvider(AGResourceManager::Get());
        QZ2011::g_QZ2011Prog.Run();
        status = AGFatalErrorRaised() || platform::window::ReplayFailed() ? 1 : 0;
    }
    if (impl)
        impl->Shutdown();
    application.Release();
    return status;
}
