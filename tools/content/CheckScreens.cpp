// Checks of the screens, the menu pages, the popups and the string table: every widget name
// the game binds resolves in its scope (the screen's layout, the page's root panel, the
// popup's layout) with the kind the game needs; the layouts' limits (visibility, colours,
// keyboard lengths); every string id a layout, a popup or the code names has text.
#include <algorithm>
#include <cstring>
#include <cctype>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "engine/core/XmlReader.h"
#include "game/presentation/screens/QZ11DecadeSelector.h"
#include "game/presentation/screens/QZ11DifficultySelector.h"
#include "game/presentation/screens/QZ11MainMenuComposition.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/presentation/screens/ScreenLoad.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/game/SavedGameManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/widget/LayoutRecords.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/PopupRecords.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetManager.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/BasicLookComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/ConnectionErrorComposition.h"
#include "gameshow/CreditsComposition.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/KeyboardComposition.h"
#include "gameshow/MainMenuComposition.h"
#include "gameshow/MenuScreen.h"
#include "gameshow/NumberOfPlayerComposition.h"
#include "gameshow/OptionsComposition.h"
#include "gameshow/ProfilesComposition.h"
#include "gameshow/WardrobeComposition.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"
#include "tools/content/CheckLayout.h"
#include "tools/content/Checker.h"
#include "tools/content/InterfaceLayout.h"
#include "tools/content/LayoutDoc.h"

namespace content {

namespace {

namespace W = GameServices::Widget;
using Names = std::span<const char* const>;

constexpr const char* kPopupSource = "data/content/popups.txt";
constexpr const char* kStringSource = "data/strings/english.txt";

// The element name of each layout kind (without the widget library's prefix), for messages;
// an entry the engine's element table disagrees with is not used (see KindName).
constexpr const char* kKindNames[] = {"Button",     "CheckBox",     "SliderButton", "SliderTrackBar", "Image",
                                      "Label",      "ScrollText",   "Grid",         "SoftKeyboard",   "Emitter3D",
                                      "ResizableWindow", "Video",   "ViewPort3D",   "Compositor"};

std::string KindName(i32 type) {
    if (type >= 0 && type < i32(std::size(kKindNames))) {
        const std::string name = kKindNames[type];
        if (W::LayoutTypeOf(name.c_str()) == type || W::LayoutTypeOf(("GsWidgetLibrary:" + name).c_str()) == type)
            return name;
    }
    return "widget of kind " + std::to_string(type);
}

// The layout kind a ScreenGame binding needs; kLayoutNone for any widget.
i32 NeededKind(QZ2011::ScreenGame::WidgetKind kind) {
    using Kind = QZ2011::ScreenGame::WidgetKind;
    switch (kind) {
    case Kind::Text:
        return W::kLayoutLabel;
    case Kind::Button:
        return W::kLayoutButton;
    case Kind::Keyboard:
        return W::kLayoutSoftKeyboard;
    case Kind::Window:
        return W::kLayoutResizableWindow;
    case Kind::Plain:
        break;
    }
    return W::kLayoutNone;
}

class ScreenChecks {
public:
    explicit ScreenChecks(Checker& checker) : m_checker(checker), m_strings(checker), m_layout(checker, m_strings) {}

