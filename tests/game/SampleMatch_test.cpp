// The program on the sample packages the build writes, as a player meets it: the application
// on its SDL window (offscreen driver), the real run loop on a fake clock, the mixer pulled,
// the working folder the built data, a fresh save folder, and a player that only sends window
// messages. The run goes from the opening through the first-start pages and the menus into
// a 70s easy match and plays it to its end, answering right. It may log nothing but the game's chatter.
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGApplication.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/AGText.h"
#include "engine/core/AGApplicationGraphics.h"
#include "engine/core/AGProgram.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/video/PCVideoPlayer.h"
#include "game/QZ2011GameContext.h"
#include "game/QZ2011Prog.h"
#include "game/presentation/QZCharacter.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/Avatar.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VolatileData.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetRenderData.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "gameshow/SequenceManager.h"
#include "gameshow/WardrobeComposition.h"
#include "gameservices/widget/WidgetClasses.h"
#include "platform/audio/AudioTypes.h"
#include "platform/core/Clock.h"
#include "platform/gfx/Image.h"
#include "platform/window/WindowShot.h"
#include "platform/settings/SettingsFile.h"
#include "questions/QuestionManager.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MatchPlayer.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/SceneTrace.h"
#include "tests/support/ScopedWorkingDir.h"
#include "tests/support/TempDir.h"
#include "tools/qbank/BankSource.h"

#ifndef TALLYVOX_BUILT_CONTENT
#error "TALLYVOX_BUILT_CONTENT names the folder of the built sample content"
#endif

namespace {

using GameServices::Widget::Widget;
using platform::window::MessageKind;
using namespace QZ2011;

// The game's own chatter; any other log line tells of something missing or wrong. The start-up
// screen's clip widget is built before the opening's first clip gives it its video asset.
constexpr const char* kAllowedLog[] = {"--+++ START ", "IA DECIDED TO ", "RUNNING DECADE ",
                                       "can not find the component Level name of this video"};

AGAudioManagerImpl* MakePulledAudio() { return new PCAudioManagerImpl(platform::audio::Engine::Output::Pull); }

// The program's graphics drawing one frame in kDrawEvery: the software renderer of headless runs
// takes most of a run's time otherwise. The game still updates every frame.
constexpr u32 kDrawEvery = 12;
class SparseGraphics : public match::ForwardingGraphics {
public:
    static AGApplicationGraphics* Make() { return new SparseGraphics(); }
    static inline Factory real = nullptr;

    SparseGraphics() : ForwardingGraphics(real) {}
    void RenderFrame() override {
        if (++m_frames % kDrawEvery == 0)
            m_real->RenderFrame();
    }

private:
    u32 m_frames = 0;
};

bool NoPopup() {
    return !GameServices::Widget::ScreenManager::Instance().GetTopPopup();
}

// A button of the popup on top, when that is the popup named.
Widget* PopupButton(const char* popup, const char* button) {
    GameServices::Widget::Popup* shown = GameServices::Widget::ScreenManager::Instance().GetTopPopup();
    return shown && shown->m_Panel && shown->Name == popup ? Widget::FindChild(button, shown->m_Panel) : nullptr;
}

// A shot's pixel as its colour channels.
std::array<int, 3> PixelAt(const platform::gfx::Image& shot, int x, int y) {
    x = std::clamp(x, 0, int(shot.width) - 1);
    y = std::clamp(y, 0, int(shot.height) - 1);
    const uint32_t argb = shot.pixels[size_t(y) * shot.width + size_t(x)];
    return {int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF)};
}
int Distance(const std::array<int, 3>& a, const std::array<int, 3>& b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

// Where a widget is drawn in the window: x, y, width, height.
std::array<f32, 4> Drawn(const Widget& widget) {
    const GameServices::Widget::HitRectangle box = widget.WindowHit();
    return {box.x, box.y, box.maxX, box.maxY};
}

// Pixels of a drawn box, a fifth off each side, far from the box's most common colour: at least
// a short word's worth where text is drawn.
constexpr int kInkPixels = 12;
int InkIn(const platform::gfx::Image& shot, const std::array<f32, 4>& r) {
    std::map<std::array<int, 3>, int> counts;
    for (int y = int(r[1] + r[3] / 5); y < int(r[1] + r[3] * 4 / 5); ++y)
        for (int x = int(r[0] + r[2] / 5); x < int(r[0] + r[2] * 4 / 5); ++x)
            ++counts[PixelAt(shot, x, y)];
    if (counts.empty())
        return 0;
    const auto common = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                            return a.second < b.second;
                        })->first;
    int ink = 0;
    for (const auto& [colour, n] : counts)
        ink += Distance(colour, common) > 48 ? n : 0;
    return ink;
}

// What the program runs in: made before the player's context, ended after it.
struct SampleMatchWorld {
    TempDir m_home;
    ScopedEnv m_env;
    ScopedWorkingDir m_workingDir{TALLYVOX_BUILT_CONTENT};
    platform::FakeClock m_clock;
    LogCapture m_log;
    GraphicsStartup m_graphics;
};

class SampleMatch : public ::testing::Test, protected SampleMatchWorld, protected match::ScriptedPlayer {
protected:
    void SetUp() override {
        m_env.Set("XDG_DATA_HOME", m_home.Path() + "/data").Set("XDG_CONFIG_HOME", m_home.Path() + "/config");
        m_env.Set("TALLYVOX_REPLAY", "");
        // A player in an 800 x 600 window without multisampling: the software renderer of
        // headless runs draws each frame several times faster.
        platform::settings::SettingsFile settings;
        for (const auto& [name, value] : {std::pair{"Fullscreen", 0u}, {"Multisampling", 0u}, {"WindowWidth", 800u},
                                          {"WindowHeight", 600u}})
            settings.SetU32(name, value);
        ASSERT_TRUE(settings.Save(platform::settings::SettingsPath(g_QZ2011Prog.GetTitle())));
        platform::window::SetBackendFactory(nullptr);
        AGProgram::SetInstance(&g_QZ2011Prog);
        m_savedAudio = AGAudioManager::s_implFactory;
        m_savedVideo = AGVideoPlayer::s_implFactory;
        AGAudioManager::s_implFactory = &MakePulledAudio;
        AGVideoPlayer::s_implFactory = &CreatePCVideoPlayer;
        SparseGraphics::real = AGApplicationGraphics::s_implFactory;
        AGApplicationGraphics::s_implFactory = &SparseGraphics::Make;
        m_app = dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
        ASSERT_TRUE(m_app && m_app->Initialize());
        RegisterSoundProvider(AGResourceManager::Get());
    }

