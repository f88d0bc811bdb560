// Checks of images, fonts and widget animations: every picture the code sets or a layout
// names has its sprite, the sprite's material, the material's texture slots and their
// textures (decoded); every font key its font, the font's material and atlas; every widget
// animation the code plays its ".anm" that loads.
#include <cstdio>
#include <map>
#include <set>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGTrack.h"
#include "game/presentation/screens/QZ11DifficultySelector.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/presentation/screens/ScreenLoad.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "gameservices/game/CharacterAssemblyRecords.h"
#include "gameservices/widget/LayoutRecords.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/CompositionBase.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/ProfilesComposition.h"
#include "gameshow/WardrobeComposition.h"
#include "gameshow/WardrobeManager.h"
#include "platform/gfx/Image.h"
#include "tools/content/Checker.h"
#include "tools/content/InterfaceArt.h"

namespace content {

namespace {

using GameServices::Widget::RenderingSystemWidget;
using GameServices::Widget::sWidget;

constexpr const char* kInterfaceSource = "data/content/art/interface.txt";
constexpr const char* kCharacterArtSource = "data/content/art/characters.txt";
constexpr const char* kFontSource = "data/content/fonts.txt";
constexpr const char* kAnimationSource = "data/content/animations.txt";

std::string AsString(const TString<char>& text) { return text.c_str(); }

std::string Format(const char* pattern, int number) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, number);
    return text;
}

// Where a referring record sits: its source and entry label.
struct Site {
    SourceRef from;
    std::string entry;
};

class Art2D {
public:
    explicit Art2D(Checker& checker) : m_checker(checker) {
        for (const auto& [name, entry] : checker.Entries())
            m_byId.emplace(Crc32Hash(name.c_str()), &entry);
    }

    // The picture's sprite by the kind's rule, and for pictures the code sets at run time the
    // material the widget takes by the image's path.
    void Image(const std::string& image, bool firstDot, bool setAtRunTime, const Site& at, const std::string& what) {
        if (!m_done.insert(image + (firstDot ? "|1" : "|0") + (setAtRunTime ? "|r" : "")).second)
            return;
        const std::string sprite = AsString(RenderingSystemWidget::GetSpriteFileName(image.c_str(), firstDot));
        const PackageEntry* entry = m_checker.Use(sprite);
        if (!entry) {
            m_checker.Error(at.from, at.entry,
                            what + " \"" + image + "\" has no sprite \"" + sprite + "\" in any package");
            return;
        }
        const std::string& bytes = Bytes(*entry);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        b.Skip(12);
        b.ReadU32();  // blend mode
        b.ReadU32();  // width
        b.ReadU32();  // height
        const u32 material = b.ReadU32();
        if (b.Failed())
            return m_checker.Error(entry->from, entry->Label(), "sprite \"" + sprite + "\" is truncated");
        if (material)
            Material(material, *entry);
        if (setAtRunTime) {
            const std::string name = ImageFilesOf(image).material;
            if (const PackageEntry* own = m_checker.Use(name))
                Material(Crc32Hash(own->name.c_str()), *own);
            else
                m_checker.Error(at.from, at.entry,
                                what + " \"" + image + "\" has no material \"" + name + "\" in any package");
        }
    }

    // A font key: its font file by the widget rule, the font's material and atlas.
    void Font(const std::string& key, const Site& at, const std::string& what) {
        const std::string file = AsString(RenderingSystemWidget::GetFontFileName(key.c_str()));
        if (!m_done.insert(file).second)
            return;
        const PackageEntry* entry = m_checker.Use(file);
        if (!entry)
            return m_checker.Error(at.from, at.entry,
                                   what + " \"" + key + "\" has no font \"" + file + "\" in any package");
        const std::string& bytes = Bytes(*entry);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        b.Skip(12 + 8 * 4);
        b.ReadString();
        b.Skip(4 * 4);  // line height, stored value, texture size
        const u32 material = b.ReadU32();
        const u32 glyphs = b.ReadU32();
        if (b.Failed() || glyphs == 0 || !b.CheckCount(glyphs, u32(sizeof(AGGlyph))))
            return m_checker.Error(entry->from, entry->Label(), "font \"" + file + "\" is truncated or has no glyphs");
        if (!material)
            return m_checker.Error(entry->from, entry->Label(), "font \"" + file + "\" names no material");
        Material(material, *entry);
    }

    // Widget animation files load as the widgets play them.
    bool Animation(const std::string& name, const Site& at) {
        const PackageEntry* entry = m_checker.Use(name);
        if (!entry) {
            m_checker.Error(at.from, at.entry, "widget animation \"" + name + "\" is in no package");
            return false;
        }
        const std::string& bytes = Bytes(*entry);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        AGPrscAnimation animation;
        animation.Load(&b, 0, false, true);
        if (b.Failed() || animation.m_frameCount < 1.0f) {
            m_checker.Error(entry->from, entry->Label(), "widget animation \"" + name + "\" does not load");
            return false;
        }
        return true;
    }

private:
    const std::string& Bytes(const PackageEntry& entry) {
        auto [at, fresh] = m_bytes.emplace(entry.name, std::string());
        if (fresh)
            at->second = m_checker.Read(entry);
        return at->second;
    }

