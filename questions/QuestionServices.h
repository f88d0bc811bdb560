#pragma once
// What the question bank needs of its neighbours: the player settings' integer attributes
// (where the progress per decade is kept), the game context (current decade, the computer
// family's chosen answer), the saved-game writer, and the global random range. The game
// subsystems implement these; the question bank holds them by pointer and never owns them.
#include "engine/core/AGTypes.h"

namespace QZ2011 {

// The integer custom attributes of the player settings.
class IPlayerSettings {
public:
    virtual ~IPlayerSettings() = default;
    // Adds a name to the settings' list of integer attributes.
    virtual void AddIntegerAttributeName(const char* name) = 0;
    virtual bool HasAttribute(const char* name) const = 0;
    // Leaves value unchanged when the attribute is absent.
    virtual void GetAttributeValue(const char* name, int& value) const = 0;
    // Appends the attribute when it is absent.
    virtual void SetAttributeValue(const char* name, int value) = 0;
};

// Decades as the game context numbers them.
enum Decade : int { kDecade70s = 0, kDecade80s = 1, kDecade90s = 2, kDecade00s = 3, kDecadeCount = 4 };

class IGameContext {
public:
    virtual ~IGameContext() = default;
    virtual int CurrentDecade() const = 0;
    // The computer family's pick: an answer index, or -1 for a wrong answer.
    virtual void SetChosenAnswerIndex(int index) = 0;
};

class ISavedGameWriter {
public:
    virtual ~ISavedGameWriter() = default;
    virtual void WriteSavedGame() = 0;
};

// A draw in [min, max) from the global random state.
using RandomRangeFn = u32 (*)(u32 min, u32 max);

struct QuestionServices {
    IPlayerSettings* settings = nullptr;
    IGameContext* context = nullptr;
    ISavedGameWriter* saves = nullptr;
    RandomRangeFn randomRange = nullptr;
};

}  // namespace QZ2011
