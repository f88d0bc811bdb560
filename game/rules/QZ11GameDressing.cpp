#include "game/rules/QZ11Game.h"

namespace QZ2011 {

void QZ11Game::LoadInGameSequences() {}
void QZ11Game::ApplyStageDressing() {}
void QZ11Game::ApplyInGameStageDressing() {}
void QZ11Game::CollectCrowd(QZ11Game*) {}
bool QZ11Game::IsBoardComplete() { return false; }

const std::array<std::pair<const char*, const char*>, 85>& QZ11Game::InGameSequences() {
    static const std::array<std::pair<const char*, const char*>, 85> table{};
    return table;
}

}  // namespace QZ2011
