#pragma once
// Registers the providers of the graphics resource classes built so far (model, 2D and skin
// animations, vertex buffers, cameras, textures, texture slots, materials, lights, fonts,
// sprites, texts, the renderer) in place of the placeholders the core registers.
class AGResourceManager;

void RegisterGraphicsProviders(AGResourceManager* manager);