    void Run() {
        const std::map<std::string, std::string> layouts = ReadFlow();
        QZ2011::ScreenGame screenGame;
        const auto contract = screenGame.WidgetContract();

        if (const LayoutDoc* doc = Screen(layouts, QZ2011::ScreenGame::kName)) {
            for (const auto& binding : contract)
                if (const W::sWidget* widget = Bound(*doc, QZ2011::ScreenGame::kName, binding.name.c_str()))
                    CheckKind(*doc, *widget, QZ2011::ScreenGame::kName, NeededKind(binding.kind));
            CheckViewports(*doc);
        }
        CheckScreen(layouts, QZ2011::ScreenTutorial::kName, QZ2011::ScreenTutorial::kWidgets);
        CheckScreen(layouts, QZ2011::ScreenLoad::kName, QZ2011::ScreenLoad::kWidgets);
        CheckScreen(layouts, QZ2011::ScreenStartup::kName, QZ2011::ScreenStartup::kWidgets);
        const size_t menuWidgets = CheckMenu(layouts);
        for (const auto& [screen, doc] : m_docs) {
            CheckLimits(doc);
            const bool menu = screen == GameShow::MenuScreen::kLayoutName;
            m_layout.Check(doc, menu ? m_menuPages : std::vector<LayoutPage>{}, RuntimeTexts(screen, doc));
        }
        const size_t popups = CheckPopups();
        if (!m_strings.Has(GameServices::KorvoGame::TeamActionManager::kControllerTextId))
            m_checker.Error({kStringSource, 0}, "",
                            "string id \"" + std::string(GameServices::KorvoGame::TeamActionManager::kControllerTextId) +
                                "\" has no text");

        m_checker.Count("ScreenGame widgets", contract.size());
        m_checker.Count("menu widgets", menuWidgets);
        m_checker.Count("tutorial widgets", std::size(QZ2011::ScreenTutorial::kWidgets));
        m_checker.Count("loading widgets", std::size(QZ2011::ScreenLoad::kWidgets));
        m_checker.Count("start-up widgets", std::size(QZ2011::ScreenStartup::kWidgets));
        m_checker.Count("popups", popups);
        m_checker.Count("laid-out texts", m_layout.Texts());
    }

private:
    // The navigation file: each screen's layout file; a layout no package holds is told here.
    std::map<std::string, std::string> ReadFlow() {
        std::map<std::string, std::string> layouts;
        const char* file = W::ScreenManager::kNavigationFile;
        const PackageEntry* entry = m_checker.Use(file);
        if (!entry) {
            m_checker.Error({"data/content/layouts/flow.txt", 0}, "", "\"" + std::string(file) + "\" is in no package");
            return layouts;
        }
        W::sSketchFlow flow;
        GameServices::Utilities::XmlReader reader;
        if (!reader.ReadFile(m_checker.PathOf(*entry).c_str(), flow, "Data")) {
            m_checker.Error(entry->from, entry->Label(), "\"" + std::string(file) + "\" does not parse");
            return layouts;
        }
        for (const W::sSketchFlowScreen& screen : flow.m_Screens) {
            const std::string layout = screen.m_FileName.c_str();
            layouts[screen.m_DisplayName.c_str()] = layout;
            if (!m_checker.Find(layout))
                m_checker.Error(RecordLine(m_checker, entry->from, 0, screen.m_DisplayName.c_str()), entry->Label(),
                                "screen \"" + std::string(screen.m_DisplayName.c_str()) + "\" names layout \"" +
                                    layout + "\", which no package holds");
        }
        return layouts;
    }

    // The layout document of a screen the game loads; null (told) when the flow lacks it.
    const LayoutDoc* Screen(const std::map<std::string, std::string>& layouts, const std::string& screen) {
        const auto found = layouts.find(screen);
        if (found == layouts.end()) {
            m_checker.Error({"data/content/layouts/flow.txt", 0}, "",
                            "screen \"" + screen + "\" is not in \"" + W::ScreenManager::kNavigationFile + "\"");
            return nullptr;
        }
        const LayoutDoc& doc = m_docs.try_emplace(screen, m_checker, found->second).first->second;
        return doc.Read() ? &doc : nullptr;
    }

    const W::sWidget* Bound(const LayoutDoc& doc, const std::string& screen, const std::string& name) {
        const W::sWidget* widget = doc.Find(name);
        if (!widget)
            m_checker.Error(doc.Entry()->from, doc.Entry()->Label(),
                            "screen \"" + screen + "\" binds \"" + name + "\", which its layout does not hold");
        return widget;
    }

    void CheckKind(const LayoutDoc& doc, const W::sWidget& widget, const std::string& owner, i32 kind) {
        if (kind != W::kLayoutNone && widget.m_Type != kind)
            m_checker.Error(doc.From(widget), doc.Entry()->Label(),
                            "\"" + std::string(widget.m_Name.c_str()) + "\" is a " + KindName(widget.m_Type) + "; " +
                                owner + " needs a " + KindName(kind));
    }

