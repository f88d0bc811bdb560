#pragma once
// The game's program object: title, window defaults and the main loop's game context.
#include "engine/core/AGProgram.h"

namespace QZ2011 {

class QZ2011Prog : public AGProgram {
public:
    constexpr QZ2011Prog() = default;

    void Run() override;
    const char* GetTitle() const override { return "Tallyvox"; }
    // 800 x 600, full screen with multisampling and a hidden cursor, settings persistent.
    void GetDefaultSettings(u32* width, u32* height, u32* flags) const override;
};

extern QZ2011Prog g_QZ2011Prog;

}  // namespace QZ2011
