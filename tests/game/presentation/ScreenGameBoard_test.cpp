// The in-game screen's fitting of an answer text to its board row, measured with answer fonts
// whose every letter is as wide as the font's test width: 10 at 28, 8 at 22, 6 at 18.
#include <gtest/gtest.h>

#include <string>

#include "game/presentation/screens/ScreenGame.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/support/LogCapture.h"

namespace {

using namespace widget_test;

// Codes 0-255, each of that width.
std::string EvenFont(u32 size, u32 width) {
    authoring::FontData font;
    font.header[0] = size;
    font.textureWidth = font.textureHeight = 256;
    for (u32 code = 0; code < 256; ++code)
        font.glyphs.push_back({code, 0, 0, width, size, 0, 0, 0});
    return authoring::FontBytes(font);
}

void AddAnswerFonts(authoring::PackageWriter& writer) {
    writer.Add("impactwhite28.fon", TypeKey::Font, EvenFont(28, 10));
    writer.Add("impactwhite22.fon", TypeKey::Font, EvenFont(22, 8));
    writer.Add("impactwhite18.fon", TypeKey::Font, EvenFont(18, 6));
}

class ScreenGameBoard : public ::testing::Test {
protected:
    ScreenGameBoard() {
        screen.m_RootPanel = root;
        root->Visible = true;
        label = Add<Label>(*root, "AnswerLabel1", 0, 0, 101, 40);
        label->m_TextStyle.m_Color = "#FFFFFFFF";
        RenderingSystemWidget::Initialize(&screen);
        RenderingSystemWidget::AttachLayer(&screen);
    }
    ~ScreenGameBoard() override {
        RenderingSystemWidget::Cleanup(&screen);
        RenderingSystemWidget::ReleaseLayer(&screen);
    }

    LogCapture log;
    RenderPackage package{{}, AddAnswerFonts};
    Screen screen;
    Panel* root = new Panel("root");
    Label* label;
    QZ2011::ScreenGame game;
};

// Room is the width less 1; a size is kept only strictly inside it, and the cut keeps the
// letters that fit beside "..." at 18.
TEST_F(ScreenGameBoard, FitKeepsTheLargestFontStrictlyInsideTheRoomThenCuts) {
    const struct {
        f32 width;
        const char* text;
        const char* font;
        const char* shown;
    } cases[] = {{101, "AAAAAAAAA", "impactwhite28", "AAAAAAAAA"},
                 {101, "AAAAAAAAAA", "impactwhite22", "AAAAAAAAAA"},
                 {101, "AAAAAAAAAAAA", "impactwhite22", "AAAAAAAAAAAA"},
                 {101, "AAAAAAAAAAAAA", "impactwhite18", "AAAAAAAAAAAAA"},
                 {101, "ABCDEFGHIJKLMNOPQ", "impactwhite18", "ABCDEFGHIJKLM..."},
                 {101, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "impactwhite18", "ABCDEFGHIJKLM..."},
                 {24, "ABCD", "impactwhite18", "..."},
                 {26, "ABCDE", "impactwhite18", "A..."}};
    for (const auto& c : cases) {
        label->SetWidth(c.width);
        EXPECT_STREQ(game.FitTextToLabel(label, c.text).c_str(), c.shown) << c.text << " in " << c.width;
        EXPECT_STREQ(label->m_TextStyle.m_FontName.c_str(), c.font) << c.text << " in " << c.width;
    }
    EXPECT_STREQ(game.FitTextToLabel(nullptr, "kept").c_str(), "kept");
}

}  // namespace
