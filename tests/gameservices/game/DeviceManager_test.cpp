#include "gameservices/game/DeviceManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/PcDirectory.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/game/IPopupService.h"
#include "tests/gameservices/game/RecordingDeviceSystem.h"
#include "gameservices/game/TeamActionManager.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/LocalizationWriter.h"
#include "tools/authoring/PackageWriter.h"

using namespace GameServices::KorvoGame;
using GameServices::Bridge::DeviceInfos;
using GameServices::Bridge::IDeviceEngineData;

namespace {

class Popups : public IPopupService, public IPopup {
public:
    IPopup* ShowPopup(const TString<char>& name) override {
        shown.push_back(name.c_str());
        return this;
    }
    void HidePopup(const TString<char>& name) override { hidden.push_back(name.c_str()); }
    void SetDisplayValue(u32 value) override { displayValue = value; }
    void SetMessageText(const TString<char>& entry, const TString<char>& text) override {
        messages.push_back(std::string(entry.c_str()) + "=" + text.c_str());
    }

    std::vector<std::string> shown, hidden, messages;
    u32 displayValue = 0;
};

struct Device : IDeviceEngineData {
    void DropDevice() override { ++drops; }
    int drops = 0;
};

class DeviceManagerTest : public ::testing::Test {
protected:
    DeviceManagerTest() {
        teams.SetPopupService(&popups);
        devices.SetSuppressed(false);
    }

    void Connect(i32 id) {
        DeviceInfos infos{id, &device};
        devices.onDeviceConnected(infos);
    }

    RecordingDeviceSystem deviceSystem;
    ActionManager actions;
    DeviceManager devices;
    TeamActionManager teams{actions, devices};
    Popups popups;
    Device device;
    LogCapture log;
};

}  // namespace

TEST_F(DeviceManagerTest, TheControllerPopupShowsWhileARequiredDeviceIsMissing) {
    Connect(0);
    devices.SetDeviceRange(2, 2);
    EXPECT_TRUE(devices.IsWaiting());
    ASSERT_EQ(popups.shown, std::vector<std::string>{"DeviceController"});
    EXPECT_EQ(popups.displayValue, 1000u);
    EXPECT_EQ(popups.messages, std::vector<std::string>{
        "Message01=[PlaceHolder]Press the A button to connect the Wii Remote."});
    DeviceInfos again{1, nullptr};
    devices.GetDeviceMissingEvent().Fire(again);
    EXPECT_EQ(popups.shown.size(), 1u);

    Connect(1);
    EXPECT_EQ(popups.hidden, std::vector<std::string>{"DeviceController"});
}

TEST_F(DeviceManagerTest, TheControllerPopupTakesItsMessageFromTheStringTables) {
    TempDir dir;
    ResourceEnvironment env(false);
    ASSERT_TRUE(authoring::PackageWriter()
                    .Add("gstrc_english.loc", TypeKey::Localization,
                         authoring::LocalizationBytes({{"GS_CONTROLLER_01", "Connect a controller."}}))
                    .WriteFolder(dir.File("Strings.dir")));
    PcDirectory package;
    package.Mount(dir.File("Strings.dir").c_str(), false);
    GameServices::Bridge::LoadLocalizationTable("gstrc");
    devices.SetDeviceRange(1, 1);
    GameServices::Bridge::UnloadLocalizationTable("gstrc");
    package.Unmount();
    EXPECT_EQ(popups.messages, std::vector<std::string>{"Message01=Connect a controller."});
}

TEST_F(DeviceManagerTest, RangesAreReportedAndKeptAndTheCheckStaysInBounds) {
    devices.SetDeviceRange(3, 2);
    EXPECT_TRUE(log.Contains("Cannot require more devices than the maximum"));
    EXPECT_EQ(devices.GetMinimum(), 3u);

    for (u32 id = 0; id < 8; ++id) {
        devices.SetDeviceRange(12, 12);
        Connect(i32(id));
    }
    EXPECT_TRUE(log.Contains("Only 10 devices are supported"));
    EXPECT_EQ(devices.GetConnectedCount(), 8u);
    EXPECT_FALSE(devices.IsWaiting());
    EXPECT_FALSE(log.Contains("infos.m_DeviceId"));
    // Beyond the ids the game uses, and no device at all: refused, the count unchanged.
    for (i32 id : {8, 9, 11}) {
        log.Clear();
        Connect(id);
        EXPECT_TRUE(log.Contains("DeviceManager::DeviceInfos infos.m_DeviceId >= 8!!")) << id;
        EXPECT_FALSE(devices.IsConnected(id));
    }
    Connect(-1);
    EXPECT_EQ(devices.GetConnectedCount(), 8u);
    EXPECT_EQ(device.drops, 0);
}

TEST_F(DeviceManagerTest, SettingTheRangeSetsTheDeviceCountAndAttachesUnlessSuppressed) {
    devices.SetDeviceRange(1, 4);
    devices.SetSuppressed(true);
    devices.SetDeviceRange(1, 2);
    EXPECT_EQ(deviceSystem.Take(), (std::vector<std::string>{"count 1", "attach 4", "count 1"}));
}
