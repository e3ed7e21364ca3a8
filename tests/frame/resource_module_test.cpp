// The English resource module as built: its exported tables, a text for
// every id the module uses, and the build step that makes the string table.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <tarnsdk/tcplatform.h>

#include "calc/parser_compiler.h"
#include "frame/command_table.h"

namespace {

namespace fs = std::filesystem;

class EnglishResources : public testing::Test {
protected:
    static void SetUpTestSuite() {
        handle = dlopen(TARN_MODULE_DIR "/en/TarnExtendRes.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    static void TearDownTestSuite() {
        if (handle) dlclose(handle);
        handle = nullptr;
    }
    static const tcpl_resource_entry* Table(const char* name) {
        return static_cast<const tcpl_resource_entry*>(dlsym(handle, name));
    }
    static std::map<uint32_t, std::string> Strings() {
        std::map<uint32_t, std::string> strings;
        for (const tcpl_resource_entry* e = Table(TCPL_STRING_TABLE); e && e->text; ++e) strings[e->id] = e->text;
        return strings;
    }
    static inline void* handle = nullptr;
};

TEST_F(EnglishResources, TablesAreSortedAndEnded) {
    for (const char* name : {TCPL_STRING_TABLE, TCPL_DIALOG_TABLE}) {
        const tcpl_resource_entry* e = Table(name);
        ASSERT_NE(e, nullptr) << name;
        uint32_t previous = 0;
        for (; e->text != nullptr; ++e) {
            EXPECT_GT(e->id, previous) << name << ": ids must ascend";
            previous = e->id;
        }
        EXPECT_EQ(e->id, 0u) << name << " must end with {0, null}";
    }
}

TEST_F(EnglishResources, EveryCommandsLocalNameIsItsGlobalName) {
    const auto strings = Strings();
    for (const tarn::frame::CommandName& row : tarn::frame::kCommandTable) {
        const auto it = strings.find(row.localNameId);
        ASSERT_NE(it, strings.end()) << row.globalName << " has no local name " << row.localNameId;
        EXPECT_EQ(it->second, row.globalName);
    }
}

TEST_F(EnglishResources, HoldTheCalculatorsTexts) {
    const auto strings = Strings();
    EXPECT_EQ(strings.at(6120), "C:CAL");
    EXPECT_EQ(strings.at(6121), "CAL");
    EXPECT_FALSE(strings.at(3505).empty());
    EXPECT_FALSE(strings.at(3507).empty());
}

// The help must list every operator and function the calculator knows.
TEST_F(EnglishResources, CalculatorHelpNamesEveryOperatorAndFunction) {
    const std::string help = Strings().at(3506);
    tarn::calc::ParserCompiler parser;
    for (const auto* op : parser.Registrar().Operators())
        EXPECT_NE(help.find(op->SyntaxText()), std::string::npos) << op->SyntaxText();
    for (const auto* fn : parser.Registrar().Functions())
        EXPECT_NE(help.find(std::string(fn->Symbol()) + "("), std::string::npos) << fn->Symbol();
}

// ---- the build step: a faulty string file stops the build with its place.

class StringTableTool : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("frame_strings_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    // The tool's exit status and its messages.
    int Run(const std::string& content, std::string* messages) {
        std::ofstream(folder / "strings.txt", std::ios::binary) << content;
        const std::string command = std::string(TARN_PYTHON) + " " + TARN_STRING_TABLE_TOOL + " " +
                                    (folder / "strings.txt").string() + " " + (folder / "out.cpp").string() +
                                    " 2> " + (folder / "err.txt").string();
        const int status = std::system(command.c_str());
        std::ifstream err(folder / "err.txt");
        messages->assign(std::istreambuf_iterator<char>(err), {});
        return status;
    }
    fs::path folder;
};

TEST_F(StringTableTool, RefusesIdsOutOfOrderNamingTheLine) {
    std::string messages;
    EXPECT_NE(Run("# texts\n10\tten\n9\tnine\n", &messages), 0);
    EXPECT_NE(messages.find("strings.txt:3"), std::string::npos) << messages;
}

TEST_F(StringTableTool, RefusesATwiceUsedIdAndMalformedLines) {
    std::string messages;
    EXPECT_NE(Run("10\tten\n10\tagain\n", &messages), 0);
    EXPECT_NE(messages.find("strings.txt:2"), std::string::npos) << messages;
    EXPECT_NE(Run("10 ten\n", &messages), 0);
    EXPECT_NE(messages.find("strings.txt:1"), std::string::npos) << messages;
    EXPECT_NE(Run("10\tbad \\q escape\n", &messages), 0);
    EXPECT_NE(Run("0\tzero\n", &messages), 0);
}

TEST_F(StringTableTool, WritesEscapedTextsInOrder) {
    std::string messages;
    ASSERT_EQ(Run("1\ta \"quote\"\\nnext\n2\tÜber\n", &messages), 0) << messages;
    std::ifstream out(folder / "out.cpp");
    const std::string code((std::istreambuf_iterator<char>(out)), {});
    EXPECT_NE(code.find(R"({1u, "a \"quote\"\012next"})"), std::string::npos) << code;
    EXPECT_NE(code.find("{0u, nullptr}"), std::string::npos);
}

}  // namespace