    // The viewports the screen shows as components: 3D viewports of the match level's face
    // component levels, left then right.
    void CheckViewports(const LayoutDoc& doc) {
        const std::string screen = QZ2011::ScreenGame::kName;
        for (size_t side = 0; side < std::size(QZ2011::ScreenGame::kViewports); ++side) {
            const std::string name = QZ2011::ScreenGame::kViewports[side];
            const W::sWidget* widget = doc.Find(name);
            if (!widget) {
                m_checker.Error(doc.Entry()->from, doc.Entry()->Label(),
                                "screen \"" + screen + "\" shows the viewport \"" + name + "\", which its layout does not hold");
                continue;
            }
            if (widget->m_Type != W::kLayoutViewPort3D) {
                CheckKind(doc, *widget, screen, W::kLayoutViewPort3D);
                continue;
            }
            const std::string level = widget->m_Values.Text("ComponentLevelName").c_str();
            const char* face = QZ2011::QZ11Game::kFaces[side][0];
            if (level != face)
                m_checker.Error(doc.From(*widget), doc.Entry()->Label(),
                                "viewport \"" + name + "\" shows the component level \"" + level + "\"; the match loads \"" +
                                    face + "\" there");
        }
    }

    void CheckScreen(const std::map<std::string, std::string>& layouts, const char* screen, Names names) {
        if (const LayoutDoc* doc = Screen(layouts, screen))
            for (const char* name : names)
                Bound(*doc, screen, name);
    }

    // The pages' root panels and the names each page looks up under its own; the names the
    // manager finds under the screen's root. The count is of all of them.
    size_t CheckMenu(const std::map<std::string, std::string>& layouts) {
        using namespace GameShow;
        using QZ2011::QZ11DecadeSelector;
        using QZ2011::QZ11DifficultySelector;
        const struct {
            const char* page;
            Names names;
        } pages[] = {
            {CompositionManager::kMainMenu, MainMenuComposition::kWidgets},
            {BasicLookComposition::kName, BasicLookComposition::kWidgets},
            {ConnectionErrorComposition::kName, ConnectionErrorComposition::kWidgets},
            {KeyboardComposition::kName, KeyboardComposition::kWidgets},
            {OptionsComposition::kName, OptionsComposition::kWidgets},
            {ProfilesComposition::kName, ProfilesComposition::kWidgets},
            {NumberOfPlayerComposition::kName, NumberOfPlayerComposition::kWidgets},
            {CreditsComposition::kName, CreditsComposition::kWidgets},
            {AwardsComposition::kName, AwardsComposition::kWidgets},
            {GroupAwardsComposition::kName, GroupAwardsComposition::kWidgets},
            {CompositionManager::kWardrobe, WardrobeComposition::kWidgets},
            {QZ11DecadeSelector::kName, QZ11DecadeSelector::kWidgets},
            {QZ11DifficultySelector::kName, QZ11DifficultySelector::kWidgets},
        };
        // Widgets the pages take as a kind of their own.
        const struct {
            const char* page;
            const char* name;
            i32 kind;
        } kinds[] = {
            {KeyboardComposition::kName, KeyboardComposition::kWidgets[0], W::kLayoutSoftKeyboard},
            {CreditsComposition::kName, CreditsComposition::kWidgets[1], W::kLayoutScrollText},
            {OptionsComposition::kName, OptionsComposition::kWidgets[4], W::kLayoutSliderTrackBar},
            {OptionsComposition::kName, OptionsComposition::kWidgets[5], W::kLayoutSliderTrackBar},
            {OptionsComposition::kName, OptionsComposition::kWidgets[6], W::kLayoutSliderTrackBar},
        };
        size_t count = std::size(CompositionManager::kSharedWidgets);
        // The profile bar (name tag and wardrobe button) is moved out of sight by the look and
        // name pages, the wardrobe button by the wardrobe itself.
        const char* const wardrobe = CompositionManager::kSharedWidgets[2];
        const char* const tag = CompositionManager::kSharedWidgets[3];
        for (const auto& page : pages) {
            count += 1 + page.names.size();
            const std::string name = page.page;
            const bool bar = name == BasicLookComposition::kName || name == KeyboardComposition::kName;
            m_menuPages.push_back({name, bar ? std::vector<std::string>{wardrobe, tag}
                                             : name == CompositionManager::kWardrobe ? std::vector<std::string>{wardrobe}
                                                                                     : std::vector<std::string>{}});
        }
        const LayoutDoc* doc = Screen(layouts, MenuScreen::kLayoutName);
        if (!doc)
            return count;
        const std::string screen = MenuScreen::kLayoutName;
        for (const char* name : CompositionManager::kSharedWidgets)
            Bound(*doc, screen, name);
        for (const auto& page : pages) {
            const W::sWidget* root = doc->Find(page.page);
            if (!root) {
                m_checker.Error(doc->Entry()->from, doc->Entry()->Label(),
                                "page \"" + std::string(page.page) + "\" has no root panel in " + screen);
                continue;
            }
            for (const char* name : page.names) {
                const W::sWidget* widget = doc->Find(name, root);
                if (!widget) {
                    m_checker.Error(doc->Entry()->from, doc->Entry()->Label(),
                                    "page \"" + std::string(page.page) + "\" looks up \"" + name +
                                        "\", which its root panel does not hold");
                    continue;
                }
                for (const auto& kind : kinds)
                    if (kind.page == page.page && std::string(kind.name) == name)
                        CheckKind(*doc, *widget, page.page, kind.kind);
            }
        }
        return count;
    }

