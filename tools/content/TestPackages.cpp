#include "tools/content/TestPackages.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/FontBaker.h"
#include "tools/authoring/LocalizationWriter.h"
#include "tools/authoring/OggVorbisWriter.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/PlaceholderSprites.h"
#include "tools/authoring/TrackWriter.h"

namespace content {

namespace {

// The regular files of a folder, in name order; false, reported, when it cannot be listed.
bool ListFolder(const std::filesystem::path& folder, std::vector<std::filesystem::path>& files) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file())
            files.push_back(it->path());
    if (error)
        fprintf(stderr, "content testpack: cannot list %s: %s\n", folder.c_str(), error.message().c_str());
    std::sort(files.begin(), files.end());
    return !error;
}

// Every file of the folder, by lower-cased name, in name order so the index is reproducible.
bool AddFolder(authoring::PackageWriter& package, const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    if (!ListFolder(folder, files))
        return false;
    for (const auto& file : files) {
        std::string bytes;
        if (!authoring::ReadWholeFile(file.string(), bytes)) {
            fprintf(stderr, "content testpack: cannot read %s\n", file.c_str());
            return false;
        }
        package.Add(authoring::LowerName(file.filename().string()), TypeKey::Data, bytes);
    }
    return true;
}

constexpr uint32_t kFontPixels = 24;
constexpr uint32_t kMixRate = 44100;

// Pictures the menu pages set at run time, and the menu level's cursor.
const char* const kMenuPictures[] = {"Awards_Locked.png", "Award_Panel.png",  "Award_Panel_Locked.png",
                                     "Icon_Award1.png",   "Icon_Award2.png",  "Icon_Award3.png",
                                     "Icon_Award4.png",   "Icon_Award5.png",  "Profile_Base.png",
                                     "Profile_Selected.png", "Menu_Cursor.png"};
// The difficulty page's opponent families, three for each decade.
const char* const kFamilyPictureWords[] = {"Easy", "Normal", "Hard"};
const char* const kFamilyPictureDecades[] = {"70", "80", "90", "00"};

// "THUMBNAIL_" + the model without extension (a skin colour after "_skin01" cut) + ".png".
std::string ThumbnailOf(std::string model) {
    if (const size_t dot = model.rfind('.'); dot != std::string::npos && dot > 0)
        model.resize(dot);
    if (const size_t skin = model.find("_skin01_"); skin != std::string::npos)
        model.resize(skin + 7);
    return authoring::LowerName("THUMBNAIL_" + model + ".png");
}

// The thumbnail of every model the text names between `open` and the next quote or "<".
void CollectThumbnails(const std::string& text, const std::string& open, std::set<std::string>& images) {
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        const size_t start = at + open.size();
        const size_t end = text.find_first_of("\"<", start);
        if (end == std::string::npos)
            break;
        const std::string model = text.substr(start, end - start);
        if (model.ends_with(".mdl"))
            images.insert(ThumbnailOf(model));
    }
}

// The pictures, the font, the slide and the sounds of the menus.
bool AddMenuResources(authoring::PackageWriter& package, const std::filesystem::path& data, const std::string& ttf) {
    std::set<std::string> images;
    for (const char* folder : {"screens", "global"}) {
        std::vector<std::filesystem::path> files;
        if (!ListFolder(data / folder, files))
            return false;
        for (const auto& file : files) {
            const std::string name = authoring::LowerName(file.filename().string());
            if (!(name.ends_with(".xaml") || name.ends_with("popups.xml") || name == "awards.xml"))
                continue;
            std::string bytes;
            if (!authoring::ReadWholeFile(file.string(), bytes))
                return false;
            authoring::CollectImages(bytes, images);
            if (name == "awards.xml")
                CollectThumbnails(bytes, "UnlockableModel=\"", images);
        }
    }
    // The wardrobe page's slot pictures: every item of the wardrobes and anatomies.
    std::vector<std::filesystem::path> characters;
    if (!ListFolder(data / "characters", characters))
        return false;
    for (const auto& file : characters) {
        const std::string name = authoring::LowerName(file.filename().string());
        if (!(name.starts_with("wardrobe_") || name.starts_with("anatomy_")))
            continue;
        std::string bytes;
        if (!authoring::ReadWholeFile(file.string(), bytes))
            return false;
        CollectThumbnails(bytes, "<Name>", images);
    }
    for (const char* picture : kMenuPictures)
        images.insert(authoring::LowerName(picture));
    for (const char* word : kFamilyPictureWords)
        for (const char* decade : kFamilyPictureDecades)
            images.insert(authoring::LowerName(std::string("Family_Big_") + word + decade + ".png"));
    for (const std::string& image : images)
        authoring::AddPlaceholderSprite(package, image);

    if (!ttf.empty()) {
        authoring::BakedFont font;
        std::string error;
        if (!authoring::BakeFont(ttf, kFontPixels, {}, "gamefont", font, error)) {
            fprintf(stderr, "content testpack: %s\n", error.c_str());
            return false;
        }
        authoring::AddBakedFont(package, "gamefont", font);
    }

    // The page slide: half a second with nothing moved (the pages' timing only).
    using authoring::Track;
    package.Add("prsc_slide_windows_menu_scene_02_prsc.anm", TypeKey::PrscAnimation,
                authoring::PrscAnimationBytes(15, 30, Track::Vec2(), Track::Float(), Track::Vec2(), Track::Color(),
                                              Track::UV()));

    // A click of 80 ms and four seconds of a quiet low tone, looped as the music.
    const struct {
        const char* name;
        double frequency;
        uint32_t ms;
        double amplitude;
        bool streamed;
    } sounds[] = {{"sfx_buttonpress_option2", 1200.0, 80, 0.4, false}, {"background", 196.0, 4000, 0.15, true}};
    for (const auto& sound : sounds) {
        const uint32_t frames = uint32_t(uint64_t(sound.ms) * kMixRate / 1000);
        const std::string dataName = std::string(sound.name) + ".ogg";
        package.Add(dataName, TypeKey::Data,
                    authoring::EncodeOggVorbis(authoring::MakeTone(sound.frequency, frames, kMixRate, 1, sound.amplitude)));
        package.Add(std::string(sound.name) + ".snd", TypeKey::Sound,
                    authoring::MakeSoundDescriptor(dataName, sound.streamed));
    }
    return true;
}

