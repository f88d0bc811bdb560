#pragma once
// The round rules as the phase step calls them at the ends of the reveal and round-won phases.

namespace QZ2011 {

class IRoundRules {
public:
    virtual ~IRoundRules() = default;
    // The round is won: banks the round and plays its sequence.
    virtual void RoundWon() = 0;
    // Reveals the next answer nobody found, or completes the round.
    virtual void RevealNextHiddenAnswer() = 0;
    // Next round, fast money or the end of the match.
    virtual void NextRoundOrEnd() = 0;
};

}  // namespace QZ2011