    // The question bank's texts as the match shows them: each question whole (a special one in
    // its own font), and what the computer family types (a right answer up to its slash, the top
    // answer whole, a wrong one).
    void BankTexts(std::vector<std::string>& questions, std::vector<std::string>& special,
                   std::vector<std::string>& answers) {
        using QZ2011::ScreenGame;
        const PackageEntry* list = m_checker.Find("list.txt");
        if (!list)
            return;  // the sound checks tell it
        const std::string names = m_checker.Read(*list);
        std::set<std::string> typed;
        const size_t count = size_t(std::count(names.begin(), names.end(), '\n'));
        for (size_t n = 0; n < count && n < QZ2011::QuestionManager::kMaxQuestions; ++n) {
            const PackageEntry* file = m_checker.Find(std::to_string(n) + ".bin");
            const std::string bytes = file ? m_checker.Read(*file) : std::string();
            QZ2011::Question question;
            if (!file || !question.Parse(bytes.data(), u32(bytes.size())) || !question.Text())
                continue;
            const bool isSpecial = std::find_if(std::begin(ScreenGame::kSpecialIds), std::end(ScreenGame::kSpecialIds),
                                                [&](const char* id) { return question.Id() && std::strcmp(id, question.Id()) == 0; }) !=
                                   std::end(ScreenGame::kSpecialIds);
            (isSpecial ? special : questions).push_back(question.Text());
            for (u32 i = 0; i < question.AnswerCount(); ++i)
                if (const char* text = question.GetAnswer(i).Text()) {
                    const char* slash = std::strchr(text, '/');
                    typed.insert(slash ? std::string(text, size_t(slash - text)) : std::string(text));
                    if (i == 0)
                        typed.insert(text);
                }
            for (u32 i = 0; i < question.WrongAnswerCount(); ++i)
                if (const char* text = question.GetWrongAnswer(i))
                    typed.insert(text);
        }
        answers.assign(typed.begin(), typed.end());
    }

