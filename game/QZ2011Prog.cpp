#include "game/QZ2011Prog.h"

#include "engine/core/AGApplication.h"
#include "game/QZ2011GameContext.h"

namespace QZ2011 {

constinit QZ2011Prog g_QZ2011Prog;

void QZ2011Prog::Run() {
    QZ2011GameContext context;
    // The program refuses to start on a screen it could not draw.
    context.m_CheckScreenLayouts = true;
    if (AGApplicationImpl* impl = AGApplication::Get().GetImpl())
        impl->Run(context);
}

void QZ2011Prog::GetDefaultSettings(u32* width, u32* height, u32* flags) const {
    *width = 800;
    *height = 600;
    *flags = kSettingMultisampling | 0x80000003u;
}

}  // namespace QZ2011
