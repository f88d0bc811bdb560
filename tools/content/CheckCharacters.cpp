// Checks of assemblies, looks, awards and avatar art: the three assembly files and the
// wardrobes and anatomies they name, every item's model (skin-toned extra items in every tone)
// with its pieces, the wardrobe page's thumbnails, the default, opponent and other looks
// against their assembly, and "Awards.xml" against the game's award table.
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "game/presentation/AwardManager.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/CharacterAssemblyRecords.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/WardrobeComposition.h"
#include "gameshow/WardrobeManager.h"
#include "tools/content/Checker.h"

namespace content {

namespace {

namespace KG = GameServices::KorvoGame;
using GameShow::AwardsComposition;
using GameShow::WardrobeManager;

constexpr const char* kCharacterSource = "data/content/characters.txt";
constexpr const char* kAwardsFile = "data/content/awards.txt";
constexpr const char* kLooksPackage = "gameshowavatarxmls.dir";
constexpr u32 kParts = u32(KG::NB_ANATOMY_PART_TYPE) + u32(KG::NB_OUTFIT_PART_TYPE);

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

std::string Cut(const std::string& name) { return WardrobeManager::CutExtension(name.c_str()).c_str(); }

// One assembly with its part lists: anatomy types 0-3, then outfit types 0-3 as 4-7.
struct Assembly {
    std::string name;
    uint32_t id = 0;
    bool male = false;
    const PackageEntry* wardrobe = nullptr;
    const PackageEntry* anatomy = nullptr;
    std::vector<std::pair<uint32_t, std::string>> parts[kParts];
};

bool IsOutfit(u32 part) { return part >= KG::NB_ANATOMY_PART_TYPE; }

constexpr u32 kEyewearPart = u32(KG::NB_ANATOMY_PART_TYPE) + u32(KG::OUTFIT_EYEWEAR);

bool IsNoEyewear(const std::string& cut) {
    for (const char* name : GameShow::WardrobeComposition::kNoEyewearNames)
        if (cut == name)
            return true;
    return false;
}

class CharacterCheck {
public:
    explicit CharacterCheck(Checker& checker) : m_checker(checker) {
        for (const auto& [name, entry] : checker.Entries())
            m_byId[Crc32Hash(name.c_str())] = &entry;
    }

    void Run() {
        ReadAssemblies(WardrobeManager::kDefaultFile, m_defaults);
        ReadAssemblies(WardrobeManager::kUnlockableFile, m_unlockables);
        ReadAssemblies(WardrobeManager::kExtraFile, m_extras);
        CheckItems();
        CheckLooks();
        CheckAwards();
    }

private:
    // The entry of a file the game reads; an error naming the source that should make it when none.
    const PackageEntry* Need(const std::string& file, const char* source, const std::string& text) {
        const PackageEntry* entry = m_checker.Use(file);
        if (!entry)
            m_checker.Error({source, 0}, "", text);
        return entry;
    }

    template <typename Record>
    bool Read(const PackageEntry& entry, const char* element, Record& record) {
        if (m_checker.ReadXml(entry, element, record))
            return true;
        m_checker.Error(entry.from, entry.Label(), "does not parse as \"" + std::string(element) + "\"");
        return false;
    }

    void ReadAssemblies(const char* file, std::vector<Assembly>& into) {
        const PackageEntry* entry = Need(file, kCharacterSource, Quote(file) + " is in no package");
        WardrobeManager::AssemblyList list;
        if (!entry || !Read(*entry, "CharacterAssemblies", list))
            return;
        for (const KG::sCharacterAssembly_KorvoCity& record : list) {
            Assembly assembly;
            assembly.name = record.Name.c_str();
            assembly.id = record.Id;
            assembly.male = record.Gender == KG::CharacterAssembly::kMale;
            const std::string what = "assembly " + Quote(assembly.name) + " names ";
            assembly.wardrobe = m_checker.Use(record.Wardrobe.c_str());
            KG::sWardRobe_KorvoCity wardrobe;
            if (!assembly.wardrobe)
                m_checker.Error(entry->from, entry->Label(),
                                what + "wardrobe " + Quote(record.Wardrobe.c_str()) + ", which no package holds");
            else if (Read(*assembly.wardrobe, "WardRobe", wardrobe))
                for (u32 type = 0; type < KG::NB_OUTFIT_PART_TYPE; ++type)
                    for (const KG::sOutFitPart_KorvoCity& part : wardrobe.Parts[type])
                        assembly.parts[KG::NB_ANATOMY_PART_TYPE + type].emplace_back(part.Id, part.Name.c_str());
            if (!record.Anatomy.IsEmpty()) {
                const PackageEntry* anatomyEntry = assembly.anatomy = m_checker.Use(record.Anatomy.c_str());
                KG::sAnatomy_KorvoCity anatomy;
                if (!anatomyEntry)
                    m_checker.Error(entry->from, entry->Label(),
                                    what + "anatomy " + Quote(record.Anatomy.c_str()) + ", which no package holds");
                else if (Read(*anatomyEntry, "AnatomyPart", anatomy))
                    for (u32 type = 0; type < KG::NB_ANATOMY_PART_TYPE; ++type)
                        for (const KG::sAnatomyPart_KorvoCity& part : anatomy.Parts[type])
                            assembly.parts[type].emplace_back(part.Id, part.Name.c_str());
            }
            into.push_back(std::move(assembly));
        }
    }