    void TearDown() override {
        GameShow::PlayerProfileManager::Destroy();
        GameServices::Bridge::FileSystem::Destroy();
        if (m_app)
            m_app->Shutdown();
        if (SparseGraphics::real)
            AGApplicationGraphics::s_implFactory = SparseGraphics::real;
        AGAudioManager::s_implFactory = m_savedAudio;
        AGVideoPlayer::s_implFactory = m_savedVideo;
        AGProgram::SetInstance(nullptr);
    }

    // The program's run loop until the steps are done or one of them waits past its limit: none
    // did, nothing went missing on the way and what was on screen every half second is the
    // recorded trace (none given: not compared).
    void Play(std::vector<Step> steps, const std::string& trace) {
        ScriptedPlayer::Play(std::move(steps));
        EXPECT_EQ(m_failure, "");
        EXPECT_EQ(UnexpectedLog(), std::vector<std::string>());
        if (!trace.empty()) {
            EXPECT_EQ(scene::CompareWithGolden(m_trace.Log(), std::string(TALLYVOX_TRACES "/") + trace), "");
        }
    }

    // What is on screen, every half second and in the frames that follow a mouse message (hover
    // and press looks last only a few frames); the drawn frames, scaled to 16 x 12 cells.
    void BeforeInput() override {
        const bool periodic = m_nowMs >= m_nextCaptureMs;
        if (periodic)
            m_nextCaptureMs += 500;
        PCGraphicDevice* graphics = PCGraphicDevice::Get();
        if (graphics && std::exchange(m_pictured, graphics) != graphics)
            graphics->SetFrameCapture(new PCFrameCapture{true, {0, 0, 800, 600}, 16, 12, &m_trace, {}, {}});
        if (graphics && (periodic || m_inputFrames > 0))
            m_trace.Capture(*graphics, m_nowMs);
    }
    void AfterInput() override {
        for (Look& look : m_looks)
            Watch(look);
    }

