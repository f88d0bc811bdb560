#pragma once
// The game context for tests that keep their files loose under a root path they set: start-up
// mounts no packages and keeps that root.
#include "game/QZ2011GameContext.h"

class LooseFilesContext : public QZ2011GameContext {
protected:
    void MountPackages() override {}
};
