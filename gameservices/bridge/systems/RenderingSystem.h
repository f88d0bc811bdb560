#pragma once
// The drawing side of the bridge: the shared graphic layer under which level, screen and popup
// layers hang, and the lists that widgets and levels keep their engine objects in.
#include <vector>

#include "engine/core/AGTypes.h"

class AGGraphicLayer;
class AGFont;
class AGResource;
class AGSprite;
class AGText;

namespace GameServices::Bridge {

// A widget's sprites, texts and fonts by index (a slot a kind does not fill stays null).
class SpriteList : public std::vector<AGSprite*> {};
class TextList : public std::vector<AGText*> {};
class FontList : public std::vector<AGFont*> {};
// The engine objects a Set made and must give back.
class EngineProviders : public std::vector<AGResource*> {};

class RenderingSystem {
public:
    // Made on first use: a device-sized, enabled layer at the origin with a screen camera (far
    // plane 100) and a renderer as its group, appended to the graphic device's layers.
    static AGGraphicLayer* GetSharedGraphicLayer();
    // Null while none was made.
    static AGGraphicLayer* PeekSharedGraphicLayer();
    // Takes the layer off the device and gives back the layer, its camera and its renderer.
    static void ReleaseSharedGraphicLayer();
    // A resource made by the provider of the type, without a name, in the provider's group;
    // null without the provider.
    static AGResource* CreateResource(u32 typeKey);
    // A loaded resource loses one hold, a clone or made one goes.
    static void GiveBack(u32 typeKey, AGResource* resource);
};

}  // namespace GameServices::Bridge