    // A look at the picture: each time `when` has held for `settle` frames, the window's last frame
    // is saved as <build>/match-shots/<name>.png and `check` tells what is wrong with it ("": nothing).
    struct Look {
        std::string name;
        std::function<bool()> when;
        std::function<std::string(const platform::gfx::Image&)> check;
        u32 settle = kDrawEvery;
        u32 frames = 0;
        u32 seen = 0;
    };
    void Watch(Look& look) {
        look.frames = look.when() ? look.frames + 1 : 0;
        if (look.frames != look.settle + 1)
            return;
        ++look.seen;
        const std::string file = std::string(TALLYVOX_BUILT_CONTENT) + "/../match-shots/" + look.name + ".png";
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::string why;
        platform::gfx::Image shot;
        if (platform::window::SaveWindowShot(SDL_GL_GetCurrentWindow(), file, why)) {
            std::ifstream in(file, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            platform::gfx::DecodePng(bytes.data(), bytes.size(), shot, why);
        }
        why = shot.width ? look.check(shot) : "no shot: " + why;
        if (!why.empty())
            m_lookFailures.push_back(look.name + ": " + why);
    }
    bool Looked(const std::string& name) {
        for (Look& look : m_looks)
            if (look.name == name)
                return look.seen > 0;
        return false;
    }

    void ClickBox(const GameServices::Widget::HitRectangle& box) {
        ClickAt(int32_t(box.x + box.maxX / 2), int32_t(box.y + box.maxY / 2));
    }
    // Types the text by clicking the keyboard's letter keys (as the layout spells them), one a few
    // frames after the other, then takes the last letter back with the backspace key.
    void ClickKeys(GameServices::Widget::SoftKeyboard* keyboard, const std::string& text) {
        if (!keyboard || keyboard->m_Specials.size() <= GameServices::Widget::SoftKeyboard::kBackspaceKey) {
            m_failure = "no keyboard to click; " + State();
            return;
        }
        auto clickKey = [&](const GameServices::Widget::SoftKey& key) { ClickBox(keyboard->KeyBox(key)); };
        const std::string letters = keyboard->m_Qwerty ? keyboard->m_QwertyChars.c_str() : keyboard->m_AbcdeChars.c_str();
        for (char c : text) {
            const size_t i = letters.find(c);
            if (i < keyboard->m_Letters.size())
                clickKey(keyboard->m_Letters[i]);
        }
        clickKey(keyboard->m_Specials[GameServices::Widget::SoftKeyboard::kBackspaceKey]);
    }
    // A popup's button, a second after the popup came on top. Its widgets are placed by their
    // layout only: they have no screen rectangle.
    Step OnPopup(const char* popup, const char* button) {
        return {std::string(button) + " on " + popup,
                [this, popup, button] { return Shown(PopupButton(popup, button)) && m_nowMs > m_stepStartMs + 1000; },
                [this, popup, button] { ClickBox(PopupButton(popup, button)->WindowHit()); }};
    }

    // Back on the main menu, the drawn pointer is shown where the mouse goes.
    std::vector<Step> PointerOnMainMenu() {
        auto drawnAtMouse = [this] {
            auto* cursors = m_context.GetCurrentLevel()->FindComponentLevel("PlayerCursors");
            GameServices::Entities::Prop* cursor = cursors ? cursors->FindProp("PlayerCursor0") : nullptr;
            AGVec3 at;
            return cursor && cursor->Visible && (cursor->GetPosition(at), at.x == 321 && at.y == 234);
        };
        return {{"the main menu", [] { return PageSettled("compositionMainMenu"); },
                 [this] { Send({.kind = MessageKind::MouseMove, .x = 321, .y = 234}); }},
                {"the drawn pointer under the mouse", drawnAtMouse, nullptr, 1000}};
    }

    // A wardrobe pick: a tab, then one of its item slots.
    struct Pick {
        const char* tab;
        i32 slot;
    };
    static GameShow::WardrobeComposition* Wardrobe() {
        return static_cast<GameShow::WardrobeComposition*>(
            GameShow::CompositionManager::Instance().FindComposition(GameShow::WardrobeComposition::kName));
    }
    // From the decade page, the picks made in the wardrobe, then Done; by default a pair of glasses
    // (the second after the tab's no-glasses choice) and a top.
    // A button's release is read a frame after the pointer's place: each click waits until the one
    // before took, or the next click's pointer move would take the release off its button.
    std::vector<Step> WardrobeVisit(const std::vector<Pick>& picks = {{"tabglasses", 2}, {"tabshirt", 2}}) {
        const char* page = GameShow::WardrobeComposition::kName;
        std::vector<Step> steps = {{"the wardrobe button", [] { return PageSettled("compositionDecadeSelector"); },
                                    [this] { ClickAt(670, 103); }}};
        std::function<bool()> took = [page] { return PageSettled(page); };
        for (const Pick& pick : picks) {
            const auto& tabs = GameShow::WardrobeComposition::kTabNames;
            const i32 tab = i32(std::find(tabs.begin(), tabs.end(), std::string_view(pick.tab)) - tabs.begin());
            const std::string slot = "effect" + std::to_string(pick.slot);
            steps.push_back({std::string(pick.tab) + " on " + page, took,
                             [this, page, name = pick.tab] { Click(OnPage(page, name)); }});
            // The glasses tab shows one no-glasses choice, the tab's own.
            steps.push_back({slot + " on " + pick.tab, [tab] { return Wardrobe()->GetCurrentTab() == tab; },
                             [this, page, slot, tab] {
                                 const auto& shown = Wardrobe()->GetShownNames();
                                 const auto none = std::count_if(shown.begin(), shown.end(), [](const auto& name) {
                                     return std::string_view(name.c_str()).ends_with("No_Eyewear");
                                 });
                                 if (tab == GameShow::WardrobeComposition::kGlassesTab && none != 1)
                                     m_failure = std::to_string(none) + " no-glasses choices on the glasses tab";
                                 Click(OnPage(page, slot.c_str()));
                             }});
            took = [tab, n = pick.slot] { return Wardrobe()->GetCurrentTab() == tab && Wardrobe()->GetSelectedSlot() == n; };
        }
        steps.push_back({std::string("DoneButton on ") + page, took, [this, page] { Click(OnPage(page, "DoneButton")); }});
        return steps;
    }

    // On the options page, the effects volume's thumb dragged 100 pixels right from its drawn
    // place; the pointer stays until the release has been read.
    Step EffectsSliderDragged() {
        return {"the effects slider", [] { return PageSettled("compositionOptions"); }, [this] {
                    auto* slider = static_cast<GameServices::Widget::SliderWidget*>(OnPage("compositionOptions", "sliderSfx"));
                    if (!slider) {
                        m_failure = "no effects slider; " + State();
                        return;
                    }
                    const GameServices::Widget::HitRectangle box = slider->WindowHit();
                    const GameServices::Widget::ImageBox& thumb = slider->m_Thumb;
                    const f32 scale = slider->m_Width > 0.0f ? box.maxX / slider->m_Width : 1.0f;
                    const int32_t x = int32_t(box.x + (thumb.m_Position.x + slider->m_Value + thumb.m_Size.x / 2) * scale);
                    const int32_t y = int32_t(box.y + box.maxY / 2), to = x + 100;
                    Send({.kind = MessageKind::MouseMove, .x = x, .y = y});
                    Send({.kind = MessageKind::ButtonDown, .button = platform::window::MouseButton::Left, .x = x, .y = y}, 3);
                    Send({.kind = MessageKind::MouseMove, .x = to, .y = y}, 3);
                    Send({.kind = MessageKind::ButtonUp, .button = platform::window::MouseButton::Left, .x = to, .y = y}, 3);
                    Send({.kind = MessageKind::MouseMove, .x = to, .y = y}, 3);
                }};
    }

    // The steps put before the one named `what`, which the list must hold.
    static void InsertBefore(std::vector<Step>& steps, const std::string& what, const std::vector<Step>& more) {
        const auto at = std::find_if(steps.begin(), steps.end(), [&](const Step& s) { return s.what == what; });
        ASSERT_NE(at, steps.end()) << what;
        steps.insert(at, more.begin(), more.end());
    }

    // From the program's start to the match level of the decade and difficulty buttons given, with
    // its stage loaded.
    std::vector<Step> WayIn(const char* decade = "Button70s", const char* difficulty = "EasyButton") {
        std::vector<Step> steps = FirstStart();
        const std::vector<Step> in = IntoMatch(decade, difficulty);
        steps.insert(steps.end(), in.begin(), in.end());
        return steps;
    }

    // Player one's move in a match, when one is due: buzz in each face-off, play, and answer in its
    // own turns (a not-found answer; fast money: the first player the top answer, the second another;
    // words of no answer for every m_wrongEvery-th main-game answer and, with m_wrongEvery set, in
    // fast money).
    void Act() {
        for (u32 row = 0; row < ScreenGame::kFastMoneyRows; ++row) {
            const auto* label = m_context.GetGameScreen().m_AnswerLabelsFM[row];
            if (label && !label->m_TextStyle.m_Text.IsEmpty())
                m_fastMoneyShown[row] = label->m_TextStyle.m_Text.c_str();
        }
        if (BuzzOrPlay())
            return;
        PlayedContext& c = m_context;
        const i32 phase = c.m_GamePhase;
        GameServices::Widget::SoftKeyboard* keyboard = c.m_AnswerKeyboard;
        const bool open = AnswerEntryOpen();
        const bool fastMoney = phase == PhaseFastMoneyFirstPlayer || phase == PhaseFastMoneySecondPlayer;
        if (!open || (!fastMoney && (m_turnTaken || c.m_CurrentFamily != QZ2011GameContext::kPlayerOneFamily)) ||
            (fastMoney && (!keyboard->m_EntryText.IsEmpty() || m_nowMs - m_submitMs < 300)))
            return;
        m_turnTaken = !fastMoney;
        // The entry opens empty: the Space that buzzed in is no part of the answer.
        if (!keyboard->m_EntryText.IsEmpty())
            m_failure = "the entry holds \"" + std::string(keyboard->m_EntryText.c_str()) + "\" before typing; " + State();
        const Question* question = c.GetQuestionManager() ? c.GetQuestionManager()->CurrentQuestion() : nullptr;
        std::string text = "zzqx wvvk";
        const bool wrong = fastMoney ? m_wrongEvery > 0 : m_wrongEvery && ++m_answers % m_wrongEvery == 0;
        if (question && !wrong) {
            // The answers by value, highest first; the second fast-money player skips the first's.
            std::vector<u32> order;
            for (u32 i = 0; i < question->AnswerCount(); ++i)
                if (fastMoney || !question->IsFound(i))
                    order.push_back(i);
            std::stable_sort(order.begin(), order.end(), [&](u32 a, u32 b) {
                return question->GetAnswer(a).Value() > question->GetAnswer(b).Value();
            });
            const size_t pick = phase == PhaseFastMoneySecondPlayer && order.size() > 1 ? 1 : 0;
            if (!order.empty())
                text = qbank::FirstForm(question->GetAnswer(order[pick]).Text());
        }
        // A fast-money turn's clock starts with its first question, not with the opening before it.
        const u32 clock = c.GetGameScreen().m_CountdownElapsedMs;
        if (fastMoney && c.m_FastMoneyAnswerIndex == 0 && clock >= 2000)
            m_failure = "fast money's clock ran " + std::to_string(clock) + " ms before its first answer; " + State();
        Type(text);
        if (m_slowEnter)
            Send({.kind = MessageKind::MouseMove, .x = 2, .y = 2}, 4 * kDrawEvery);
        if (fastMoney) {
            // A quick Enter: pressed and released between two frames.
            m_fastMoneyTyped.emplace_back((phase == PhaseFastMoneySecondPlayer ? 5 : 0) + c.m_FastMoneyAnswerIndex, text);
            Send({.kind = MessageKind::KeyDown, .key = kKeyEnter});
            Send({.kind = MessageKind::Char, .unit = u'\r'}, 0);
            Send({.kind = MessageKind::KeyUp, .key = kKeyEnter}, 0);
        } else {
            Key(kKeyEnter, u'\r');
        }
        m_submitMs = m_nowMs;
    }

    // Each fast-money answer typed and entered took a row of its own on the fast-money board
    // (shown there from its start on); "" when all did.
    std::string FastMoneyEntriesLost() {
        std::string lost;
        std::set<u32> rows;
        for (const auto& [row, text] : m_fastMoneyTyped) {
            const std::string shown = m_fastMoneyShown[row];
            if (!rows.insert(row).second)
                lost += " \"" + text + "\" typed again for row " + std::to_string(row + 1) + ";";
            else if (shown.empty() || shown.compare(0, 4, text, 0, 4) != 0)
                lost += " \"" + text + "\" in row " + std::to_string(row + 1) + " shows \"" + shown + "\";";
        }
        return lost;
    }

    // A whole match from the program's start, by the decade and difficulty buttons, player one
    // acting until the phase `end` (kEitherEnd: the game's end or its loss) with no sequence
    // running, answering wrong every `wrongEvery`-th time and in fast money (0: always right):
    // nothing went missing on the way, the match was the one chosen (decade * 10 + difficulty)
    // and what was on screen every half second is the recorded trace.
    static constexpr i32 kEitherEnd = -1;
    void PlayWholeMatch(const char* decade, const char* difficulty, i32 end, u32 choice, const char* trace,
                        int wrongEvery = 0, const std::vector<Step>& after = {}) {
        m_wrongEvery = wrongEvery;
        std::vector<Step> steps = WayIn(decade, difficulty);
        steps.push_back(MatchEnd(end));
        steps.insert(steps.end(), after.begin(), after.end());
        Play(std::move(steps), trace);
        EXPECT_EQ(m_context.m_Decade * 10 + m_context.m_Difficulty, choice);
        EXPECT_EQ(FastMoneyEntriesLost(), "");
    }
    // Player one plays until the phase `end` (kEitherEnd: the game's end or its loss) with no
    // sequence running.
    Step MatchEnd(i32 end) {
        return {"the end of the match",
                [this, end] {
                    const i32 phase = m_context.m_GamePhase;
                    return (end == kEitherEnd ? phase == PhaseGameOver || phase == PhaseGameEnd : phase == end) &&
                           !m_context.GetSequenceManager()->GetCurrentSequence();
                },
                nullptr, 40 * 60000, [this] { Act(); }};
    }

    // The engine camera of the stage's camera of that name; of "" the one the stage is drawn with.
    const PCCam* StageCamera(const char* name) {
        GameServices::Entities::Set* stage = m_context.GetMatchMode().GetSet();
        if (!stage)
            return nullptr;
        if (*name == 0) {
            auto* layer =
                stage->VolatileDatas.GetAs<AGGraphicLayer>(GameServices::Entities::VolatileDataKeys::kENGINE_DATA_LAYER_3D);
            return layer ? layer->GetCamera() : nullptr;
        }
        GameServices::Entities::Camera* entity = stage->FindCamera(name);
        return entity ? entity->VolatileDatas.GetCamera() : nullptr;
    }

    // The board's score screens, projected through the drawing camera: inside the window and clear
    // of the panels given (x, y, width, height); else what is wrong.
    std::string ScoreScreensClearOf(const std::vector<std::pair<const char*, std::array<f32, 4>>>& panels) {
        GameServices::Entities::Set* stage = m_context.GetMatchMode().GetSet();
        const PCCam* drawing = StageCamera("");
        for (const char* name : {"screen_digits_left", "screen_digits_right"}) {
            GameServices::Entities::Prop* prop = stage ? stage->FindProp(name) : nullptr;
            if (!prop || !drawing)
                return "no score screens on the stage";
            // The three digit faces: 94 x 44 about the prop's place.
            AGVec3 at;
            prop->GetPosition(at);
            const AGVec2 a = drawing->Project({at.x + 47, at.y + 22, at.z}), b = drawing->Project({at.x - 47, at.y - 22, at.z});
            const f32 x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x), y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
            if (x0 < 0 || y0 < 0 || x1 > 800 || y1 > 600)
                return std::string(name) + " cut by the window";
            for (const auto& [panel, r] : panels)
                if (x0 < r[0] + r[2] && r[0] < x1 && y0 < r[1] + r[3] && r[1] < y1)
                    return std::string(name) + " behind the " + panel + " at " + std::to_string(int(x0)) + "," +
                           std::to_string(int(y0));
        }
        return "";
    }

