#pragma once
// A behaviour file covering every action kind, an animated behaviour over a plain entity, and
// a double of the entity animation services that records each call as one line.
#include <sstream>
#include <string>
#include <vector>

#include "gameservices/entities/Entity.h"
#include "gameservices/game/EntityAnimationServices.h"
#include "gameservices/minigame/BehaviorManager.h"

namespace behavior_test {

inline const char kHostFile[] =
    "<root><RootBehavior><Behaviors><item><Name>Host</Name><Entities><item><Name>HostTpl</Name>"
    "<Parameters><item><Name>count</Name><Value>12</Value></item>"
    "<item><Name>scale</Name><Value>2.5</Value></item>"
    "<item><Name>big</Name><Value>-7</Value></item>"
    "<item><Name>shout</Name><Value>True</Value></item>"
    "<item><Name>loud</Name><Value>true</Value></item>"
    "<item><Name>blank</Name><Value></Value></item>"
    "<item><Name>word</Name><Value>hello</Value></item></Parameters>"
    "<Actions>"
    "<item><Name>Idle</Name><ActionType>SkinAnimation</ActionType><InAnimation>In.ANM</InAnimation>"
    "<LoopAnimation>Idle.ANM</LoopAnimation><OutAnimation>Out.anm</OutAnimation>"
    "<Skin name=\"Body\"><Model id=\"head\"/><item id=\"hair\"/><Model id=\"eyewear\"/></Skin>"
    "<Keys><item><Name>KeyPause</Name><Frame>10</Frame></item></Keys><PlayMode>RewindLoop</PlayMode>"
    "<Speed>2.5</Speed><Transitions><Time>0.25</Time><Actions>AllActions</Actions></Transitions></item>"
    "<item><Name>Wave</Name><ActionType>modelanimation</ActionType><InAnimation>x.anm</InAnimation>"
    "<LoopAnimation>Wave.ANM</LoopAnimation><Skin name=\"Body\"><Model id=\"top\"/></Skin>"
    "<PlayMode>once</PlayMode><Speed>0.5</Speed>"
    "<Transitions><Time>0.5</Time><Actions>Idle,Nope,Wave</Actions></Transitions></item>"
    "<item><Name>Glow</Name><ActionType>TextureAnimation</ActionType><MaterialName>Shine</MaterialName>"
    "<PlayMode>rewind</PlayMode></item>"
    "<item><Name>Scroll</Name><ActionType>UVAnimation</ActionType><MaterialName>Belt</MaterialName>"
    "<PlayMode>pause</PlayMode></item>"
    "<item><Name>Cam</Name><ActionType>CameraAnimation</ActionType><LoopAnimation>c.anm</LoopAnimation>"
    "</item>"
    "<item><Name>Bogus</Name><ActionType>Dance</ActionType><LoopAnimation>z.anm</LoopAnimation>"
    "<MaterialName>m</MaterialName><PlayMode>sideways</PlayMode></item>"
    "</Actions><Transitions><item><Name>t1</Name><Time>0.2</Time><InAnimation>A.anm</InAnimation>"
    "</item></Transitions></item></Entities></item></Behaviors></RootBehavior></root>";

// The same behaviour again with another definition of the template, one more template and
// one more behaviour.
inline const char kMoreFile[] =
    "<root><RootBehavior><Behaviors><item><Name>Host</Name><Entities>"
    "<item><Name>HostTpl</Name><Parameters><item><Name>count</Name><Value>99</Value></item>"
    "</Parameters><Actions><item><Name>Other</Name><ActionType>ModelAnimation</ActionType></item>"
    "</Actions></item><item><Name>Guest</Name><Parameters/><Actions/></item></Entities></item>"
    "<item><Name>Extra</Name><Entities/></item></Behaviors></RootBehavior></root>";

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

class RecordingAnimation : public GameServices::KorvoGame::IEntityAnimation {
public:
    RecordingAnimation() { SetInstance(this); }
    ~RecordingAnimation() override { SetInstance(nullptr); }

    void Start(GameServices::Entities::Entity&, const GameServices::KorvoGame::AnimationTarget& target,
               f32 transitionTime, i32 playMode, f32 rate, i32 startFrame, i32 endFrame) override {
        Record("Start", target) << " t" << transitionTime << " m" << playMode << " r" << rate << " "
                                << startFrame << ".." << endFrame;
    }
    void Replay(GameServices::Entities::Entity&, const GameServices::KorvoGame::AnimationTarget& target,
                i32 playMode, i32 startFrame, i32 endFrame) override {
        Record("Replay", target) << " m" << playMode << " " << startFrame << ".." << endFrame;
    }
    void SetSpeed(GameServices::Entities::Entity&, const GameServices::KorvoGame::AnimationTarget& target,
                  f32 speed) override {
        Record("Speed", target) << " " << speed;
    }
    i32 GetEndFrame(GameServices::Entities::Entity&, const GameServices::KorvoGame::AnimationTarget& target) override {
        Record("End", target);
        return endFrame;
    }
    void AddKey(GameServices::Entities::Entity&, const GameServices::KorvoGame::AnimationTarget& target, i32 frame,
                IDelegate* listener) override {
        Record("AddKey", target) << " @" << frame << (listener ? "" : " null");
    }
    void RemoveKey(GameServices::Entities::Entity&, const GameServices::KorvoGame::AnimationTarget& target,
                   i32 frame, IDelegate* listener) override {
        Record("RemoveKey", target) << " @" << frame << (listener ? "" : " null");
    }

    // Each call as "operation kind[/skin]:name ...".
    std::vector<std::string> Lines() {
        Flush();
        return lines;
    }

    i32 endFrame = 42;

private:
    std::ostringstream& Record(const char* operation, const GameServices::KorvoGame::AnimationTarget& target) {
        Flush();
        current << operation << " " << target.kind;
        if (target.skin)
            current << "/" << target.skin->m_Name.c_str();
        current << ":" << target.name.c_str();
        return current;
    }
    void Flush() {
        if (!current.str().empty())
            lines.push_back(current.str());
        current.str("");
    }

    std::ostringstream current;
    std::vector<std::string> lines;
};

}  // namespace behavior_test