    // What the code puts into a screen's widgets: points and totals of the match, the player's
    // score (formatted by the game), award progress, the typed player name, and the titles and
    // descriptions of the award groups and awards.
    std::vector<RuntimeText> RuntimeTexts(const std::string& screen, const LayoutDoc& doc) {
        const std::string digits = "0123456789";
        if (screen == QZ2011::ScreenGame::kName) {
            std::vector<RuntimeText> texts = {{"FreqLabel", digits, "points", {}, ""},
                                              {"CenterFreqLabel", digits, "points", {}, ""},
                                              {"FreqLabelFM", digits, "points", {}, ""},
                                              {"FMTotal", digits, "a total", {}, ""},
                                              {"QuestionLabel", "", "the question", {}, "", QZ2011::ScreenGame::kQuestionFont},
                                              {"QuestionLabel", "", "the question", {}, "", QZ2011::ScreenGame::kSpecialQuestionFont},
                                              {"AIAnswer", "", "the computer's answer", {}, ""}};
            BankTexts(texts[4].texts, texts[5].texts, texts[6].texts);
            return texts;
        }
        if (screen != GameShow::MenuScreen::kLayoutName)
            return {};
        using GameShow::CompositionManager;
        const std::string score = std::string(CompositionManager::FormatScore(1234567890u, true).c_str()) +
                                  CompositionManager::FormatScore(1234567890u, false).c_str();
        std::string name = digits;
        if (const W::sWidget* keys = doc.Find(GameShow::KeyboardComposition::kWidgets[0]))
            name += std::string(keys->m_Values.Text("TextCharQWERTY").c_str()) +
                    keys->m_Values.Text("TextCharABCDE").c_str();
        std::vector<RuntimeText> texts = {{CompositionManager::kSharedWidgets[1], score, "a score", {}, ""},
                                          {"progressLabel", digits + "/", "award progress", {}, ""},
                                          {CompositionManager::kSharedWidgets[0], name, "a typed name", {}, ""}};
        GameShow::sAwardList awards;
        const PackageEntry* file = m_checker.Find(GameShow::AwardsComposition::kAwardsFile);
        GameServices::Utilities::XmlReader reader;
        if (!file || !reader.ReadFile(m_checker.PathOf(*file).c_str(), awards, "root"))
            return texts;  // the character checks tell it
        RuntimeText groups{"group", "", "the group title", {}, GameShow::AwardsComposition::kName};
        RuntimeText titles{"awardName", "", "the award title", {}, GameShow::GroupAwardsComposition::kName};
        RuntimeText descriptions{"awardDescription", "", "the description", {}, GameShow::GroupAwardsComposition::kName};
        for (const GameShow::sMetaAward& group : awards.MetaAwards) {
            groups.texts.push_back(group.Title.c_str());
            for (const GameShow::sAward& award : group.Awards) {
                titles.texts.push_back(award.Title.c_str());
                descriptions.texts.push_back(award.Description.c_str());
            }
        }
        RuntimeText heading = groups;
        heading.prefix = "title";
        heading.page = GameShow::GroupAwardsComposition::kName;
        texts.insert(texts.end(), {groups, heading, titles, descriptions});
        return texts;
    }

    // What every widget of a layout must satisfy.
    void CheckLimits(const LayoutDoc& doc) {
        if (!doc.Read())
            return;
        const std::string label = doc.Entry()->Label();
        doc.ForEach([&](const W::sWidget& widget) {
            const std::string name = widget.m_Name.c_str();
            const SourceRef from = doc.From(widget);
            const std::string visibility = widget.m_Visibility.c_str();
            if (visibility != "Visible" && visibility != "Hidden" && visibility != "Collapsed")
                m_checker.Error(from, label,
                                "\"" + name + "\" has Visibility \"" + visibility +
                                    "\"; the game shows a widget only for exactly \"Visible\"");
            if (widget.m_Type == W::kLayoutSoftKeyboard && widget.m_Values.UInt("MaxEntryTextChar") == 0)
                m_checker.Error(from, label, "soft keyboard \"" + name + "\" sets no MaxEntryTextChar");
            if (widget.m_Type == W::kLayoutResizableWindow)
                for (const char* key : {"ImageCenterSize", "ImageBorderSize"}) {
                    const AGVec2 size = W::WidgetManager::ParsePosition(widget.m_Values.Text(key));
                    if (!(size.x >= 0.0f && size.x <= 1.0f && size.y >= 0.0f && size.y <= 1.0f))
                        m_checker.Error(from, label, "\"" + name + "\" has " + key + " \"" +
                                                         widget.m_Values.Text(key).c_str() +
                                                         "\"; both values must be fractions of the window's size, "
                                                         "from 0 to 1");
                }
            std::vector<std::pair<std::string, std::string>> colours = {{"Background", widget.m_Background.c_str()}};
            for (const auto& [key, value] : widget.m_Values.m_Texts)
                if (key.ends_with("Color") && !value.IsEmpty())
                    colours.emplace_back(key, value.c_str());
            for (const auto& [key, value] : colours)
                if (!IsColour(value))
                    m_checker.Error(from, label, "\"" + name + "\" has " + key + " \"" + value + "\", which is no colour");
            std::vector<std::string> ids = {widget.m_StringId.c_str()};
            for (const auto& [key, value] : widget.m_Values.m_Texts)
                if (key.starts_with("StringId"))
                    ids.push_back(value.c_str());
            for (const std::string& id : ids)
                if (!m_strings.Has(id))
                    m_checker.Error(from, label, "\"" + name + "\" names string id \"" + id + "\", which has no text");
        });
    }