    // The shown pictures, buttons and texts of a menu page drawn over the menu avatar (30 cm each
    // side of it, from its knees to the top of its head, through the menu's camera).
    std::string OverTheAvatar(const char* page) {
        GameServices::Entities::Set* set = m_context.GetMenuMode().GetSet();
        GameServices::Entities::Camera* camera = set ? set->GetActiveCamera() : nullptr;
        const PCCam* eye = camera ? camera->VolatileDatas.GetCamera() : nullptr;
        auto* avatar = GameShow::PlayerProfileManager::Instance()->FindAvatarCharacter(
            GameShow::PlayerProfileManager::kAvatarName);
        GameShow::CompositionBase* composition = GameShow::CompositionManager::Instance().FindComposition(page);
        if (!eye || !avatar || !composition)
            return "no menu camera, avatar or page";
        AGVec3 at;
        avatar->GetPosition(at);
        const AGVec2 a = eye->Project({at.x + 30, at.y + 175, at.z}), b = eye->Project({at.x - 30, at.y + 50, at.z});
        const f32 x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x), y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
        std::string over;
        std::vector<Widget*> open = {composition->GetRootPanel()};
        while (!open.empty()) {
            Widget* widget = open.back();
            open.pop_back();
            if (!Shown(widget))
                continue;
            if (auto* panel = dynamic_cast<GameServices::Widget::Panel*>(widget)) {
                open.insert(open.end(), panel->m_Children.begin(), panel->m_Children.end());
                continue;
            }
            const std::array<f32, 4> r = Drawn(*widget);
            if (x0 < r[0] + r[2] && r[0] < x1 && y0 < r[1] + r[3] && r[1] < y1)
                over += " " + std::string(widget->Name.c_str());
        }
        return over;
    }
    // A step: the page settled, with nothing of it over the avatar.
    Step AvatarInSight(const char* page) {
        return {std::string("the avatar in sight on ") + page, [page] { return PageSettled(page); },
                [this, page] {
                    const std::string over = OverTheAvatar(page);
                    EXPECT_EQ(over, "") << "drawn over the avatar on " << page;
                }};
    }

    // Looks at the match screen: every typed answer (with the pause before Enter), the main game's
    // and fast money's apart, one board slot an answer, and every revealed answer's text on the
    // centre board, with both score screens clear of the board and inside the window.
    void WatchTheBoard() {
        using GameServices::Widget::Label;
        ScreenGame* screen = &m_context.GetGameScreen();
        auto row = [=](const char* stem, u32 n) {
            return static_cast<Label*>(screen->BoundWidget(TString<char>(stem) + TString<char>::FromInt(i32(n))));
        };
        auto question = [this] {
            return m_context.GetQuestionManager() ? m_context.GetQuestionManager()->CurrentQuestion() : nullptr;
        };
        auto mainGame = [this] { return m_context.m_GamePhase < PhaseFastMoneyIntro; };
        GameServices::Widget::SoftKeyboard** keyboard = &m_context.m_AnswerKeyboard;
        auto typed = [=](bool inMainGame) {
            return [=] {
                return Shown(*keyboard) && Shown(screen->BoundWidget("SoftKeyboard")) && mainGame() == inMainGame &&
                       (*keyboard)->m_EntryText.Length() >= 4;
            };
        };
        // The keyboard's own entry field (380 x 56 at 150, 0), where it writes the text from its left
        // edge: the part of a short word, clear of the field's frame.
        auto typedSeen = [=](const platform::gfx::Image& shot) {
            const std::array<f32, 4> k = Drawn(**keyboard);
            const std::string text = (*keyboard)->m_EntryText.c_str();
            return InkIn(shot, {k[0] + 110, k[1], 235, 56}) >= kInkPixels ? "" : "\"" + text + "\" is not seen";
        };
        if (m_slowEnter) {
            m_looks.push_back({"typed_answer", typed(true), typedSeen, 3 * kDrawEvery});
            m_looks.push_back({"typed_fast_money", typed(false), typedSeen, 3 * kDrawEvery});
        }
        auto board = [=] {
            return Shown(screen->BoundWidget("AnswersBox")) && question() && question()->AnswerCount() < 8 &&
                   mainGame();
        };
        // A slot's left edge: the row picture where it shows, the board's back where not. The first
        // row no answer takes: the smaller board of the 90s and 00s from round 3 on leaves the fourth.
        auto slotsSeen = [=, this](const platform::gfx::Image& shot) {
            auto* box = static_cast<GameServices::Widget::Panel*>(screen->BoundWidget("AnswersBox"));
            auto edge = [&](u32 n) {
                Widget* slot = Widget::FindChild(TString<char>("answerRow") + TString<char>::FromInt(i32(n)), box);
                const std::array<f32, 4> at = slot ? Drawn(*slot) : std::array<f32, 4>{};
                return PixelAt(shot, int(at[0]) + 6, int(at[1] + at[3] / 2));
            };
            const u32 count = question()->AnswerCount(), round = u32(m_context.m_RoundCounter);
            const u32 free = m_context.m_Decade >= 2 && round >= 3 && round <= 5 && count > 3 ? 3 : count;
            if (Distance(edge(1), edge(free + 1)) <= 48)
                return "slot " + std::to_string(free + 1) + " shows for " + std::to_string(count) + " answers";
            // The stage's answer board: the blocks drawn are those of one layout, each where the
            // stage placed it (not in a heap at the origin in front of the host desk).
            std::string blocks;
            u32 drawn[2] = {};
            GameServices::Entities::Set* set = m_context.GetMatchMode().GetSet();
            for (GameServices::Entities::Prop* prop : set ? set->m_Props : std::vector<GameServices::Entities::Prop*>{}) {
                using GameServices::Entities::VolatileDataKeys::kENGINE_DATA_MODEL;
                const AGModel* model = prop->VolatileDatas.GetAs<AGModel>(kENGINE_DATA_MODEL);
                const std::string name = prop->Name.c_str();
                const bool block = name.starts_with("board_block_0") || name.starts_with("board_block_dt_");
                if (!model || !block || !model->HasFlags(AGRenderable::kActive))
                    continue;
                ++drawn[name.starts_with("board_block_dt_")];
                AGVec3 at;
                prop->GetPosition(at);
                const f32* m = model->GetWorld().m;
                if (std::abs(m[12] - at.x) + std::abs(m[13] - at.y) + std::abs(m[14] - at.z) > 0.01f)
                    blocks += " " + name;
            }
            if (!blocks.empty() || (drawn[0] && drawn[1]))
                return "blocks drawn away from their places:" + blocks + "; drawn " + std::to_string(drawn[0]) +
                       " + " + std::to_string(drawn[1]) + " six-answer blocks";
            std::vector<std::pair<const char*, std::array<f32, 4>>> panels = {{"answer board", Drawn(*box)}};
            if (Widget* timer = screen->BoundWidget("TimerPanel"); Shown(timer))
                panels.push_back({"timer", Drawn(*timer)});
            return ScoreScreensClearOf(panels);
        };
        m_looks.push_back({"board_slots", board, slotsSeen});
        auto centre = [=] {
            return Shown(screen->BoundWidget("CenterAnswersBox")) && Shown(row("CenterAnswerLabel", 1));
        };
        // Each shown row has its text drawn, in a font whose lines fit the row's height; the centre
        // rows are wider than the side board's: a text cut there shows more here.
        auto centreSeen = [=](const platform::gfx::Image& shot) {
            std::string missing;
            for (u32 n = 1; n <= ScreenGame::kBoardRows; ++n) {
                Label* answer = row("CenterAnswerLabel", n);
                if (!Shown(answer))
                    continue;
                const std::string text = answer->m_TextStyle.m_Text.c_str();
                AGText* drawn = GameServices::Widget::Render::At(answer->VolatileDatas.GetTexts(), 0);
                const AGFont* font = drawn ? drawn->GetFont() : nullptr;
                const bool fits = font && f32(font->GetLineHeight()) <= answer->m_Height;
                const std::string side = row("AnswerLabel", n)->m_TextStyle.m_Text.c_str();
                const bool cutAlike = text.ends_with("...") && text == side;
                if (!fits || cutAlike || InkIn(shot, Drawn(*answer)) < kInkPixels)
                    missing += " " + std::to_string(n);
            }
            return missing.empty() ? missing : "not the whole text in rows" + missing;
        };
        m_looks.push_back({"centre_board", centre, centreSeen});
    }

    // Looks at each family's introduction, cut to the family's close-up: the stage is drawn through
    // that camera, the family's members stand over its own desk score display, and player one's
    // display is the one on the wide view's left.
    void WatchTheFamilies() {
        auto playing = [this](const char* sequence) {
            GameShow::SequenceManager* sequences = m_context.GetSequenceManager();
            const GameShow::Sequence* current = sequences ? sequences->GetCurrentSequence() : nullptr;
            return current && current == sequences->FindSequence(Crc32Hash(sequence));
        };
        auto camera = [this](const char* name) { return StageCamera(name); };
        // Where a camera shows a prop, in window pixels.
        auto shown = [this](const PCCam* camera, const char* name, AGVec2& at) {
            GameServices::Entities::Set* stage = m_context.GetMatchMode().GetSet();
            GameServices::Entities::Prop* prop = stage ? stage->FindProp(name) : nullptr;
            if (!prop || !camera)
                return false;
            AGVec3 place;
            prop->GetPosition(place);
            at = camera->Project(place);
            return true;
        };
        for (const bool playerOne : {true, false}) {
            auto standing = [=](const platform::gfx::Image& shot) {
                const char* own = playerOne ? "desk_digit_left" : "desk_digit_right";
                const char* other = playerOne ? "desk_digit_right" : "desk_digit_left";
                const char* close = playerOne ? "cam_left_family" : "cam_right_family";
                const PCCam* drawing = camera("");
                if (!drawing || drawing != camera(close))
                    return std::string("the stage is not drawn through ") + close;
                AGVec2 here, ownWide, otherWide;
                if (!shown(drawing, own, here) || !shown(camera("cam_wide"), own, ownWide) ||
                    !shown(camera("cam_wide"), other, otherWide))
                    return std::string("no score displays on the stage");
                if ((ownWide.x < otherWide.x) != playerOne)
                    return std::string("player one's score display on the wide view's right");
                // Figure pixels in a box the width of two members over the display.
                const int figures = InkIn(shot, {here.x - 50, here.y - 90, 100, 75});
                return figures >= 10 * kInkPixels ? std::string()
                                                  : "figure pixels " + std::to_string(figures) + " over its score";
            };
            m_looks.push_back({playerOne ? "player_family" : "computer_family",
                               [=] { return playing(playerOne ? "left_intro" : "right_intro"); }, standing,
                               2 * kDrawEvery, true});
        }
        // The family poses and the buzz at the face-off, through their cameras: every contestant
        // shown is drawn (player one's own avatar among them), at least `least` of them in the
        // window, their hips (the skeleton's root, through the model's world) 60 px or more apart
        // across the window, so that none stands behind another.
        auto allDrawn = [=, this](const char* close, size_t least) {
            return [=, this](const platform::gfx::Image&) {
                if (camera("") != camera(close))
                    return std::string("the stage is not drawn through ") + close;
                std::string undrawn;
                std::vector<std::pair<int, AGVec2>> hips;
                for (int i = 0; i < 8; ++i) {
                    QZCharacter* member = m_context.GetMatchMode().GetContestant(i);
                    auto* avatar = member ? member->VolatileDatas.GetAs<GameServices::Bridge::Avatar>(
                                                GameServices::Entities::VolatileDataKeys::kENGINE_DATA_AVATAR)
                                          : nullptr;
                    const bool drawn = avatar && std::any_of(std::begin(avatar->m_Parts), std::end(avatar->m_Parts),
                                                             [](AGModel* part) {
                                                                 return part && part->HasFlags(AGRenderable::kActive);
                                                             });
                    if (member && member->Visible && !drawn)
                        undrawn += " " + std::to_string(i);
                    const AGSkin* skeleton = drawn && !avatar->m_Skins.empty() ? avatar->m_Skins[0].m_Skeleton : nullptr;
                    if (!member || !member->Visible || !skeleton || skeleton->BoneCount() == 0)
                        continue;
                    const f32* root = skeleton->Bones()[0].current.m;
                    const f32* world = (*std::find_if(std::begin(avatar->m_Parts), std::end(avatar->m_Parts),
                                                      [](AGModel* part) { return part; }))->GetWorld().m;
                    AGVec3 at;
                    for (int c = 0; c < 3; ++c)
                        (&at.x)[c] = root[12] * world[c] + root[13] * world[4 + c] + root[14] * world[8 + c] + world[12 + c];
                    const AGVec2 seen = camera("")->Project(at);
                    if (seen.x >= 0 && seen.x < 800 && seen.y >= 0 && seen.y < 600)
                        hips.push_back({i, seen});
                }
                if (!undrawn.empty())
                    return "contestants shown but not drawn:" + undrawn;
                if (hips.size() < least)
                    return std::to_string(hips.size()) + " contestants in the window";
                for (size_t a = 0; a < hips.size(); ++a)
                    for (size_t b = a + 1; b < hips.size(); ++b)
                        if (std::abs(hips[a].second.x - hips[b].second.x) < 60)
                            return "contestants " + std::to_string(hips[a].first) + " and " +
                                   std::to_string(hips[b].first) + " drawn one over the other";
                return undrawn;
            };
        };
        for (const bool playerOne : {true, false}) {
            const i32 pose = playerOne ? PhaseLeftFamilyPose : PhaseRightFamilyPose;
            m_looks.push_back({playerOne ? "player_pose" : "computer_pose",
                               [=, this] {
                                   return m_context.m_GamePhase == pose && m_context.GetSequenceManager()->GetCurrentSequence();
                               },
                               allDrawn(playerOne ? "cam_podium_left" : "cam_podium_right", 4), 2 * kDrawEvery, true});
        }
        m_looks.push_back({"player_buzz", [=] { return playing("host_number_answer_left"); }, allDrawn("cam_faceoff", 2),
                           2 * kDrawEvery, true});
    }

    std::vector<std::string> UnexpectedLog() const {
        std::vector<std::string> lines = m_log.Lines();
        std::erase_if(lines, [](const std::string& line) {
            return std::any_of(std::begin(kAllowedLog), std::end(kAllowedLog),
                               [&](const char* start) { return line.rfind(start, 0) == 0; });
        });
        return lines;
    }

    AGAudioManager::ImplFactory m_savedAudio = nullptr;
    AGVideoPlayer::ImplFactory m_savedVideo = nullptr;
    int m_wrongEvery = 0, m_answers = 0;
    scene::SceneTrace m_trace;
    PCGraphicDevice* m_pictured = nullptr;
    uint64_t m_nextCaptureMs = 0;
    std::vector<Look> m_looks;
    std::vector<std::string> m_lookFailures;
    bool m_slowEnter = false;
    // Fast money's typed answers by the board row they were typed for (0-9).
    std::vector<std::pair<u32, std::string>> m_fastMoneyTyped;
    // The last text each row of the fast-money board showed in the match.
    std::map<u32, std::string> m_fastMoneyShown;
    // A second match on the same program (what the first left behind would show here), the window
    // left for two seconds, then closed: a quit taken back, then confirmed.
    std::vector<Step> ASecondMatchThenQuit() {
        return {
            ClickOn("compositionMainMenu", "singlePlayerButton"),
            ClickOn("compositionDecadeSelector", "Button70s"),
            ClickOn("compositionDifficultySelector", "EasyButton"),
            {"the second match's tutorial skipped", Elapsed(8000), nullptr, 60000,
             [this] { SkipTutorial(); }},
            {"half a minute of a second match", Elapsed(30000),
             [this] { Send({.kind = MessageKind::Deactivate}); }, 60000, [this] { Act(); }},
            {"two seconds away", Elapsed(2000),
             [this] { Send({.kind = MessageKind::Activate}); }},
            {"a second back", Elapsed(1000),
             [this] { Send({.kind = MessageKind::CloseRequest}); }},
            OnPopup("VerifyQuit", "Cancel"),
            {"the match after the quit prompt", [=, this] { return NoPopup() && m_nowMs > m_stepStartMs + 1000; },
             [this] { Send({.kind = MessageKind::CloseRequest}); }},
            OnPopup("VerifyQuit", "Confirm"),
            {"the program quitting by itself", [] { return false; }, nullptr, 10000},
        };
    }
};

