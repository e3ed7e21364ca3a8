// The command environment inside a running host command: the quiet and
// pickfirst brackets on every way out, the resource-handle bracket and the
// texts of the resource module.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcplatform.h>
#include <tarnsdk/tcrxapi.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "editor/scenario_session.h"
#include "frame/command_environment.h"
#include "frame/module_state.h"

namespace {

using namespace tarn::frame;

int IntVar(const char* name) {
    tarn::host::SysVarValue value;
    tarn::host::getSysVar(name, value);
    return static_cast<int>(value.number);
}

void SetIntVar(const char* name, int value) { tarn::host::setSysVar(name, tarn::host::shortValue(value)); }

class CommandEnvironment : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"CMDECHO", "BLIPMODE", "EXPERT", "PICKFIRST"}) saved[name] = IntVar(name);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) SetIntVar(name.c_str(), value);
        EXPECT_EQ(tarn::host::counters().resbufs, resbufsAtStart);
    }
    // Runs a host command whose body is `body`, with the replies given.
    int Run(std::function<int()> body, std::string_view replies) {
        session.editor().commands().registerHostCommand("FRAMETEST", std::move(body));
        return session.run("FRAMETEST", replies);
    }
    std::map<std::string, int> Snapshot(std::initializer_list<const char*> names) {
        std::map<std::string, int> values;
        for (const char* name : names) values[name] = IntVar(name);
        return values;
    }
    tarn::editor::ScenarioSession session;
    std::map<std::string, int> saved;
    long resbufsAtStart = tarn::host::counters().resbufs;
};

TEST_F(CommandEnvironment, EscRestoresCmdechoBlipmodeAndExpert) {
    SetIntVar("CMDECHO", 1);
    SetIntVar("BLIPMODE", 1);
    SetIntVar("EXPERT", 3);
    std::map<std::string, int> inside;
    const int status = Run(
        [&] {
            QuietCommandScope quiet;
            inside = Snapshot({"CMDECHO", "BLIPMODE", "EXPERT"});
            tc_point point;
            return tcedGetPoint(nullptr, "\nPoint: ", point);
        },
        "^C\n");
    EXPECT_EQ(status, RTCAN) << session.transcript();
    EXPECT_EQ(inside, (std::map<std::string, int>{{"BLIPMODE", 0}, {"CMDECHO", 0}, {"EXPERT", 0}}));
    EXPECT_EQ(IntVar("CMDECHO"), 1);
    EXPECT_EQ(IntVar("BLIPMODE"), 1);
    EXPECT_EQ(IntVar("EXPERT"), 3);
}

TEST_F(CommandEnvironment, QuietScopeCanBeLeftAndEnteredBetweenSteps) {
    SetIntVar("EXPERT", 2);
    std::map<std::string, int> between;
    Run(
        [&] {
            QuietCommandScope quiet;
            quiet.Leave();
            between = Snapshot({"EXPERT"});
            SetIntVar("EXPERT", 4);  // a step outside the scope changes it
            quiet.Enter();
            EXPECT_EQ(IntVar("EXPERT"), 0);
            return int(RTNORM);
        },
        "");
    EXPECT_EQ(between.at("EXPERT"), 2);
    EXPECT_EQ(IntVar("EXPERT"), 4) << "the value saved on re-entering is restored";
}

TEST_F(CommandEnvironment, PickfirstIsOffInsideAndRestoredAfterCancel) {
    SetIntVar("PICKFIRST", 1);
    int inside = -1;
    Run(
        [&] {
            PickfirstOffScope pickfirst;
            inside = IntVar("PICKFIRST");
            char text[32];
            return tcedGetString(0, "\nName: ", text, sizeof text);
        },
        "^C\n");
    EXPECT_EQ(inside, 0);
    EXPECT_EQ(IntVar("PICKFIRST"), 1);
}

// ---- texts and the resource-handle bracket, with the English resource module

class ResourceModuleHeld : public CommandEnvironment {
protected:
    void SetUp() override {
        CommandEnvironment::SetUp();
        module = tcplLoadModule(TARN_MODULE_DIR "/en/TarnExtendRes.so");
        ASSERT_NE(module, nullptr);
        SetResourceModule(module);
    }
    void TearDown() override {
        SetResourceModule(nullptr);
        if (module) tcplFreeModule(module);
        CommandEnvironment::TearDown();
    }
    tcpl_module module = nullptr;
};

TEST_F(ResourceModuleHeld, LoadResStringGivesTheTextOrNothing) {
    EXPECT_EQ(LoadResString(6121), "CAL");
    EXPECT_EQ(LoadResString(6040), "TXTULINE");
    EXPECT_EQ(LoadResString(1), "");
}

TEST_F(ResourceModuleHeld, LoadResStringWarnShowsAMessageForAMissingText) {
    Run(
        [&] {
            EXPECT_EQ(LoadResStringWarn(6121), "CAL");
            EXPECT_EQ(LoadResStringWarn(2), "");
            return int(RTNORM);
        },
        "\n");
    const std::string& transcript = session.transcript();
    const size_t first = transcript.find("loadstring error! check string id is right!");
    EXPECT_NE(first, std::string::npos) << transcript;
    EXPECT_EQ(transcript.find("loadstring error!", first + 1), std::string::npos) << "only the missing text warns";
}

TEST_F(ResourceModuleHeld, ResourceScopePushesTheResourceModuleAndPopsOnce) {
    TcApDocManager* manager = tcDocManagerPtr();
    ASSERT_NE(manager, nullptr);
    void* before = manager->topResourceHandle();
    {
        ResourceScope outer;
        EXPECT_EQ(manager->topResourceHandle(), module);
        {
            ResourceScope inner;
            EXPECT_EQ(manager->topResourceHandle(), module);
        }
        EXPECT_EQ(manager->topResourceHandle(), module);
    }
    EXPECT_EQ(manager->topResourceHandle(), before);
}

TEST_F(CommandEnvironment, WithoutAResourceModuleTheBracketUsesTheModulesOwnHandle) {
    TcApDocManager* manager = tcDocManagerPtr();
    ASSERT_NE(manager, nullptr);
    static int marker;
    tcpl_module own = tcplModuleOfAddress(&marker);
    ASSERT_NE(own, nullptr);
    ExtensionModule().Init(own);
    {
        ResourceScope scope;
        EXPECT_EQ(manager->topResourceHandle(), own);
        EXPECT_EQ(LoadResString(6121), "") << "no resource module, no text";
    }
    ExtensionModule().Terminate();
}

}  // namespace
