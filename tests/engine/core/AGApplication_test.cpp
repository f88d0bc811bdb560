#include "engine/core/AGApplication.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"

namespace {

std::vector<std::string> Split(const char* text) {
    AGArray<TString<char>> list;
    list.Add("stale");  // the list is emptied first
    SplitCommandLine(list, text);
    std::vector<std::string> out;
    for (const auto& s : list)
        out.emplace_back(s.c_str());
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(SplitCommandLine, SpacesSeparateAndQuotesGroup) {
    EXPECT_EQ(Split("game.exe -a b"), (V{"game.exe", "-a", "b"}));
    EXPECT_EQ(Split("  lead   trail  "), (V{"lead", "trail"}));
    EXPECT_EQ(Split("\"C:\\My Games\\x.exe\" -w"), (V{"C:\\My Games\\x.exe", "-w"}));
    // Quotes are never part of an argument; an opening quote continues the argument and
    // a closing one ends it.
    EXPECT_EQ(Split("ab\"cd ef\"gh"), (V{"abcd ef", "gh"}));
    EXPECT_EQ(Split("a\"\"b"), (V{"a", "b"}));
    EXPECT_EQ(Split("\"\""), V{});
    // An unterminated quote runs to the end.
    EXPECT_EQ(Split("x \"y z"), (V{"x", "y z"}));
    // Only the space separates.
    EXPECT_EQ(Split("a\tb"), (V{"a\tb"}));
    EXPECT_EQ(Split(""), V{});
    EXPECT_EQ(Split(nullptr), V{});
}

namespace {

// An entry followed by its value, laid out as the configuration list holds them.
struct EntryWithValue {
    AGConfigEntry entry;
    u32 value;
};

}  // namespace

TEST(FindConfigValue, FirstEntryWithTheKeysIdWins) {
    EXPECT_EQ(FindConfigValue("SaveGameSize", ConfigEntries()), nullptr);

    EntryWithValue a{{Crc32Hash("Other"), 0}, 1};
    EntryWithValue b{{Crc32Hash("SaveGameSize"), 0}, 524288};
    EntryWithValue c{{Crc32Hash("SaveGameSize"), 0}, 99};
    const AGConfigEntry* entries[] = {&a.entry, &b.entry, &c.entry};
    AGConfigList list{3, entries};
    const void* value = FindConfigValue("SaveGameSize", list);
    ASSERT_NE(value, nullptr);
    u32 size;
    memcpy(&size, value, sizeof size);
    EXPECT_EQ(size, 524288u);
    EXPECT_EQ(FindConfigValue("Missing", list), nullptr);
    EXPECT_EQ(FindConfigValue("", list), nullptr);
}

namespace {

int g_implsAlive = 0;

struct CountingImpl : AGApplicationImpl {
    CountingImpl() { ++g_implsAlive; }
    ~CountingImpl() override { --g_implsAlive; }
    bool Initialize() override { return true; }
    void Quit() override {}
    void Shutdown() override {}
    void Run(AGGameContext&) override {}
};

AGApplicationImpl* MakeCountingImpl() {
    return new CountingImpl();
}

}  // namespace

TEST(AGApplication, ReleaseDeletesTheImplementationOnce) {
    AGApplication::ImplFactory saved = AGApplication::s_implFactory;
    AGApplication::s_implFactory = &MakeCountingImpl;
    {
        AGApplication app;
        ASSERT_NE(app.GetImpl(), nullptr);
        EXPECT_EQ(g_implsAlive, 1);
        app.Release();
        EXPECT_EQ(app.GetImpl(), nullptr);
        EXPECT_EQ(g_implsAlive, 0);
        app.Release();
    }  // the destructor finds nothing left
    EXPECT_EQ(g_implsAlive, 0);
    AGApplication::s_implFactory = nullptr;
    {
        AGApplication none;
        EXPECT_EQ(none.GetImpl(), nullptr);
    }
    AGApplication::s_implFactory = saved;
}