// A won match ends on the retry prompt, whose main-menu button leads back with a live pointer. On
// the way every typed answer shows, fast money's too, the board has a slot an answer, each family
// stands over its score and every contestant on stage is drawn.
TEST_F(SampleMatch, A70sMatchPlaysToItsEndWithNothingMissing) {
    m_slowEnter = true;
    WatchTheBoard();
    WatchTheFamilies();
    auto mainMenu = [this] { return m_context.GetGameScreen().BoundWidget("RetryNo_MainMenu"); };
    std::vector<Step> after = PointerOnMainMenu();
    after.insert(after.begin(), {"the retry prompt", [=] { return Shown(mainMenu()); }, [=, this] {
                                     // Nothing of the match left under the prompt.
                                     EXPECT_FALSE(Shown(m_context.GetGameScreen().BoundWidget("QuestionPanel")));
                                     Click(mainMenu());
                                 }});
    PlayWholeMatch("Button70s", "EasyButton", PhaseGameOver, 0, "sample_match_70s.txt", 0, after);
    EXPECT_TRUE(Looked("typed_answer") && Looked("typed_fast_money") && Looked("board_slots") &&
                Looked("player_family") && Looked("computer_family") && Looked("player_pose") &&
                Looked("computer_pose") && Looked("player_buzz"));
    // The first player answers all five questions.
    EXPECT_EQ(std::count_if(m_fastMoneyTyped.begin(), m_fastMoneyTyped.end(), [](const auto& t) { return t.first < 5; }), 5);
    EXPECT_EQ(m_lookFailures, std::vector<std::string>());
}

