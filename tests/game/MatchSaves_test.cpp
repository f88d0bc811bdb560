// What a match earns, and how the program ends, as a fresh reader of the save file finds it:
// matches on the real screen, player one playing a saved profile.
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "engine/core/PCApplicationImpl.h"
#include "game/QZ2011GameContext.h"
#include "gameshow/CompositionManager.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/MatchHarness.h"
#include "tests/support/PopupPress.h"

namespace {

using GameShow::PlayerProfileManager;
using profiletest::TextOf;

GameShow::PlayerProfile& Playing() { return *PlayerProfileManager::Instance()->GetProfile(0); }

// Player one's profile in the save file as a fresh manager reads it.
std::string Saved() {
    PlayerProfileManager::Document document;
    GameServices::KorvoGame::SavedGameManager().LoadSavedGame(&document, u32(PlayerProfileManager::GetProfileCount()));
    return document.GetSavedGame(0) ? TextOf(*document.GetSavedGame(0)) : "";
}

}  // namespace

// What a match earned is in the save file when the program ends: a won match's prize and its
// match-end awards as soon as the match ends (the window closed and confirmed then leaves them),
// and awards counted mid-match, not yet saved, when SIGTERM ends the program there without asking.
TEST(MatchSaves, WhatAMatchEarnedIsSavedByItsEndOrBySigtermWithoutAsking) {
    for (bool signal : {false, true}) {
        SCOPED_TRACE(signal);
        match::MatchHarness harness;
        harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0);
        match::MatchPolicy policy{3};
        std::string first;  // the profile as the first frame had it: a change stops the match
        if (signal)
            policy.stopWhen = [&] { return TextOf(Playing()) != (first = first.empty() ? TextOf(Playing()) : first); };
        const match::RunResult result = harness.PlayMatch(policy);
        ASSERT_TRUE(result.ok) << result.report;
        const std::string earned = TextOf(Playing());
        int wins = 0;  // the prize and the match-end award of a won match
        EXPECT_EQ(Playing().Score > 0 && Playing().GetAttribute<int>("win25Matches70", wins), !signal);
        EXPECT_EQ(Saved() == earned, !signal);
        if (signal) {
            std::raise(SIGTERM);
        } else {
            GameShow::CompositionManager::Instance().LoadPopups();  // as the menus have by now
            harness.Application()->Quit();  // the close request a window's close button sends
            harness.Step(16);
            ASSERT_TRUE(harness.Context().GetGameScreen().m_VerifyQuitShown);
            ASSERT_NO_FATAL_FAILURE(
                PressPopupButton(GameServices::Widget::ScreenManager::Instance(), "VerifyQuit", "Confirm"));
        }
        harness.Application()->Run(harness.Context());  // ends with the game's shutdown
        EXPECT_FALSE(harness.Application()->HasWindow() ||
                     (signal && harness.Context().GetGameScreen().m_VerifyQuitShown));
        EXPECT_EQ(Saved(), earned);
    }
}