    const PackageEntry* ById(u32 id, const PackageEntry& from, const std::string& kind, const std::string& piece) {
        const auto found = m_byId.find(id);
        if (found == m_byId.end()) {
            m_checker.Error(from.from, from.Label(), kind + " names a " + piece + " that no package holds");
            return nullptr;
        }
        m_checker.Use(found->second->name);
        return found->second;
    }

    void Material(u32 id, const PackageEntry& from) {
        const PackageEntry* material = ById(id, from, "\"" + from.name + "\"", "material");
        if (!material || !m_done.insert(material->name).second)
            return;
        const std::string& bytes = Bytes(*material);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        b.Skip(12 + 4 * 4);
        AGTrack<f32> alpha;
        if (!b.Failed())
            alpha.Read(b);
        AGOwnedBuffer<u32> slots;
        AGReadNameIds(b, b.ReadU32(), slots);
        if (b.Failed() || slots.Count() == 0)
            return m_checker.Error(material->from, material->Label(),
                                   "material \"" + material->name + "\" is truncated or has no texture slot");
        for (u32 slot : slots)
            Slot(slot, *material);
    }

    void Slot(u32 id, const PackageEntry& from) {
        const PackageEntry* slot = ById(id, from, "material \"" + from.name + "\"", "texture slot");
        if (!slot || !m_done.insert(slot->name).second)
            return;
        const std::string& bytes = Bytes(*slot);
        AGMemBuffer b(bytes.data(), u32(bytes.size()));
        b.Skip(12);
        AGOwnedBuffer<u32> textures;
        AGReadNameIds(b, b.ReadU32(), textures);
        if (b.Failed() || textures.Count() == 0)
            return m_checker.Error(slot->from, slot->Label(),
                                   "texture slot \"" + slot->name + "\" is truncated or has no texture");
        for (u32 texture : textures)
            Texture(texture, *slot);
    }

    void Texture(u32 id, const PackageEntry& from) {
        const PackageEntry* texture = ById(id, from, "texture slot \"" + from.name + "\"", "texture");
        if (!texture || !m_done.insert(texture->name).second)
            return;
        const std::string& bytes = Bytes(*texture);
        platform::gfx::Image image;
        std::string error;
        if (!platform::gfx::DecodePng(bytes.data(), bytes.size(), image, error))
            m_checker.Error(texture->from, texture->Label(),
                            "texture \"" + texture->name + "\" does not decode: " + error);
        m_bytes.erase(texture->name);
    }

    Checker& m_checker;
    std::map<u32, const PackageEntry*> m_byId;
    std::map<std::string, std::string> m_bytes;
    std::set<std::string> m_done;
};

// The pictures the code sets, with the source that draws them.
std::vector<std::pair<std::string, const char*>> CodeImages() {
    using QZ2011::QZ11DifficultySelector;
    std::vector<std::pair<std::string, const char*>> images;
    for (u32 decade = 0; decade < QZ11DifficultySelector::kDecadeCount; ++decade)
        for (u32 difficulty = 0; difficulty < QZ11DifficultySelector::kDifficultyCount; ++difficulty)
            images.emplace_back(AsString(QZ11DifficultySelector::FamilyImage(difficulty, decade)), kCharacterArtSource);
    for (u32 decade = 1; decade <= QZ11DifficultySelector::kDecadeCount; ++decade)
        images.emplace_back(Format(QZ2011::ScreenTutorial::kSurveyReflectionImage, int(decade)), kInterfaceSource);
    using GameShow::GroupAwardsComposition;
    for (const char* image : {GroupAwardsComposition::kUnlockedPanel, GroupAwardsComposition::kLockedPanel,
                              GroupAwardsComposition::kLockedPrize, GameShow::WardrobeComposition::kEmptySlotPicture,
                              GameShow::ProfilesComposition::kBaseImage, GameShow::ProfilesComposition::kSelectedImage})
        images.emplace_back(image, kInterfaceSource);
    for (u32 group = 1; group <= GameShow::AwardsComposition::kGroupButtons; ++group)
        images.emplace_back(Format(GroupAwardsComposition::kIconPicture, int(group)), kInterfaceSource);
    const GameShow::Settings settings;
    for (const GameShow::DefaultLook& look : settings.GetDefaultLooks())
        images.emplace_back(AsString(look.ThumbnailFilename), kCharacterArtSource);
    return images;
}