// The menu pages in turn, the wardrobe, then the whole tutorial before an 80s match on normal.
TEST_F(SampleMatch, TheMenuPagesAndTheWholeTutorial) {
    std::vector<Step> steps = WayIn("Button80s", "NormalButton");
    // Off the way in after the name page: the tutorial plays out without clicks. Its introduction
    // shows the four decades side by side, each drawn apart from the others.
    steps.back().during = nullptr;
    auto decadesApart = [] {
        GameServices::Widget::Screen* tutorial = GameServices::Widget::ScreenManager::Instance().FindScreen("ScreenTutorial");
        f32 right = -1.0f;
        for (const char* decade : {"70", "80", "90", "00"}) {
            Widget* panel = tutorial && tutorial->m_RootPanel
                                ? Widget::FindChild(TString<char>("TutorialDecade") + decade, tutorial->m_RootPanel) : nullptr;
            if (!Shown(panel) || panel->m_ScreenRect[2] <= 0 || panel->m_ScreenRect[0] < right)
                return false;
            right = panel->m_ScreenRect[0] + panel->m_ScreenRect[2];
        }
        return true;
    };
    steps.insert(steps.end() - 1, {"the four decades apart", decadesApart, nullptr, 30000});
    InsertBefore(steps, "singlePlayerButton on compositionMainMenu", {
        ClickOn("compositionMainMenu", "optionsButton"),
        EffectsSliderDragged(),
        ClickOn("compositionOptions", "CreditsButton"),
        {"the credits scrolling", [] { return PageSettled("compositionCredits"); }, nullptr, 60000},
        ClickOn("compositionCredits", "BackButton"),
        ClickOn("compositionOptions", "DoneButton"),
        ClickOn("compositionMainMenu", "awardsButton"),
        AvatarInSight("compositionAwards"),
        ClickOn("compositionAwards", "group1Button"),
        AvatarInSight("compositionGroupAwards"),
        ClickOn("compositionGroupAwards", "BackButton"),
        {"the wardrobe button on the awards page", [] { return PageSettled("compositionAwards"); },
         [this] { ClickAt(670, 103); }},
        AvatarInSight("compositionWardrobe"),
        ClickOn("compositionWardrobe", "DoneButton"),
        ClickOn("compositionAwards", "BackButton"),
        ClickOn("compositionMainMenu", "profileButton"),
        ClickOn("compositionProfiles", "NewProfileButton"),
        ClickOn("compositionBasicLook", "effect2"),
        ClickOn("compositionBasicLook", "DoneButton", true),
        {"the new name", [] { return PageSettled("compositionKeyboard"); },
         [this] {
             ClickKeys(static_cast<GameServices::Widget::SoftKeyboard*>(OnPage("compositionKeyboard", "softkeyboard")),
                       "KIMA");
         }},
        ClickOn("compositionKeyboard", "DoneButton", true),
        // The new profile is the one selected: deleting it makes the first the player's again.
        ClickOn("compositionMainMenu", "profileButton"),
        ClickOn("compositionProfiles", "DeleteProfileButton"),
        OnPopup("VerifyProfileDelete", "Confirm"),
        {"the profiles page without its popup",
         [] { return PageSettled("compositionProfiles") && NoPopup(); },
         [this] { Click(OnPage("compositionProfiles", "DoneButton")); }},
    });
    InsertBefore(steps, "Button80s on compositionDecadeSelector", WardrobeVisit());
    // The in-game menu: a return to the main menu taken back, the match resumed, then left.
    auto menuButton = [this] { return m_context.GetGameScreen().m_MenuButton; };
    steps.insert(steps.end(), {
        {"the match level's menu button", [=, this] { return m_nowMs > m_stepStartMs + 3000 && Usable(menuButton()); },
         [=, this] { Click(menuButton()); }},
        OnPopup("InGameMenu", "ReturnMainMenu"),
        OnPopup("InGameReturnPrompt", "Cancel"),
        OnPopup("InGameMenu", "ResumeGame"),
        {"the match again", [=, this] { return NoPopup() && m_nowMs > m_stepStartMs + 2000; },
         [=, this] { Click(menuButton()); }},
        OnPopup("InGameMenu", "ReturnMainMenu"),
        OnPopup("InGameReturnPrompt", "Confirm"),
    });
    const std::vector<Step> pointer = PointerOnMainMenu();
    steps.insert(steps.end(), pointer.begin(), pointer.end());
    const std::vector<Step> second = ASecondMatchThenQuit();
    steps.insert(steps.end(), second.begin(), second.end());
    Play(std::move(steps), "menus_and_tutorial.txt");
}

