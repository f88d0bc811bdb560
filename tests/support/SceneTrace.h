#pragma once
// What the graphic device would draw, as text: one line per layer (enabled, opacity, place,
// size, order, camera) and one per renderable in it (type, flags, colour, sort key, world
// place, the type's own state and a digest of its vertices). Then what the audio manager
// plays: its volumes and one line per sound and stream (name, state, category, volume).
// Numbers are rounded to 1/64 so that the lines do not depend on the build's floating-point
// details.
//
// A SceneTrace keeps the last description and, at each Capture, appends the lines that
// changed (keyed by their place in the layer tree) to its log, stamped with the time given;
// the lines that changed only in their vertex digest make one "moved" line with a digest.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/graphics/AGBitmap.h"

class AGGraphicDevice;

namespace scene {

// Given frame pictures (a capture scaled to a few cells), it also logs the latest one every
// two seconds, as a "picture" line of the cells' colours in hex.
class SceneTrace : public AGBitmapReceiver {
public:
    void Capture(const AGGraphicDevice& device, uint64_t timeMs);
    void ReceiveBitmap(const AGBitmap& bitmap) override;
    const std::vector<std::string>& Log() const { return m_Log; }

private:
    std::map<std::string, std::string> m_Last;
    std::vector<std::string> m_Log;
    std::string m_Picture;
    uint64_t m_NextPictureMs = 0;
};

// Compares the log with the golden file (one line each; picture cells may differ by a few
// levels, which the software renderers of two machines can); on a difference, the first lines
// that differ. With TALLYVOX_UPDATE_GOLDEN=1 in the environment the file is rewritten instead:
// record through ctest, which runs each test in a process of its own (the game's singletons
// outlive a test).
std::string CompareWithGolden(const std::vector<std::string>& log, const std::string& goldenPath);

}  // namespace scene