    // A resource and the pieces it names by id, each marked used; a missing one is an error
    // of the record that names it.
    void UseChain(const PackageEntry& entry, const std::string& what) {
        if (!m_chained.insert(entry.name).second)
            return;
        const std::string bytes = m_checker.Read(entry);
        uint32_t type = 0;
        if (!U32(bytes, 0, type))
            return;
        std::vector<uint32_t> ids;
        size_t at = 12;
        uint32_t value = 0;
        if (type == Crc32Hash("model")) {
            uint32_t meshes = 0, materials = 0;
            if (!U32(bytes, at, value) || !U32(bytes, at + 68, meshes) || !U32(bytes, at + 72, materials))
                return m_checker.Error(entry.from, entry.Label(), "the model is truncated");
            ids.push_back(value);
            at += 84;
            for (uint32_t k = 0; k < meshes + materials && U32(bytes, at, value); ++k, at += 4)
                ids.push_back(value);
        } else if (type == Crc32Hash("sprite")) {
            if (U32(bytes, at + 12, value))
                ids.push_back(value);
        } else if (type == Crc32Hash("textureSlot")) {
            uint32_t count = 0;
            at += 4;
            for (U32(bytes, 12, count); ids.size() < count && U32(bytes, at, value); at += 4)
                ids.push_back(value);
        } else if (type == Crc32Hash("material") && !MaterialSlots(bytes, ids)) {
            return m_checker.Error(entry.from, entry.Label(), "the material's texture slots cannot be read");
        }
        for (uint32_t id : ids) {
            const auto found = m_byId.find(id);
            if (found == m_byId.end()) {
                m_checker.Error(entry.from, entry.Label(), what + " names a piece (id " + Hex(id) + ") no package holds");
                continue;
            }
            m_checker.Use(found->second->name);
            UseChain(*found->second, what);
        }
    }

    // A material ends in its slot count and the slot ids, after the colours and an alpha track
    // of its own length: the count is the word that many words before the end.
    static bool MaterialSlots(const std::string& bytes, std::vector<uint32_t>& ids) {
        constexpr uint32_t kMostSlots = 8;
        constexpr size_t kLeast = 12 + 16 + 8;  // header, colours and power, an empty track
        for (uint32_t count = 0; count <= kMostSlots; ++count) {
            uint32_t value = 0;
            const size_t at = bytes.size() - 4 * size_t(count + 1);
            if (bytes.size() < kLeast + 4 * size_t(count + 1) || !U32(bytes, at, value) || value != count)
                continue;
            for (size_t k = at + 4; U32(bytes, k, value); k += 4)
                ids.push_back(value);
            return true;
        }
        return false;
    }

    static bool U32(const std::string& bytes, size_t at, uint32_t& value) {
        if (at > bytes.size() || bytes.size() - at < 4)
            return false;
        value = 0;
        for (int k = 3; k >= 0; --k)
            value = value << 8 | uint8_t(bytes[at + size_t(k)]);
        return true;
    }

    static std::string Hex(uint32_t id) {
        char text[12];
        std::snprintf(text, sizeof text, "0x%08X", id);
        return text;
    }

