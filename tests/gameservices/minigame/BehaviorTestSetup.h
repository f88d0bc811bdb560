#pragma once
// A behaviour file covering every action kind, an animated behaviour over a plain entity, and
// a double of the entity animation services that records each call as one line.
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "gameservices/entities/Entity.h"
#include "gameservices/game/EntityAnimationServices.h"
#include "gameservices/minigame/BehaviorManager.h"

namespace behavior_test {

inline const char kHostFile[] =
    "<root><RootBehavior><Behaviors><item><Name>Host</Name><Entities><item><Name>HostTpl</Name><Parameters>"
    "<item><Name>count</Name><Value>12</Value></item><item><Name>scale</Name><Value>2.5</Value></item>"
    "<item><Name>big</Name><Value>-7</Value></item><item><Name>shout</Name><Value>True</Value></item>"
    "<item><Name>loud</Name><Value>true</Value></item><item><Name>blank</Name><Value></Value></item>"
    "<item><Name>word</Name><Value>hello</Value></item></Parameters><Actions>"
    "<item><Name>Idle</Name><ActionType>SkinAnimation</ActionType><InAnimation>In.ANM</InAnimation>"
    "<LoopAnimation>Idle.ANM</LoopAnimation><OutAnimation>Out.anm</OutAnimation><Skin name=\"Body\">"
    "<Model id=\"head\"/><item id=\"hair\"/><Model id=\"eyewear\"/></Skin><Keys><item><Name>KeyPause</Name>"
    "<Frame>10</Frame></item></Keys><PlayMode>RewindLoop</PlayMode><Speed>2.5</Speed>"
    "<Transitions><Time>0.25</Time><Actions>AllActions</Actions></Transitions></item>"
    "<item><Name>Wave</Name><ActionType>modelanimation</ActionType><InAnimation>x.anm</InAnimation>"
    "<LoopAnimation>Wave.ANM</LoopAnimation><Skin name=\"Body\"><Model id=\"top\"/></Skin><PlayMode>once"
    "</PlayMode><Speed>0.5</Speed><Transitions><Time>0.5</Time><Actions>Idle,Nope,Wave</Actions></Transitions></item>"
    "<item><Name>Glow</Name><ActionType>TextureAnimation</ActionType><MaterialName>Shine</MaterialName>"
    "<PlayMode>rewind</PlayMode></item><item><Name>Scroll</Name><ActionType>UVAnimation</ActionType>"
    "<MaterialName>Belt</MaterialName><PlayMode>pause</PlayMode></item><item><Name>Cam</Name><ActionType>"
    "CameraAnimation</ActionType><LoopAnimation>c.anm</LoopAnimation></item><item><Name>Bogus</Name>"
    "<ActionType>Dance</ActionType><LoopAnimation>z.anm</LoopAnimation><MaterialName>m</MaterialName>"
    "<PlayMode>sideways</PlayMode></item></Actions><Transitions><item><Name>t1</Name><Time>0.2</Time>"
    "<InAnimation>A.anm</InAnimation></item></Transitions></item></Entities></item></Behaviors></RootBehavior></root>";

// The same behaviour again with another definition of the template (a skin without models),
// one more template and one more behaviour.
inline const char kMoreFile[] =
    "<root><RootBehavior><Behaviors><item><Name>Host</Name><Entities><item><Name>HostTpl</Name><Parameters>"
    "<item><Name>count</Name><Value>99</Value></item></Parameters><Actions><item><Name>Other</Name>"
    "<ActionType>SkinAnimation</ActionType><Skin name=\"B\"/><Speed>3</Speed></item></Actions></item>"
    "<item><Name>Guest</Name><Parameters/><Actions/></item></Entities></item><item><Name>Extra</Name>"
    "<Entities/></item></Behaviors></RootBehavior></root>";

class Behavior : public GameServices::MiniGame::AnimatedBehavior {
public:
    Behavior(GameServices::Entities::Entity* entity, const char* name, const char* entityTemplate)
        : AnimatedBehavior(entity, name) {
        SetEntityTemplate(entityTemplate);
    }
    TString<char> GetCurrentActionName() const override { return current; }
    void Reset() override {}

    TString<char> current;
};

using Entity = GameServices::Entities::Entity;
using Target = GameServices::KorvoGame::AnimationTarget;

// Each call as one line "operation kind[/skin]:name arguments".
class RecordingAnimation : public GameServices::KorvoGame::IEntityAnimation {
public:
    RecordingAnimation() { SetInstance(this); }
    ~RecordingAnimation() override { SetInstance(nullptr); }

    void Start(Entity&, const Target& t, f32 time, i32 mode, f32 rate, i32 from, i32 to) override {
        Add("Start", t) << " t" << time << " m" << mode << " r" << rate << " " << from << ".." << to;
    }
    void Replay(Entity&, const Target& t, i32 mode, i32 from, i32 to) override {
        Add("Replay", t) << " m" << mode << " " << from << ".." << to;
    }
    void SetSpeed(Entity&, const Target& t, f32 speed) override { Add("Speed", t) << " " << speed; }
    i32 GetEndFrame(Entity&, const Target& t) override {
        Add("End", t);
        return endFrame;
    }
    void AddKey(Entity&, const Target& t, i32 frame, IDelegate*) override { Add("AddKey", t) << " @" << frame; }
    void RemoveKey(Entity&, const Target& t, i32 frame, IDelegate*) override { Add("RemoveKey", t) << " @" << frame; }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const std::ostringstream& call : calls)
            lines.push_back(call.str());
        return lines;
    }

    i32 endFrame = 42;

private:
    std::ostringstream& Add(const char* operation, const Target& target) {
        std::ostringstream& call = calls.emplace_back();
        call << operation << " " << target.kind;
        if (target.skin)
            call << "/" << target.skin->m_Name.c_str();
        call << ":" << target.name.c_str();
        return call;
    }

    std::deque<std::ostringstream> calls;
};

}  // namespace behavior_test