// The string table of a "KEY=text" source file, as a table's bytes.
bool ReadStringTable(const std::string& path, std::string& table) {
    std::string source;
    std::string error;
    authoring::LocalizationEntries strings;
    if (!authoring::ReadWholeFile(path, source)) {
        fprintf(stderr, "content testpack: cannot read %s\n", path.c_str());
        return false;
    }
    if (!authoring::ParseLocalizationSource(source, strings, error)) {
        fprintf(stderr, "%s:%s\n", path.c_str(), error.c_str());
        return false;
    }
    table = authoring::LocalizationBytes(strings);
    return true;
}

}  // namespace

bool WriteTestSystemPackages(const std::string& dataFolder, const std::string& outFolder, const std::string& ttf) {
    const std::filesystem::path data = dataFolder;
    const std::filesystem::path out = outFolder;
    authoring::PackageWriter system;
    for (const char* folder : {"global", "levels", "screens", "characters"})
        if (!AddFolder(system, data / folder))
            return false;
    if (!AddMenuResources(system, data, ttf)) {
        fprintf(stderr, "content testpack: cannot make the menus' resources\n");
        return false;
    }
    authoring::PackageWriter sequences;
    if (!AddFolder(sequences, data / "ingamexml"))
        return false;
    // The engine finds a file in whichever mounted package holds it: names are unique across
    // packages.
    authoring::PackageWriter all = system;
    for (const auto& entry : sequences.Entries())
        all.Add(entry.name, entry.typeId, entry.bytes);
    if (!all.Duplicates().empty()) {
        fprintf(stderr, "content testpack: %s is in more than one folder\n", all.Duplicates().front().c_str());
        return false;
    }
    std::string table;
    if (!ReadStringTable((data / "strings" / "gstrc_english.txt").string(), table))
        return false;
    authoring::PackageWriter tables;
    tables.Add("gstrc_english.loc", TypeKey::Localization, table);

    if (!system.WriteFolder((out / "gssystem.dir").string()) || !tables.WriteFolder((out / "gstrcsystem.dir").string()) ||
        !sequences.WriteFolder((out / "ingamexml.dir").string())) {
        fprintf(stderr, "content testpack: cannot write into %s\n", outFolder.c_str());
        return false;
    }
    // The game mounts these at start-up beside the question bank; the test data holds
    // nothing for them.
    for (const char* name : {"globalxml", "global2d", "global3d", "characterexml", "gameaudios",
                             "gameaudiosnotstreamed", "menuxmls", "general_globalgameassets",
                             "specific_globalgameassets", "gameshowavatar3d", "gameshowavatarxmls"})
        if (!authoring::PackageWriter().WriteFolder((out / (std::string(name) + ".dir")).string())) {
            fprintf(stderr, "content testpack: cannot write %s into %s\n", name, outFolder.c_str());
            return false;
        }
    return true;
}

bool WriteTestInterfacePackage(const std::string& dataFolder, const std::string& mount, const std::string& ttf) {
    const std::filesystem::path data = dataFolder;
    authoring::PackageWriter package;
    std::set<std::string> images;
    const struct {
        const char* folder;
        const char* name;
    } files[] = {{"screens", "answerscreen.xaml"}, {"screens", "hintbar.xaml"},
                 {"screens", "popupconfirm.xaml"}, {"screens", "sketch.flow"},
                 {"global", "popups.xml"}};
    for (const auto& file : files) {
        std::string bytes;
        if (!authoring::ReadWholeFile((data / file.folder / file.name).string(), bytes)) {
            fprintf(stderr, "content testpack: cannot read %s/%s\n", file.folder, file.name);
            return false;
        }
        authoring::CollectImages(bytes, images);
        package.Add(file.name, TypeKey::Data, bytes);
    }
    for (const std::string& image : images)
        authoring::AddPlaceholderSprite(package, image);

    std::string table;
    if (!ReadStringTable((data / "strings" / "gstrc_english.txt").string(), table))
        return false;
    package.Add("gstrc_english.loc", TypeKey::Localization, table);

    authoring::BakedFont font;
    std::string error;
    if (!authoring::BakeFont(ttf, kFontPixels, {}, "gamefont", font, error)) {
        fprintf(stderr, "content testpack: %s\n", error.c_str());
        return false;
    }
    authoring::AddBakedFont(package, "gamefont", font);
    if (!package.WriteFolder(mount)) {
        fprintf(stderr, "content testpack: cannot write %s\n", mount.c_str());
        return false;
    }
    return true;
}

bool WriteStringTable(const std::string& source, const std::string& tablePath) {
    std::string table;
    if (!ReadStringTable(source, table))
        return false;
    std::ofstream out(tablePath, std::ios::binary | std::ios::trunc);
    if (!out.write(table.data(), std::streamsize(table.size())) || !out.flush()) {
        fprintf(stderr, "content testpack: cannot write %s\n", tablePath.c_str());
        return false;
    }
    return true;
}

}  // namespace content
