// The family settings in the registry store, in a store of its own under a
// temporary folder, read and written the way the families do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <tarnsdk/tcplatform.h>

#include "api/sysvars.h"
#include "editor/scenario_session.h"
#include "frame/profile_settings.h"
#include "platformsdk/platform_sdk.h"

namespace {

namespace fs = std::filesystem;
using tarn::frame::DwordSetting;
using tarn::frame::ProfileSettings;

class Settings : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("frame_profile_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        const char* old = std::getenv("TARNCAD_CONFIG_DIR");
        if (old) previousConfig = old;
        hadConfig = old != nullptr;
        setenv("TARNCAD_CONFIG_DIR", folder.c_str(), 1);
        tarn::platformsdk::ResetSharedRegistryStore();
        tarn::host::SysVarValue profile;
        tarn::host::getSysVar("CPROFILE", profile);
        profileName = profile.text;
    }
    void TearDown() override {
        tarn::platformsdk::ResetSharedRegistryStore();
        if (hadConfig) setenv("TARNCAD_CONFIG_DIR", previousConfig.c_str(), 1);
        else unsetenv("TARNCAD_CONFIG_DIR");
        fs::remove_all(folder);
    }
    std::string KeyOf(const char* section) const {
        return std::string(tcplProductRegistryRoot()) + "\\Profiles\\" + profileName + "\\UserInterfaceSettings\\" +
               section;
    }
    // Writes values straight into the store, as an earlier run would have.
    void Store(const char* section, const char* name, uint32_t type, const void* data, uint32_t size) {
        tcpl_hkey key = nullptr;
        ASSERT_EQ(tcplRegCreateKey(TCPL_HKEY_CURRENT_USER, KeyOf(section).c_str(), &key), TCPL_ERROR_SUCCESS);
        ASSERT_EQ(tcplRegSetValue(key, name, type, data, size), TCPL_ERROR_SUCCESS);
        tcplRegCloseKey(key);
    }
    void StoreText(const char* section, const char* name, const std::string& text) {
        Store(section, name, TCPL_REG_SZ, text.c_str(), static_cast<uint32_t>(text.size() + 1));
    }
    std::string StoredText(const char* section, const char* name) {
        tcpl_hkey key = nullptr;
        if (tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, KeyOf(section).c_str(), TCPL_KEY_READ, &key) != 0) return "<no key>";
        char buffer[100] = {};
        uint32_t type = 0, size = sizeof buffer;
        const long status = tcplRegQueryValue(key, name, &type, buffer, &size);
        tcplRegCloseKey(key);
        return status == 0 && type == TCPL_REG_SZ ? buffer : "<no text>";
    }

    tarn::editor::ScenarioSession session;
    fs::path folder;
    std::string previousConfig;
    bool hadConfig = false;
    std::string profileName;
};

TEST_F(Settings, AProfileThatNeverSavedGivesTheDefaults) {
    int32_t lockFlag = 1, freezeFlag = 0;
    const DwordSetting layerTools[] = {{"LockFlag", &lockFlag}, {"FreezeFlag", &freezeFlag}};
    ProfileSettings("LayerTools").ReadDwords(layerTools);
    EXPECT_EQ(lockFlag, 1);
    EXPECT_EQ(freezeFlag, 0);
}

TEST_F(Settings, DwordsRoundTripAndAreKeptUnderTheCurrentProfile) {
    int32_t restore = 0, dontShow = 1;
    const DwordSetting layWalk[] = {{"RestoreOnExit", &restore}, {"DontShowPrompt", &dontShow}};
    ASSERT_TRUE(ProfileSettings("LayWalk").WriteDwords(layWalk));
    restore = 1;
    dontShow = 0;
    ProfileSettings("LayWalk").ReadDwords(layWalk);
    EXPECT_EQ(restore, 0);
    EXPECT_EQ(dontShow, 1);
    EXPECT_EQ(ProfileSettings("LayWalk").KeyPath(), KeyOf("LayWalk"));
}

TEST_F(Settings, AValueOfTheWrongTypeKeepsTheDefault) {
    StoreText("LayerTools", "LockFlag", "0");
    const uint32_t freeze = 1;
    Store("LayerTools", "FreezeFlag", TCPL_REG_DWORD, &freeze, sizeof freeze);
    int32_t lockFlag = 1, freezeFlag = 0;
    const DwordSetting layerTools[] = {{"LockFlag", &lockFlag}, {"FreezeFlag", &freezeFlag}};
    ProfileSettings("LayerTools").ReadDwords(layerTools);
    EXPECT_EQ(lockFlag, 1);
    EXPECT_EQ(freezeFlag, 1);
}

TEST_F(Settings, ATextToolsValueIsStoredAsARealAndReadAsAnInteger) {
    ASSERT_TRUE(ProfileSettings("TextTools").WriteTextReal("CheckFlag", 1));
    EXPECT_EQ(StoredText("TextTools", "CheckFlag"), "1.000000");
    int32_t checkFlag = 7;
    EXPECT_TRUE(ProfileSettings("TextTools").ReadTextInteger("CheckFlag", &checkFlag));
    EXPECT_EQ(checkFlag, 1);
}

TEST_F(Settings, AMissingOrUnreadableTextValueLeavesTheCallersValue) {
    int32_t checkFlag = 3;
    EXPECT_FALSE(ProfileSettings("TextTools").ReadTextInteger("CheckFlag", &checkFlag));
    StoreText("TextTools", "CheckFlag", "not a number");
    EXPECT_FALSE(ProfileSettings("TextTools").ReadTextInteger("CheckFlag", &checkFlag));
    EXPECT_EQ(checkFlag, 3);
}

TEST_F(Settings, NumberedFiltersStopAtTheFirstMissingNumber) {
    StoreText("LayWalk", "Filter1", "A*");
    StoreText("LayWalk", "Filter2", "B*");
    StoreText("LayWalk", "Filter4", "D*");
    EXPECT_EQ(ProfileSettings("LayWalk").ReadNumberedTexts("Filter"), (std::vector<std::string>{"A*", "B*"}));
}

TEST_F(Settings, WritingFewerFiltersRemovesTheOldOnes) {
    const std::vector<std::string> three = {"A*", "B*", "C*"};
    ASSERT_TRUE(ProfileSettings("LayWalk").WriteNumberedTexts("Filter", three));
    const std::vector<std::string> one = {"WALL*"};
    ASSERT_TRUE(ProfileSettings("LayWalk").WriteNumberedTexts("Filter", one));
    EXPECT_EQ(ProfileSettings("LayWalk").ReadNumberedTexts("Filter"), one);
    EXPECT_EQ(StoredText("LayWalk", "Filter2"), "<no text>");
}

TEST_F(Settings, TheStoreSurvivesTheNextSession) {
    int32_t oldColor = 5;
    const DwordSetting compare[] = {{"OldDifferentColor", &oldColor}};
    ASSERT_TRUE(ProfileSettings("FileCompare").WriteDwords(compare));
    tarn::platformsdk::ResetSharedRegistryStore();  // as a new run of the host reads the file again
    oldColor = 1;
    ProfileSettings("FileCompare").ReadDwords(compare);
    EXPECT_EQ(oldColor, 5);
}

}  // namespace
