#include "gameservices/game/SavedGameManager.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/SerializableVector.h"
#include "tests/gameservices/game/SavedGameTestSetup.h"
#include "tests/support/FileContents.h"
#include "tests/support/FileSizeLimit.h"

using namespace GameServices::KorvoGame;

namespace {

constexpr u32 kSaveSize = 16384;

class Document : public ISavedFile {
public:
    void Serialize(GameServices::Utilities::ISerialization& s) override {
        s.SerializeObject("Settings", settings, true);
        s.SerializeObject("SavedGames", games, true);
    }
    void Clear() override {
        games.Clear();
        settings.Clear();
    }
    BaseSavedSettings& GetSettings() override { return settings; }
    u32 GetSavedGameCount() const override { return u32(games.size()); }
    BaseSavedGame* GetSavedGame(u32 i) override { return i < games.size() ? &games[i] : nullptr; }
    void AddSavedGame() override { games.push_back(BaseSavedGame()); }

    BaseSavedSettings settings;
    GameServices::Utilities::SerializableVector<BaseSavedGame> games;
};

class SavedGameManagerTest : public savetest::SaveFileTest {
protected:

    std::unique_ptr<SavedGameManager> NewManager() {
        auto manager = std::make_unique<SavedGameManager>();
        manager->SetSaveSize(kSaveSize);
        manager->SetPopups(&popups);
        return manager;
    }
    void Store(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
    // A first run: the fresh two-slot document is written at once.
    std::unique_ptr<SavedGameManager> FirstRun(Document& document) {
        auto manager = NewManager();
        EXPECT_TRUE(!manager->LoadSavedGame(&document, 2) && manager->IsSavingEnabled());
        return manager;
    }

    static u32 U32At(const std::string& bytes, size_t offset) {
        u32 value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | u8(bytes[offset + i]);
        return value;
    }
};

}  // namespace

TEST_F(SavedGameManagerTest, AFirstRunWritesAValidSaveThatLoadsAsTheSameDocument) {
    Document document;
    auto manager = FirstRun(document);
    // The first document names no slot as current.
    Document fresh;
    EXPECT_TRUE(NewManager()->LoadSavedGame(&fresh, 2) && fresh.settings.CurrentSavedGame == -1);
    manager->SetName("ABCDEFGHIJKLMNOP");
    // The first unused slot is reserved; with none left no name changes.
    EXPECT_EQ(manager->ReserveFreeSlot("  A  na"), &document.games[0]);
    EXPECT_EQ(manager->ReserveFreeSlot("Ben"), &document.games[1]);
    manager->ReserveFreeSlot("Cy");
    EXPECT_TRUE(log.Contains("No saved game slot available"));
    EXPECT_EQ(document.games[0].SavedGameName.c_str() + std::string("/") +
                  document.games[1].SavedGameName.c_str(), "  A  na/Ben");
    ASSERT_TRUE(manager->WriteSavedGame());

    const std::string file = Contents();
    ASSERT_EQ(file.size(), kSaveSize);
    const std::string written = savetest::SaveBytes(savetest::TextOf(document), "ABCDEFGHIJKL");
    EXPECT_EQ(file.substr(0, written.size()), written);

    Document loaded;
    EXPECT_TRUE(NewManager()->LoadSavedGame(&loaded, 2) && popups.shown.empty());
    EXPECT_EQ(savetest::TextOf(loaded), savetest::TextOf(document));

    // Without a document nothing is written.
    EXPECT_TRUE(!manager->LoadSavedGame(nullptr, 2) && !manager->WriteSavedGame() && Contents() == file);
}

TEST_F(SavedGameManagerTest, ACorruptSaveIsPutToThePlayerAndKeptUntilAnsweredAndTheAnswers) {
    Document original;
    auto writer = FirstRun(original);
    writer->WriteSavedGame();
    const std::string good = Contents();
    const u32 length = U32At(good, 4);

    std::string flipped = good, magic = good, tooLong = good, shortFile = good.substr(0, 100);
    flipped[24 + length - 1] ^= 0x01;
    magic[1] = 'x';
    tooLong[6] = '\x7f';  // length far beyond the file
    shortFile[4] = char(77);  // 24 + 77 is one byte more than the file holds
    shortFile[5] = shortFile[6] = shortFile[7] = 0;
    // No text at all: its checksum is 0, but a save always holds a document.
    std::string noText = good;
    std::fill(noText.begin() + 4, noText.begin() + 12, '\0');
    std::fill(noText.begin() + 24, noText.end(), '\0');
    // (what, bytes, slots, version, reason)
    const std::tuple<const char*, std::string, u32, u32, const char*> cases[] = {
        {"one text byte changed", flipped, 2, 1, "a wrong checksum"},
        {"bad magic", magic, 2, 1, "no saved-game header"},
        {"length beyond the file", tooLong, 2, 1, "beyond the end"},
        {"length one past the end", shortFile, 2, 1, "beyond the end"},
        {"other slot count", good, 3, 1, ""},
        {"other version", good, 2, 2, "another version"},
        {"no text", noText, 2, 1, "not a saved-game document"},
    };
    for (const auto& [what, bytes, slots, version, reason] : cases) {
        SCOPED_TRACE(what);
        Store(bytes);
        popups = savetest::Popups();
        Document document;
        auto manager = NewManager();
        manager->SetVersion(version);
        log.Clear();
        EXPECT_TRUE(!manager->LoadSavedGame(&document, slots) && log.Contains(reason));
        // Above the game's own popups.
        ASSERT_EQ(popups.shown, std::vector<std::string>{"DataCorruption@900"});
        EXPECT_STREQ(manager->GetLastPopup().c_str(), "DataCorruption");
        EXPECT_TRUE(!manager->WriteSavedGame() && Contents() == bytes);
    }

    // The two answers to "DataCorruption": Button01 goes on without saving for the rest of the
    // run; Button02 moves the file aside and starts a fresh one, with nothing kept from the bad one.
    popups = savetest::Popups();
    original.settings.CurrentSavedGame = 7;
    original.games[1].isUsed = true;
    writer->SetVersion(3);
    writer->WriteSavedGame();
    const std::string otherVersion = Contents();

    Document document;
    auto manager = NewManager();
    EXPECT_FALSE(manager->LoadSavedGame(&document, 2));
    EXPECT_EQ(document.GetSavedGameCount(), 0u);  // nothing read from the bad file is kept
    ASSERT_TRUE(popups.Press("DataCorruption", "Button01"));
    EXPECT_TRUE(!manager->IsSavingEnabled() && document.GetSavedGameCount() == 2u);
    EXPECT_TRUE(!manager->WriteSavedGame() && popups.callbacks.empty() && Contents() == otherVersion);

    popups = savetest::Popups();
    Document restarted;
    manager = NewManager();
    EXPECT_FALSE(manager->LoadSavedGame(&restarted, 2));
    ASSERT_TRUE(popups.Press("DataCorruption", "Button02"));
    EXPECT_TRUE(manager->IsSavingEnabled() && popups.callbacks.empty() && log.Contains("kept as " + path + ".damaged"));
    EXPECT_EQ(FileContents(path + ".damaged"), otherVersion);
    Document reloaded;
    EXPECT_TRUE(NewManager()->LoadSavedGame(&reloaded, 2) && savetest::TextOf(reloaded) == savetest::TextOf(restarted));
    EXPECT_TRUE(reloaded.settings.CurrentSavedGame == -1 && reloaded.settings.Version == 1u &&
                !reloaded.games[1].isUsed);

    // The bad file goes aside even when the fresh one cannot be written, replacing the older copy.
    Store(magic);
    manager = NewManager();
    EXPECT_FALSE(manager->LoadSavedGame(&reloaded, 2));
    std::filesystem::create_directory(path + ".tmp");
    ASSERT_TRUE(popups.Press("DataCorruption", "Button02"));
    std::filesystem::remove(path + ".tmp");
    EXPECT_TRUE(!std::filesystem::exists(path) && FileContents(path + ".damaged") == magic);
}

// Something other than a file in the save's place is damaged, not waited on (the alarm ends a
// test that would wait) nor replaced unasked.
TEST_F(SavedGameManagerTest, AFifoInTheSavesPlaceIsADamagedSave) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    Document document;
    auto manager = NewManager();
    alarm(20);
    EXPECT_FALSE(manager->LoadSavedGame(&document, 2));
    alarm(0);
    EXPECT_EQ(popups.shown, std::vector<std::string>{"DataCorruption@900"});
    ASSERT_TRUE(popups.Press("DataCorruption", "Button02"));
    EXPECT_TRUE(NewManager()->LoadSavedGame(&document, 2) && std::filesystem::is_fifo(path + ".damaged"));
}

