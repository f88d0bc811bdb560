#pragma once
// A draw layer: a camera, a screen rectangle, an opacity and a list of renderables, with
// child layers drawn after it. The graphic device keeps the top-level layers; every frame it
// updates them and renders them. A layer draws its renderables through a sorted draw list:
// opaque ones nearest first, transparent ones farthest first, transparent texts last (under
// an orthographic camera the renderables' sort keys decide).
#include "engine/core/AGArray.h"
#include "engine/core/AGTypes.h"
#include "engine/core/AGVec3.h"
#include "engine/graphics/AGAnimated.h"

class AGRenderable;
class AGRenderer;
class PCCam;

// Set while the game is paused: layers then leave their cameras alone.
extern u8 g_renderPause;

class AGGraphicLayer : public AGAnimated {
public:
    // Distance offsets of the draw-list keys: transparent renderables sort after every
    // opaque one, transparent texts after those.
    static constexpr f32 kTransparentBase = 6000000.0f;

    // Empty, opacity 1, order key 0, disabled; room for 256 renderables.
    AGGraphicLayer();
    AGGraphicLayer(const AGGraphicLayer&) = delete;
    AGGraphicLayer& operator=(const AGGraphicLayer&) = delete;
    ~AGGraphicLayer() override = default;

    // Camera update (unless paused), active renderables (models hanging on others last),
    // then enabled child layers.
    virtual void Update();
    // The layer whose renderables are being updated, or null: renderables that face the
    // camera (particles) take that layer's camera.
    static AGGraphicLayer* UpdatingLayer();
    // Nothing without a camera. Otherwise clips to the layer rectangle, applies the camera
    // when there are renderables, draws the sorted list, then renders enabled child layers.
    // A rectangle wholly off screen draws none of this layer's renderables.
    virtual void Render();
    // Renders the layers in order. A dim (a renderable flagged kDim, the first one found in
    // drawing order) that is a sprite over the whole window of one uniform black picture,
    // alpha blended, is not drawn: everything drawn before it is drawn darkened by its alpha
    // instead, the same picture without a pass over the whole window.
    // Pixels of the window the dim leaves out (a picture placed at 0 lands a pixel on) are
    // given back what the shade took when the dim is reached.
    static void RenderShaded(const AGArray<AGGraphicLayer*>& layers);

    // Stores the controller and hands it to every model and emitter, then to child layers.
    void SetController(AGController* controller) override;

    void AddRenderable(AGRenderable* renderable);
    // Removes the first entry equal to renderable, keeping the order of the rest.
    void RemoveRenderable(AGRenderable* renderable);
    // Replaces the first entry equal to old with renderable; false when old is absent.
    bool ReplaceRenderable(AGRenderable* old, AGRenderable* renderable);
    u32 RenderableCount() const { return m_renderables.Count(); }
    AGRenderable* GetRenderable(u32 index) const { return m_renderables[index]; }

    // The child's parent becomes this layer and its subtree takes this layer's renderer;
    // children are re-sorted when there is more than one.
    void AddChildLayer(AGGraphicLayer* child);
    void ClearChildLayers() { m_children.Clear(); }
    // Takes the child out: its parent is cleared and the later children move down. A layer
    // that is not a child changes nothing.
    void RemoveChildLayer(AGGraphicLayer* child);
    u32 ChildCount() const { return m_children.Count(); }
    AGGraphicLayer* GetChild(u32 index) const { return m_children[index]; }
    AGGraphicLayer* GetParent() const { return m_parent; }
    void SetParent(AGGraphicLayer* parent) { m_parent = parent; }
    // Puts every child, enabled or not, in ascending order of its order key (stable).
    void SortRenderables();

    // When the value changes: every renderable and child layer takes it.
    void SetOpacity(f32 opacity);
    f32 GetOpacity() const { return m_opacity; }
    // The renderer of this layer and its whole subtree.
    void SetGroup(AGRenderer* renderer);
    AGRenderer* GetRenderer() const { return m_renderer; }

    // Sets a camera up for 2D drawing of the whole graphic device: orthographic, one unit a
    // pixel, x to the right and y downwards from the top-left corner of the window, near 1,
    // far 100, looking at z = 0.
    static void SetupScreenCamera(PCCam* camera);

    void SetCamera(PCCam* camera) { m_camera = camera; }
    PCCam* GetCamera() const { return m_camera; }
    void SetPosition(const AGVec3& position) { m_position = position; }
    const AGVec3& GetPosition() const { return m_position; }
    void SetSize(u32 width, u32 height) {
        m_width = width;
        m_height = height;
    }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }
    void SetOrderKey(u32 key) { m_orderKey = key; }
    u32 GetOrderKey() const { return m_orderKey; }
    u32 GetAddedChildCount() const { return m_addedChildren; }
    bool IsEnabled() const { return m_enabled != 0; }
    void SetEnabled(bool enabled) { m_enabled = enabled ? 1 : 0; }

private:
    void DrawList();
    // The first active dim of the enabled subtree, in drawing order, or null.
    AGRenderable* FindDim();

    AGArray<AGGraphicLayer*> m_children{1};
    AGGraphicLayer* m_parent = nullptr;
    AGRenderer* m_renderer = nullptr;
    AGArray<AGRenderable*> m_renderables{1};
    PCCam* m_camera = nullptr;
    AGVec3 m_position;
    AGVec3 m_offset;
    f32 m_opacity = 1.0f;
    u32 m_width = 0;
    u32 m_height = 0;
    u32 m_orderKey = 0;
    u32 m_addedChildren = 0;
    u8 m_enabled = 0;
    // The sorted draw list of the last Render.
    AGArray<AGRenderable*> m_drawOrder{-1};
};
