// syspack: writes the game's packages of the sample data in folder form from data/:
// "gsSystem.dir" (the global and level XML files, the navigation, screen and popup files, the
// character assemblies with their wardrobes, anatomies and looks),
// "gstrcsystem.dir" (the English string table) and "ingamexml.dir" (the match's show
// sequences, mounted by the match while it loads them), and the game's other start-up
// packages, empty. The system package also holds what the
// menus show and play: a placeholder sprite for every picture the screens and popups name and
// for the menus' own pictures, the screens' font baked from a TrueType file, the menu slide
// and two short generated sounds (the button click and the music).
//   syspack <data folder> <output folder> [<ttf file>]
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/FontBaker.h"
#include "tools/authoring/LocalizationWriter.h"
#include "tools/authoring/OggVorbisWriter.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/PlaceholderSprites.h"
#include "tools/authoring/TrackWriter.h"

namespace {

// Every file of the folder, by lower-cased name, in name order so the index is reproducible.
bool AddFolder(authoring::PackageWriter& package, const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::string bytes;
        if (!authoring::ReadWholeFile(file.string(), bytes)) {
            fprintf(stderr, "syspack: cannot read %s\n", file.c_str());
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
bool AddMenuResources(authoring::PackageWriter& package, const std::filesystem::path& data, const char* ttf) {
    std::set<std::string> images;
    for (const char* folder : {"screens", "global"}) {
        for (const auto& entry : std::filesystem::directory_iterator(data / folder)) {
            const std::string name = authoring::LowerName(entry.path().filename().string());
            if (!entry.is_regular_file() ||
                !(name.ends_with(".xaml") || name.ends_with("popups.xml") || name == "awards.xml"))
                continue;
            std::string bytes;
            if (!authoring::ReadWholeFile(entry.path().string(), bytes))
                return false;
            authoring::CollectImages(bytes, images);
            if (name == "awards.xml")
                CollectThumbnails(bytes, "UnlockableModel=\"", images);
        }
    }
    // The wardrobe page's slot pictures: every item of the wardrobes and anatomies.
    for (const auto& entry : std::filesystem::directory_iterator(data / "characters")) {
        const std::string name = authoring::LowerName(entry.path().filename().string());
        if (!entry.is_regular_file() || !(name.starts_with("wardrobe_") || name.starts_with("anatomy_")))
            continue;
        std::string bytes;
        if (!authoring::ReadWholeFile(entry.path().string(), bytes))
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

    if (ttf) {
        authoring::BakedFont font;
        std::string error;
        if (!authoring::BakeFont(ttf, kFontPixels, {}, "gamefont", font, error)) {
            fprintf(stderr, "syspack: %s\n", error.c_str());
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: syspack <data folder> <output folder> [<ttf file>]\n");
        return 2;
    }
    const std::filesystem::path data = argv[1];
    const std::filesystem::path out = argv[2];
    authoring::PackageWriter system;
    for (const char* folder : {"global", "levels", "screens", "characters"})
        if (!AddFolder(system, data / folder))
            return 1;
    if (!AddMenuResources(system, data, argc == 4 ? argv[3] : nullptr)) {
        fprintf(stderr, "syspack: cannot make the menus' resources\n");
        return 1;
    }
    authoring::PackageWriter sequences;
    if (!AddFolder(sequences, data / "ingamexml"))
        return 1;
    // The engine finds a file in whichever mounted package holds it: names are unique across
    // packages.
    authoring::PackageWriter all = system;
    for (const auto& entry : sequences.Entries())
        all.Add(entry.name, entry.typeId, entry.bytes);
    if (!all.Duplicates().empty()) {
        fprintf(stderr, "syspack: %s is in more than one folder\n", all.Duplicates().front().c_str());
        return 1;
    }

    std::string source;
    std::string error;
    authoring::LocalizationEntries strings;
    if (!authoring::ReadWholeFile((data / "strings" / "gstrc_english.txt").string(), source) ||
        !authoring::ParseLocalizationSource(source, strings, error)) {
        fprintf(stderr, "syspack: string table: %s\n", error.c_str());
        return 1;
    }
    authoring::PackageWriter tables;
    tables.Add("gstrc_english.loc", TypeKey::Localization, authoring::LocalizationBytes(strings));

    if (!system.WriteFolder((out / "gssystem.dir").string()) || !tables.WriteFolder((out / "gstrcsystem.dir").string()) ||
        !sequences.WriteFolder((out / "ingamexml.dir").string())) {
        fprintf(stderr, "syspack: cannot write into %s\n", argv[2]);
        return 1;
    }
    // The game mounts these at start-up beside the question bank; nothing of the sample
    // data belongs in them yet, so they are written empty.
    for (const char* name : {"globalxml", "global2d", "global3d", "characterexml", "gameaudios",
                             "gameaudiosnotstreamed", "menuxmls", "general_globalgameassets",
                             "specific_globalgameassets", "gameshowavatar3d", "gameshowavatarxmls"})
        if (!authoring::PackageWriter().WriteFolder((out / (std::string(name) + ".dir")).string())) {
            fprintf(stderr, "syspack: cannot write %s into %s\n", name, argv[2]);
            return 1;
        }
    return 0;
}