TEST_F(SavedGameManagerTest, AFailedOpenOrWriteShowsWriteErrorAndKeepsThePreviousSave) {
    Document document;
    auto manager = FirstRun(document);
    const std::string previous = Contents();
    document.games[0].SavedGameName = "changed";

    // The temporary file cannot be made.
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(manager->WriteSavedGame());
    std::filesystem::remove(path + ".tmp");
    EXPECT_EQ(popups.shown, std::vector<std::string>{"WriteError@900"});

    // A full disk: the write falls short.
    EXPECT_TRUE(!WithFileSizeLimit(4096, [&] { return manager->WriteSavedGame(); }) && popups.shown.size() == 2u);

    // A document larger than the save size, and a save size without room for any text.
    for (u32 size : {200u, 24u}) {
        manager->SetSaveSize(size);
        EXPECT_FALSE(manager->WriteSavedGame());
    }
    EXPECT_EQ(popups.shown, (std::vector<std::string>(4, "WriteError@900")));
    EXPECT_TRUE(Contents() == previous && !std::filesystem::exists(path + ".tmp"));

    // Its one answer goes on without saving.
    ASSERT_TRUE(popups.Press("WriteError", "Button01"));
    EXPECT_TRUE(!popups.Press("WriteError", "Button02") && !manager->IsSavingEnabled());
    manager->SetSaveSize(kSaveSize);
    EXPECT_TRUE(!manager->WriteSavedGame() && Contents() == previous);
}