    // An ARGB colour as the widget code reads it: "#" or "0x", then one to eight hex digits.
    static bool IsColour(const std::string& text) {
        size_t at = text.starts_with("#") ? 1 : text.starts_with("0x") || text.starts_with("0X") ? 2 : 0;
        const size_t digits = text.size() - at;
        return digits >= 1 && digits <= 8 && std::all_of(text.begin() + at, text.end(), [](char c) {
                   return std::isxdigit(static_cast<unsigned char>(c)) != 0;
               });
    }

    // The two popups files: priorities, limits, layouts, option buttons and message labels,
    // string ids; then every popup and option button the game names. The count is of the
    // popups the game names that a file describes.
    size_t CheckPopups() {
        struct Described {
            const W::sPopupInfo* info;
            const PackageEntry* entry;
        };
        std::map<std::string, Described> described;
        std::vector<std::unique_ptr<W::sPopups>> files;
        const SourceFile source(m_checker.DataRoot(), std::string(kPopupSource).substr(5));
        for (const char* file : {W::ScreenManager::kPopupsFile, GameShow::CompositionManager::kPopupsFile}) {
            const PackageEntry* entry = m_checker.Use(file);
            if (!entry) {
                m_checker.Error({kPopupSource, 0}, "", "popups file \"" + std::string(file) + "\" is in no package");
                continue;
            }
            auto popups = std::make_unique<W::sPopups>();
            GameServices::Utilities::XmlReader reader;
            if (!reader.ReadFile(m_checker.PathOf(*entry).c_str(), *popups, "Root")) {
                m_checker.Error(entry->from, entry->Label(), "popups file \"" + std::string(file) + "\" does not parse");
                continue;
            }
            if (popups->m_Popups.size() > W::ScreenManager::kPopupPoolSize)
                m_checker.Error(entry->from, entry->Label(),
                                std::to_string(popups->m_Popups.size()) + " popups, more than the " +
                                    std::to_string(W::ScreenManager::kPopupPoolSize) + " the game keeps");
            for (const W::sPopupInfo& info : popups->m_Popups) {
                described[info.m_Name.c_str()] = {&info, entry};
                CheckPopup(info, *entry, PopupLine(source, info.m_Name.c_str()));
            }
            files.push_back(std::move(popups));
        }
        // The popups and buttons the game names.
        using GameServices::KorvoGame::SavedGameManager;
        using GameServices::KorvoGame::TeamActionManager;
        std::vector<std::pair<std::string, std::string>> named = {
            {GameServices::MiniGame::BaseGame::kPausePopup, ""},
            {SavedGameManager::kDataCorruption, SavedGameManager::kButton01},
            {SavedGameManager::kDataCorruption, SavedGameManager::kButton02},
            {SavedGameManager::kWriteError, SavedGameManager::kButton01},
            {TeamActionManager::kControllerPopup, ""},
            {GameShow::QZ11MainMenuComposition::kWaitPopup, GameShow::QZ11MainMenuComposition::kWaitBackButton},
            {GameShow::NumberOfPlayerComposition::kWaitPopup, ""},
            {GameShow::MainMenuComposition::kQuitPopup, ""},
            {GameShow::ProfilesComposition::kDeletePopup, ""},
            {GameShow::KeyboardComposition::kNameTakenPopup, ""},
        };
        for (const auto& row : GameShow::CompositionManager::kPopupButtons)
            named.emplace_back(row.popup, row.button);
        std::set<std::string> found;
        std::set<std::string> missing;
        for (const auto& [popup, button] : named) {
            const auto it = described.find(popup);
            if (it == described.end()) {
                if (missing.insert(popup).second)
                    m_checker.Error({kPopupSource, 0}, "", "the game shows popup \"" + popup + "\", which no popups file describes");
                continue;
            }
            found.insert(popup);
            const auto& options = it->second.info->m_Options;
            if (!button.empty() && std::none_of(options.begin(), options.end(), [&](const W::sPopupOptions& option) {
                    return option.m_Name == button.c_str();
                }))
                m_checker.Error(PopupLine(source, popup), it->second.entry->Label(),
                                "popup \"" + popup + "\" has no option \"" + button + "\", which the game answers");
        }
        return found.size();
    }

