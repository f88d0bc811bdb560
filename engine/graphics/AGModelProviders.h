#pragma once
// Registers the providers of meshes, models, skins, dynamic vertex buffers, 3D scenes and
// particle emitters (with their device sides) in place of the placeholders the core
// registers.
class AGResourceManager;

void RegisterModelProviders(AGResourceManager* manager);