    void UseModel(const std::string& model, const SourceRef& from, const std::string& label, const std::string& owner) {
        if (!m_models.insert(model).second)
            return;
        const PackageEntry* entry = m_checker.Use(model);
        if (!entry)
            return m_checker.Error(from, label, owner + " item " + Quote(model) + " has no model in any package");
        UseChain(*entry, "model " + Quote(model));
    }

    void UseThumbnail(const std::string& item, const SourceRef& from, const std::string& label) {
        const std::string picture = AwardsComposition::GetThumbnailName(item.c_str()).c_str();
        const std::string sprite =
            GameServices::Widget::RenderingSystemWidget::GetSpriteFileName(picture.c_str(), true).c_str();
        if (!m_thumbnails.insert(sprite).second)
            return;
        const PackageEntry* entry = m_checker.Use(sprite);
        if (!entry)
            return m_checker.Error(from, label, "the wardrobe shows " + Quote(picture) + " for " + Quote(item) +
                                                    "; no package holds its sprite " + Quote(sprite));
        UseChain(*entry, "sprite " + Quote(sprite));
    }

    // Every item's model; hair and outfit items' thumbnails; extra "skin01" items in every tone.
    void CheckItems() {
        for (const Assembly& assembly : m_defaults)
            if (GameShow::GetLookSuffix(assembly.name.c_str()).IsEmpty())
                m_checker.Error({kCharacterSource, 0}, "",
                                "assembly " + Quote(assembly.name) + " has no skin tone in the game's table");
        for (auto* set : {&m_defaults, &m_unlockables, &m_extras})
            for (const Assembly& assembly : *set) {
                const std::string owner = "assembly " + Quote(assembly.name);
                for (u32 part = 0; part < kParts; ++part)
                    for (const auto& [id, model] : assembly.parts[part]) {
                        const PackageEntry& file = IsOutfit(part) ? *assembly.wardrobe : *assembly.anatomy;
                        const SourceRef& from = file.from;
                        const std::string label = file.Label();
                        const std::string cut = Cut(model);
                        UseModel(model, from, label, owner);
                        // An extra "skin01" item is worn in the tone of each look of its gender.
                        if (set == &m_extras && cut.ends_with("skin01"))
                            for (const Assembly& look : m_defaults)
                                if (look.male == assembly.male)
                                    UseModel(cut + GameShow::GetLookSuffix(look.name.c_str()).c_str() + ".mdl", from,
                                             label, owner);
                        // A body's own skin-toned items wear its tone, the one the game gives its extra items.
                        const std::string tone = GameShow::GetLookSuffix(assembly.name.c_str()).c_str();
                        if (set == &m_defaults && cut.find("_skin01_") != std::string::npos && !tone.empty() &&
                            !cut.ends_with("_skin01" + tone))
                            m_checker.Error(from, label, "item " + Quote(model) + " is not in the skin tone " +
                                                             Quote(tone) + " of " + Quote(assembly.name));
                        if (IsOutfit(part) || part == KG::ANATOMY_HAIRSTYLE)
                            UseThumbnail(model, from, label);
                        if (part == kEyewearPart && IsNoEyewear(cut))
                            m_checker.Error(from, label, owner + " lists the no-glasses item " + Quote(model) +
                                                             ": the glasses tab shows its own");
                    }
            }
        // The glasses tab's own no-glasses choice, put on by its name as it is.
        const SourceRef from{kCharacterSource, 0};
        for (const char* name : GameShow::WardrobeComposition::kNoEyewearNames) {
            UseModel(name, from, "", "the wardrobe page's");
            UseThumbnail(name, from, "");
        }
    }

    static const Assembly* Find(const std::vector<Assembly>& set, const std::string& name) {
        for (const Assembly& assembly : set)
            if (assembly.name == name)
                return &assembly;
        return nullptr;
    }

