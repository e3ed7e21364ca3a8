// The real TarnExtend.trx loaded by the host's dynamic linker: refused
// without the language module, its presence service and LISP functions,
// quit then unload, the exported symbols, and a LISP call with a function
// code the module does not have.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include <tarnsdk/tcplatform.h>
#include <tarnsdk/tcrxapi.h>

#include "editor/scenario_session.h"
#include "lisp/printer.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"
#include "runtime/runtime_commands.h"

namespace {

using tarn::runtime::documentManager;
using tarn::runtime::dynamicLinker;

const std::string kModule = TARN_MODULE_DIR "/TarnExtend.trx";
const std::string kLanguageModule = TARN_MODULE_DIR "/TarnUinfo.so";

size_t CountOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

class ModuleScenario : public testing::Test {
protected:
    void SetUp() override {
        session = std::make_unique<tarn::editor::ScenarioSession>();
        tarn::runtime::registerRuntimeCommands(session->editor());
        tarn::runtime::bindEditor(session->editor());
    }
    void TearDown() override {
        dynamicLinker().quitAll();
        documentManager().closeAll();
        session.reset();
    }
    bool LoadWithLanguageModule() {
        return dynamicLinker().loadSupportModule(kLanguageModule) && dynamicLinker().loadModule(kModule.c_str(), true);
    }
    std::string Eval(const std::string& text) {
        tarn::lisp::Outcome out = session->editor().lisp().evaluate(text);
        return out.ok() ? tarn::lisp::toString(out.value()) : "error: " + out.error();
    }
    static std::set<std::string> LispNames(const tarn::runtime::Document& document) {
        std::set<std::string> names;
        for (const auto& definition : document.lisp()) names.insert(definition.globalName);
        return names;
    }
    std::unique_ptr<tarn::editor::ScenarioSession> session;
};

TEST_F(ModuleScenario, IsRefusedWhenTheLanguageModuleIsNotLoaded) {
    EXPECT_FALSE(dynamicLinker().loadModule(kModule.c_str(), true));
    EXPECT_EQ(dynamicLinker().find(kModule), nullptr);
    EXPECT_FALSE(tcrxServiceIsRegistered("TarnExtendService"));
    EXPECT_TRUE(documentManager().current()->lisp().empty());
}

TEST_F(ModuleScenario, InitRegistersThePresenceServiceAndUnlocksTheModule) {
    ASSERT_TRUE(LoadWithLanguageModule()) << session->transcript();
    EXPECT_TRUE(tcrxServiceIsRegistered("TarnExtendService"));
    const tarn::runtime::LoadedModule* module = dynamicLinker().find(kModule);
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(module->locked);
    EXPECT_TRUE(module->mdiAware);
    EXPECT_NE(tcplFindLoadedModule("TarnExtendRes"), nullptr) << "the resource module is held";
}

TEST_F(ModuleScenario, ThreeDrawingsDefineTheLispFunctionsThreeTimes) {
    ASSERT_TRUE(LoadWithLanguageModule()) << session->transcript();
    ASSERT_TRUE(documentManager().appContextNewDocument());
    ASSERT_TRUE(documentManager().appContextNewDocument());
    const auto documents = documentManager().documents();
    ASSERT_EQ(documents.size(), 3u);
    for (const tarn::runtime::Document* document : documents)
        EXPECT_EQ(LispNames(*document), (std::set<std::string>{"C:CAL", "CAL"})) << document->fileName();
}

TEST_F(ModuleScenario, CalWorksByBothNames) {
    ASSERT_TRUE(LoadWithLanguageModule()) << session->transcript();
    EXPECT_EQ(Eval("(cal \"2*3\")"), "6");
    EXPECT_EQ(session->run("CAL", "1+2\n"), RTNORM) << session->transcript();
    EXPECT_TRUE(session->leaks().none()) << session->leaks().describe();
}

TEST_F(ModuleScenario, AnUnknownFunctionCodeIsReportedAndFails) {
    ASSERT_TRUE(LoadWithLanguageModule());
    tarn::runtime::LoadedModule* module = dynamicLinker().find(kModule);
    ASSERT_NE(module, nullptr);
    // A definition with code 2, as if the module had defined a third function.
    documentManager().current()->lisp().push_back({"FRAMECODE2", "", 2, module->appId()});
    tarn::runtime::applyDocumentDefinitions();
    Eval("(framecode2)");
    EXPECT_EQ(CountOf(session->transcript(), "Incorrect function code."), 1u) << session->transcript();
    EXPECT_TRUE(session->leaks().none()) << session->leaks().describe();
}

TEST_F(ModuleScenario, QuitThenUnloadTakesEverythingDownOnce) {
    ASSERT_TRUE(LoadWithLanguageModule());
    tarn::runtime::LoadedModule* module = dynamicLinker().find(kModule);
    ASSERT_NE(module, nullptr);
    dynamicLinker().send(*module, TCRX_MSG_QUIT);
    EXPECT_FALSE(tcrxServiceIsRegistered("TarnExtendService"));
    EXPECT_NE(tcplFindLoadedModule("TarnExtendRes"), nullptr) << "quit keeps the resource module";
    EXPECT_TRUE(dynamicLinker().unloadModule(kModule.c_str()));
    EXPECT_FALSE(tcrxServiceIsRegistered("TarnExtendService"));
    EXPECT_EQ(tcplFindLoadedModule("TarnExtendRes"), nullptr) << "unload frees the resource module";
    // Loaded again, the module finds everything as new.
    ASSERT_TRUE(dynamicLinker().loadModule(kModule.c_str(), true));
    EXPECT_TRUE(tcrxServiceIsRegistered("TarnExtendService"));
}

TEST_F(ModuleScenario, AnotherModulesServiceOfTheSameNameIsKept) {
    TcRxService* existing = tcrxRegisterService("TarnExtendService");
    ASSERT_TRUE(LoadWithLanguageModule());
    EXPECT_EQ(tcrxRegisterService("TarnExtendService"), existing);
}

// Only the entry points and CSelectionVision's members leave the module.
TEST(ModuleExports, AreOnlyTheEntryPointsAndCSelectionVision) {
    const std::string command = "nm -D --defined-only -C " + kModule;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe.get())) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        const size_t name = text.find(' ', text.find(' ') + 1);  // after the address and the kind
        if (name != std::string::npos) symbols.insert(text.substr(name + 1));
    }
    ASSERT_FALSE(symbols.empty()) << "nm gave nothing for " << kModule;
    EXPECT_TRUE(symbols.count("tcrxEntryPoint"));
    EXPECT_TRUE(symbols.count("tcrxGetApiVersion"));
    EXPECT_TRUE(symbols.count("CSelectionVision::CSelectionVision()"));
    EXPECT_TRUE(symbols.count("CSelectionVision::~CSelectionVision()"));
    EXPECT_TRUE(symbols.count("CSelectionVision::operator=(CSelectionVision const&)"));
    EXPECT_TRUE(symbols.count("CSelectionVision::DeleteBmp()"));
    EXPECT_TRUE(symbols.count("CSelectionVision::DeletePoints()"));
    for (const std::string& symbol : symbols)
        EXPECT_TRUE(symbol == "tcrxEntryPoint" || symbol == "tcrxGetApiVersion" ||
                    symbol.rfind("CSelectionVision::", 0) == 0)
            << "exported: " << symbol;
}

}  // namespace
