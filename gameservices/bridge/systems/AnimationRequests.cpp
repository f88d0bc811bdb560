#include "gameservices/bridge/systems/AnimationRequests.h"

namespace GameServices::Bridge {

namespace {
std::vector<AnimationRequest>& Requests() {
    static std::vector<AnimationRequest> s_requests;
    return s_requests;
}
}  // namespace

void AnimationRequests::Record(const AnimationRequest& request) { Requests().push_back(request); }

const std::vector<AnimationRequest>& AnimationRequests::All() { return Requests(); }

void AnimationRequests::Clear() { Requests().clear(); }

}  // namespace GameServices::Bridge