    // One look: its assembly and each part in that assembly's lists; false when it cannot be read.
    bool CheckLook(const PackageEntry& entry, const std::string& file) {
        KG::sAppearance_KorvoCity look;
        if (!Read(entry, "Avatar_KorvoCity", look))
            return false;
        const SourceRef& from = entry.from;
        const std::string label = entry.Label();
        if (look.Name != file.c_str())
            m_checker.Error(from, label, "Name " + Quote(look.Name.c_str()) + " is not the file's name " + Quote(file));
        const Assembly* found = Find(m_defaults, look.CharacterAssemblyName.c_str());
        if (!found) {
            m_checker.Error(from, label, "CharacterAssembly_Name " + Quote(look.CharacterAssemblyName.c_str()) +
                                             " is not an assembly of " + Quote(WardrobeManager::kDefaultFile));
            return false;
        }
        const Assembly& assembly = *found;
        if (look.CharacterAssemblyId != assembly.id)
            m_checker.Error(from, label, "CharacterAssembly_Id " + std::to_string(look.CharacterAssemblyId) +
                                             " is not the id of " + Quote(assembly.name));
        bool ok = true;
        for (u32 part = 0; part < kParts; ++part) {
            const bool outfit = IsOutfit(part);
            const u32 type = outfit ? part - KG::NB_ANATOMY_PART_TYPE : part;
            const KG::sAppearance_KorvoCity::Entry& worn = outfit ? look.OutfitParts[type] : look.AnatomyParts[type];
            const std::string field = outfit ? KG::sAppearance_KorvoCity::kOutfitFields[type]
                                             : KG::sAppearance_KorvoCity::kAnatomyFields[type];
            // No glasses: the glasses tab's own item, worn by its name as the tab puts it on.
            const bool none = part == kEyewearPart &&
                              worn.Name == GameShow::WardrobeComposition::kNoEyewearNames[found->male ? 0 : 1];
            bool listed = none, idMatches = worn.Id == 0;
            for (const auto& [id, name] : assembly.parts[part]) {
                listed = listed || name == worn.Name.c_str();
                idMatches = idMatches || (id == worn.Id && name == worn.Name.c_str());
            }
            if (!listed)
                m_checker.Error(from, label, field + "_Name " + Quote(worn.Name.c_str()) + " is not in the " +
                                                 (outfit ? "wardrobe" : "anatomy") + " of " + Quote(assembly.name));
            else if (!idMatches)
                m_checker.Error(from, label, field + "_Id " + std::to_string(worn.Id) + " is not the id of " +
                                                 Quote(worn.Name.c_str()) + " in " + Quote(assembly.name));
            ok = ok && listed && idMatches;
        }
        return ok;
    }

    void CheckLooks() {
        std::set<std::string> checked;
        size_t defaults = 0, opponents = 0;
        for (const char* key : GameShow::Settings::kDefaultLookNames) {
            const std::string file = std::string(key) + ".xml";
            const PackageEntry* entry = m_checker.Use(file);
            checked.insert(EntryName(file));
            if (!entry || entry->package != kLooksPackage)
                m_checker.Error({kCharacterSource, 0}, "",
                                "default look " + Quote(file) + " is not in " + Quote(kLooksPackage));
            else if (CheckLook(*entry, file))
                ++defaults;
            const std::string thumbnail = "Thumbnail_" + std::string(key) + ".png";
            const std::string sprite =
                GameServices::Widget::RenderingSystemWidget::GetSpriteFileName(thumbnail.c_str(), true).c_str();
            if (const PackageEntry* picture = m_checker.Use(sprite))
                UseChain(*picture, "sprite " + Quote(sprite));
            else
                m_checker.Error({kCharacterSource, 0}, "",
                                "default look " + Quote(key) + " has no picture " + Quote(thumbnail));
        }
        using QZ2011::QZ11Game;
        for (u32 decade = 0; decade < QZ11Game::kOpponentDecades.size(); ++decade)
            for (u32 difficulty = 0; difficulty < QZ11Game::kOpponentDifficulties; ++difficulty)
                for (u32 member = 0; member < QZ11Game::kOpponentMembers.size(); ++member) {
                    const std::string file = QZ11Game::OpponentLookFile(decade, difficulty, member);
                    const PackageEntry* entry = m_checker.Use(file);
                    checked.insert(EntryName(file));
                    if (!entry)
                        m_checker.Error({kCharacterSource, 0}, "", "opponent look " + Quote(file) + " is in no package");
                    else if (CheckLook(*entry, file))
                        ++opponents;
                }
        // The other looks beside the assemblies (the host's): named by the levels, checked alike.
        for (const auto& [name, entry] : m_checker.Entries())
            if (!checked.count(name) && name.starts_with("appearance") && name.ends_with(".xml")) {
                KG::sAppearance_KorvoCity look;
                if (m_checker.ReadXml(entry, "Avatar_KorvoCity", look))
                    CheckLook(entry, look.Name.c_str());
            }
        m_checker.Count("default looks", defaults);
        m_checker.Count("opponent looks", opponents);
    }