// The 00s on normal, every second answer wrong (strikes and steals both ways) and fast money
// answered wrong: the match ends without the top prize. The centre board shows every revealed answer.
TEST_F(SampleMatch, A00sMatchWithStrikesStealsAndAFailedFastMoney) {
    WatchTheBoard();
    PlayWholeMatch("Button00s", "NormalButton", kEitherEnd, 31, "sample_match_00s_strikes.txt", 2);
    EXPECT_TRUE(Looked("centre_board"));
    EXPECT_EQ(m_lookFailures, std::vector<std::string>());
}

// The 90s on hard, every answer wrong: strikes, the computer family's steals and rounds, the loss.
TEST_F(SampleMatch, A90sHardMatchAnsweredWrongIsLost) {
    PlayWholeMatch("Button90s", "HardButton", PhaseGameEnd, 22, "sample_match_90s_lost.txt", 1);
}

// What a player made, chose and won, as a fresh manager reads the save after the program ended:
// a profile made on the first-start pages, the options and the wardrobe left with Done, a won
// 70s match's prize and award, then the program ended by a confirmed window close on the main
// menu or by SIGTERM on the retry prompt.
class SampleMatchSaves : public SampleMatch, public ::testing::WithParamInterface<bool> {};

TEST_P(SampleMatchSaves, AProfileKeepsItsLookItemsVolumesPrizeAndAwardsThroughTheQuit) {
    const bool signal = GetParam();
    auto profile = [] { return GameShow::PlayerProfileManager::Instance()->GetProfile(0); };
    auto volumes = [](const GameShow::Settings& s) { return std::vector{s.SoundEffectsVolume, s.MusicVolume, s.VoiceVolume}; };
    std::vector<u32> volumesSet;
    // The profile's look on the decade page: before the wardrobe, after its first visit (two
    // picks, then Done, which writes the save) and after a second visit with one pick.
    std::array<std::string, 3> looks;
    u32 money = 0;
    std::vector<Step> steps = WayIn();
    InsertBefore(steps, "singlePlayerButton on compositionMainMenu", {
        ClickOn("compositionMainMenu", "optionsButton"),
        EffectsSliderDragged(),
        ClickOn("compositionOptions", "DoneButton"),
        {"the main menu after the options", [] { return PageSettled("compositionMainMenu"); },
         [&] { volumesSet = volumes(*GameShow::PlayerProfileManager::Instance()->GetSettings()); }},
    });
    auto lookNow = [&](size_t i) {
        return Step{"look " + std::to_string(i) + " on the decade page", [] { return PageSettled("compositionDecadeSelector"); },
                    [&, i] { looks[i] = profiletest::Parts(profile()->AvatarDescription); }};
    };
    std::vector<Step> wardrobe = {lookNow(0)};
    const std::vector<Step> visits[] = {WardrobeVisit(), WardrobeVisit({{"tabpants", 1}})};
    for (size_t i = 0; i < 2; ++i) {
        wardrobe.insert(wardrobe.end(), visits[i].begin(), visits[i].end());
        wardrobe.push_back(lookNow(i + 1));
    }
    InsertBefore(steps, "Button70s on compositionDecadeSelector", wardrobe);
    steps.push_back(MatchEnd(PhaseGameOver));
    auto mainMenu = [this] { return m_context.GetGameScreen().BoundWidget("RetryNo_MainMenu"); };
    steps.push_back({"the retry prompt", [=] { return Shown(mainMenu()); }, [&, this] {
                         money = profile()->Score;
                         signal ? void(std::raise(SIGTERM)) : Click(mainMenu());
                     }});
    if (!signal)
        steps.insert(steps.end(), {{"the main menu", [] { return PageSettled("compositionMainMenu"); },
                                    [this] { Send({.kind = MessageKind::CloseRequest}); }},
                                   OnPopup("VerifyQuit", "Confirm")});
    steps.push_back({"the program quitting by itself", [] { return false; }, nullptr, 10000});
    Play(std::move(steps), "");

    GameShow::PlayerProfileManager::Document saved;
    GameServices::KorvoGame::SavedGameManager().LoadSavedGame(&saved, u32(GameShow::PlayerProfileManager::GetProfileCount()));
    const GameShow::PlayerProfile* read = saved.GetSavedGame(0);
    ASSERT_TRUE(read && read->isUsed && read->SavedGameName == "Robin");
    // Head and eyes fixed, hair and the four outfit parts customizable, as the sample looks have them.
    EXPECT_EQ(looks[0].substr(0, looks[0].find(' ')), "---CCCCC");
    // The words of a look that differ from another's: 5 the top, 6 the bottoms, 8 the glasses.
    auto changed = [](const std::string& from, const std::string& to) {
        std::istringstream a(from), b(to);
        std::vector<size_t> at;
        size_t i = 0;
        for (std::string x, y; a >> x && b >> y; ++i)
            if (x != y)
                at.push_back(i);
        return at;
    };
    EXPECT_EQ(changed(looks[0], looks[1]), (std::vector<size_t>{5, 8})) << looks[0] << "\n" << looks[1];
    EXPECT_EQ(changed(looks[1], looks[2]), std::vector<size_t>{6}) << looks[1] << "\n" << looks[2];
    EXPECT_EQ(profiletest::Parts(read->AvatarDescription), looks[2]);
    // The effects volume dragged up from the default half; the music and voices left alone.
    ASSERT_EQ(volumesSet.size(), 3u);
    EXPECT_TRUE(volumesSet[0] > 50 && volumesSet[1] == 50 && volumesSet[2] == 50) << volumesSet[0];
    EXPECT_EQ(volumes(saved.GetSettings()), volumesSet);
    int wins = 0;
    EXPECT_TRUE(money > 0 && read->Score == money);
    EXPECT_TRUE(read->GetAttribute<int>("win25Matches70", wins) && wins == 1) << wins;
}

INSTANTIATE_TEST_SUITE_P(Quit, SampleMatchSaves, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Sigterm" : "WindowClosed"; });

}  // namespace