// The widget animations the code plays.
std::vector<std::string> CodeAnimations() {
    using QZ2011::ScreenTutorial;
    using QZ2011::ScreenGame;
    std::vector<std::string> names(std::begin(ScreenGame::kAnimations), std::end(ScreenGame::kAnimations));
    for (const char* name : {ScreenTutorial::kFadeOutAnimation, ScreenTutorial::kLogoFadeIn,
                             ScreenTutorial::kPageAnimation, ScreenTutorial::kPageReflectionAnimation,
                             QZ2011::ScreenLoad::kLogoAnimation, QZ2011::ScreenLoad::kReflectionAnimation,
                             GameShow::CompositionBase::kSlideAnimation})
        names.push_back(name);
    for (int panel = 1; panel <= int(std::size(ScreenTutorial::kDecades)); ++panel) {
        names.push_back(Format(ScreenTutorial::kPanelFadeIn, panel));
        names.push_back(Format(ScreenTutorial::kReflectionFadeIn, panel));
    }
    return names;
}

// Every wardrobe item and hairstyle of the assembly files shows its thumbnail.
void CheckThumbnails(Checker& checker, Art2D& art) {
    namespace KG = GameServices::KorvoGame;
    using GameShow::WardrobeManager;
    auto check = [&](const PackageEntry& file, const TString<char>& item) {
        art.Image(AsString(GameShow::AwardsComposition::GetThumbnailName(item)), true, true, {file.from, file.Label()},
                  "item \"" + AsString(item) + "\": thumbnail");
    };
    for (const char* name :
         {WardrobeManager::kDefaultFile, WardrobeManager::kUnlockableFile, WardrobeManager::kExtraFile}) {
        const PackageEntry* list = checker.Find(name);
        GameServices::Utilities::SerializableVector<KG::sCharacterAssembly_KorvoCity> assemblies;
        if (!list || !checker.ReadXml(*list, "CharacterAssemblies", assemblies))
            continue;  // the character checks tell these
        for (const KG::sCharacterAssembly_KorvoCity& assembly : assemblies) {
            KG::sWardRobe_KorvoCity wardrobe;
            if (const PackageEntry* file = checker.Find(assembly.Wardrobe.c_str());
                file && checker.ReadXml(*file, "WardRobe", wardrobe))
                for (const auto& parts : wardrobe.Parts)
                    for (const KG::sOutFitPart_KorvoCity& part : parts)
                        check(*file, part.Name);
            KG::sAnatomy_KorvoCity anatomy;
            if (const PackageEntry* file = checker.Find(assembly.Anatomy.c_str());
                file && checker.ReadXml(*file, "AnatomyPart", anatomy))
                for (const KG::sAnatomyPart_KorvoCity& part : anatomy.Parts[KG::ANATOMY_HAIRSTYLE])
                    check(*file, part.Name);
        }
    }
}

bool IsImageKey(const std::string& key) {
    return key.starts_with("Image") && key.find("Size") == std::string::npos &&
           key.find("Position") == std::string::npos;
}

void CheckLayoutWidgets(Art2D& art, const GameServices::Utilities::SerializableVector<sWidget>& widgets,
                        const Site& at) {
    using GameServices::Widget::kLayoutImage;
    for (const sWidget& widget : widgets) {
        const std::string name = widget.m_Name.c_str();
        for (const auto& [key, value] : widget.m_Values.m_Texts) {
            if (IsImageKey(key) && !value.IsEmpty())
                art.Image(value.c_str(), widget.m_Type == kLayoutImage, widget.m_Type == kLayoutImage, at,
                          "\"" + name + "\" " + key);
            else if (key == "TextFontName" || key == "SpecialTextFontName")
                art.Font(value.c_str(), at, "\"" + name + "\" " + key);
        }
        CheckLayoutWidgets(art, widget.m_Children, at);
    }
}

}  // namespace

void CheckArt2D(Checker& checker) {
    Art2D art(checker);
    for (const auto& [image, source] : CodeImages())
        art.Image(image, true, true, {{source, 0}, ""}, "image");

    CheckThumbnails(checker, art);

    for (const auto& [name, entry] : checker.Entries()) {
        if (!name.ends_with(".xaml"))
            continue;
        GameServices::Widget::sWindow window;
        GameServices::Utilities::XmlReader reader;
        if (reader.ReadText(checker.Read(entry).c_str(), "UserControl", window) !=
            GameServices::Utilities::XmlReader::ReadOk) {
            checker.Error(entry.from, entry.Label(), "layout does not parse");
            continue;
        }
        CheckLayoutWidgets(art, window.m_Widgets, {entry.from, entry.Label()});
    }

    using QZ2011::ScreenGame;
    std::vector<std::string> fonts = {ScreenGame::kQuestionFont, ScreenGame::kSpecialQuestionFont, ""};
    fonts.insert(fonts.end(), std::begin(ScreenGame::kAnswerFonts), std::end(ScreenGame::kAnswerFonts));
    for (const std::string& key : fonts)
        art.Font(key, {{kFontSource, 0}, ""}, "font key");

    size_t animations = 0;
    for (const std::string& name : CodeAnimations())
        animations += art.Animation(name, {{kAnimationSource, 0}, ""});
    checker.Count("PRSC animations", animations);
}

}  // namespace content