    static SourceRef PopupLine(const SourceFile& source, const std::string& name) {
        for (const SourceLine& line : source.Lines())
            if (line.fields.size() > 2 && line.fields[0] == "popup" && line.fields[2] == name)
                return {kPopupSource, line.line};
        return {kPopupSource, 0};
    }
    // The line of a source whose field `field` is `name`; the source alone when none is.
    static SourceRef RecordLine(const Checker& checker, const SourceRef& source, size_t field, const std::string& name) {
        if (!source.file.starts_with("data/"))
            return source;
        const SourceFile file(checker.DataRoot(), source.file.substr(5));
        for (const SourceLine& line : file.Lines())
            if (line.fields.size() > field && line.fields[field] == name)
                return {source.file, line.line};
        return source;
    }

    void CheckPopup(const W::sPopupInfo& info, const PackageEntry& entry, const SourceRef& from) {
        const std::string name = info.m_Name.c_str();
        const std::string label = entry.Label();
        if (info.m_Priority == 0)
            m_checker.Error(from, label, "popup \"" + name + "\" has priority 0 and would never show");
        std::vector<std::string> ids = {info.m_Title.m_StringId.c_str(), info.m_Text.m_StringId.c_str()};
        for (const auto& option : info.m_Options)
            ids.push_back(option.m_StringId.c_str());
        for (const auto& message : info.m_Messages)
            ids.push_back(message.m_StringId.c_str());
        for (const std::string& id : ids)
            if (!m_strings.Has(id))
                m_checker.Error(from, label, "popup \"" + name + "\" names string id \"" + id + "\", which has no text");
        const std::string layout = info.m_Layout.c_str();
        const auto doc = m_popupLayouts.try_emplace(layout, m_checker, layout).first;
        if (!doc->second.Entry()) {
            m_checker.Error(from, label, "popup \"" + name + "\" uses layout \"" + layout + "\", which no package holds");
            return;
        }
        if (!doc->second.Read())
            return;
        if (m_limitsDone.insert(layout).second) {
            CheckLimits(doc->second);
            m_layout.Check(doc->second, {}, {});
        }
        m_layout.CheckPopup(doc->second, info, from, label);
        for (const auto& option : info.m_Options) {
            const W::sWidget* button = doc->second.Find(option.m_Name.c_str());
            if (!button || button->m_Type != W::kLayoutButton)
                m_checker.Error(from, label,
                                "popup \"" + name + "\" has option \"" + option.m_Name.c_str() + "\", which is no button of " +
                                    layout);
        }
        for (const char* textLabel : W::Popup::kTextLabels) {
            const W::sWidget* text = doc->second.Find(textLabel);
            if (!text || (text->m_Type != W::kLayoutLabel && text->m_Type != W::kLayoutButton))
                m_checker.Error(from, label,
                                "popup \"" + name + "\" uses layout \"" + layout + "\", which has no label \"" +
                                    textLabel + "\"");
        }
        for (const auto& message : info.m_Messages) {
            const W::sWidget* text = doc->second.Find(message.m_Name.c_str());
            if (!text || text->m_Type != W::kLayoutLabel)
                m_checker.Error(from, label,
                                "popup \"" + name + "\" has message \"" + message.m_Name.c_str() + "\", which is no label of " +
                                    layout);
        }
    }

    Checker& m_checker;
    LoadedStrings m_strings;
    LayoutCheck m_layout;
    std::vector<LayoutPage> m_menuPages;
    std::map<std::string, LayoutDoc> m_docs;
    std::map<std::string, LayoutDoc> m_popupLayouts;
    std::set<std::string> m_limitsDone;
};

}  // namespace

void CheckScreens(Checker& checker) { ScreenChecks(checker).Run(); }

}  // namespace content