    void CheckUnlockable(const GameShow::sAwardUnlockable& item, const std::string& title, const SourceRef& from,
                         const std::string& label) {
        const std::string what = "award " + Quote(title) + " unlocks " + Quote(item.UnlockableModel.c_str());
        const Assembly* assembly = Find(m_unlockables, item.AppearanceName.c_str());
        if (!assembly)
            return m_checker.Error(from, label, what + " for " + Quote(item.AppearanceName.c_str()) + ", which " +
                                                    Quote(WardrobeManager::kUnlockableFile) + " does not hold");
        u32 part = kParts;
        for (u32 type = 0; type < AwardsComposition::kOutfitTypes.size(); ++type)
            if (item.Type == AwardsComposition::kOutfitTypes[type])
                part = KG::NB_ANATOMY_PART_TYPE + type;
        if (item.Type == AwardsComposition::kHairType)
            part = KG::ANATOMY_HAIRSTYLE;
        if (part == kParts)
            return m_checker.Error(from, label, what + " of unknown Type " + Quote(item.Type.c_str()));
        for (const auto& [id, name] : assembly->parts[part])
            if (name == item.UnlockableModel.c_str())
                return;
        m_checker.Error(from, label, what + ", which is not a " + item.Type.c_str() + " item of " +
                                         Quote(assembly->name));
    }

    void CheckAwards() {
        const PackageEntry* entry =
            Need(AwardsComposition::kAwardsFile, kAwardsFile, Quote(AwardsComposition::kAwardsFile) + " is in no package");
        GameShow::sAwardList list;
        GameServices::Utilities::XmlReader reader;
        if (entry && !reader.ReadFile(m_checker.PathOf(*entry).c_str(), list, "root")) {
            m_checker.Error(entry->from, entry->Label(), "does not parse");
            entry = nullptr;
        }
        const SourceRef from = entry ? entry->from : SourceRef{kAwardsFile, 0};
        const std::string label = entry ? entry->Label() : "";
        std::map<std::string, int> titles;
        for (const auto& award : QZ2011::AwardManager::kAwards)
            titles[award.title] = 0;
        if (list.MetaAwards.size() > AwardsComposition::kGroupButtons)
            m_checker.Error(from, label, std::to_string(list.MetaAwards.size()) + " award groups; the awards page shows " +
                                             std::to_string(AwardsComposition::kGroupButtons));
        for (const GameShow::sMetaAward& group : list.MetaAwards) {
            if (group.Awards.size() > GameShow::GroupAwardsComposition::kSlotCount)
                m_checker.Error(from, label, "group " + Quote(group.Category.c_str()) + " holds " +
                                                 std::to_string(group.Awards.size()) + " awards; its page shows " +
                                                 std::to_string(GameShow::GroupAwardsComposition::kSlotCount));
            for (const GameShow::sAward& award : group.Awards) {
                const std::string title = award.Title.c_str();
                const auto known = titles.find(title);
                if (known == titles.end())
                    m_checker.Error(from, label, "award title " + Quote(title) + " is not one of the game's awards");
                else if (++known->second == 2)
                    m_checker.Error(from, label, "award title " + Quote(title) + " is given twice");
                std::set<std::string> looks;
                for (const GameShow::sAwardUnlockable& item : award.Unlockables) {
                    looks.insert(item.AppearanceName.c_str());
                    CheckUnlockable(item, title, from, label);
                }
                for (const char* key : GameShow::Settings::kDefaultLookNames)
                    if (!looks.count(key))
                        m_checker.Error(from, label, "award " + Quote(title) + " unlocks nothing for " + Quote(key));
            }
        }
        size_t found = 0;
        for (const auto& award : QZ2011::AwardManager::kAwards)
            if (titles[award.title] == 0)
                m_checker.Error(from, label, "the game's award " + Quote(award.title) + " is not in the file");
            else
                ++found;
        m_checker.Count("award titles", found);
    }

    Checker& m_checker;
    std::map<uint32_t, const PackageEntry*> m_byId;
    // The extra sets hold a male and a female assembly under one name.
    std::vector<Assembly> m_defaults, m_unlockables, m_extras;
    std::set<std::string> m_chained, m_models, m_thumbnails;
};

}  // namespace

void CheckCharacters(Checker& checker) { CharacterCheck(checker).Run(); }

}  // namespace content
