#pragma once
// What the entity model asks of the presentation side, implemented there: pushing a prop's
// opacity, visibility and world matrix to its renderable, and the highlight of the game's
// team-member prop.
namespace GameServices::Entities {

class Prop;

class IPropRenderableUpdater {
public:
    virtual ~IPropRenderableUpdater() = default;
    virtual void UpdatePropRenderable(Prop& prop) = 0;
};

// The rendering system installs itself; with none installed a refresh does nothing.
void SetPropRenderableUpdater(IPropRenderableUpdater* updater);
void UpdatePropRenderable(Prop& prop);

// Implemented by the game's prop class for a team member on stage.
class IPropHighlight {
public:
    virtual ~IPropHighlight() = default;
    virtual void SetHighlight(bool highlighted) = 0;
};

}  // namespace GameServices::Entities
