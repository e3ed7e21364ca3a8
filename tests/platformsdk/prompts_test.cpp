// Message boxes and file questions asked on the command line and answered
// from a script.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <tarnsdk/tcplatform.h>

#include "editor/editor.h"
#include "editor/reply_source.h"
#include "platformsdk/editor_prompts.h"
#include "platformsdk/platform_sdk.h"
#include "scratch_folder.h"

namespace {

class Prompts : public testing::Test {
 protected:
  Prompts() { tarn::editor::setCurrentEditor(&editor_); }
  ~Prompts() override { tarn::editor::setCurrentEditor(nullptr); }

  void Script(const std::string& text) {
    editor_.pushSource(std::make_unique<tarn::editor::StringSource>(text, "answers.scr"));
  }
  std::string Transcript() const { return editor_.transcriptText(); }

  tarn::editor::Editor editor_;
};

TEST_F(Prompts, AQuestionShowsItsButtonsAndDefaultAndTakesKeywords) {
  Script("Y\nno\nCANCEL\n\n");
  const unsigned type = TCPL_MB_YESNOCANCEL | TCPL_MB_ICONQUESTION;
  EXPECT_EQ(tcplMessageBox("Save the changes?", "Layer Walk", type), TCPL_IDYES);
  EXPECT_EQ(tcplMessageBox("Save the changes?", "Layer Walk", type), TCPL_IDNO);
  EXPECT_EQ(tcplMessageBox("Save the changes?", "Layer Walk", type), TCPL_IDCANCEL);
  EXPECT_EQ(tcplMessageBox("Save the changes?", "Layer Walk", type), TCPL_IDYES) << "Enter takes the first button";
  EXPECT_NE(Transcript().find("Layer Walk: Save the changes? [Yes/No/Cancel] <Yes>: "), std::string::npos)
      << Transcript();
}

TEST_F(Prompts, CancellingOrRunningOutOfAnswersDismissesTheBox) {
  Script("^C\n^C\n");
  EXPECT_EQ(tcplMessageBox("Go on?", nullptr, TCPL_MB_YESNO), TCPL_IDNO);
  EXPECT_EQ(tcplMessageBox("Go on?", nullptr, TCPL_MB_OKCANCEL), TCPL_IDCANCEL);
  EXPECT_EQ(tcplMessageBox("Go on?", nullptr, TCPL_MB_YESNOCANCEL), TCPL_IDCANCEL) << "no answers left";
}

TEST_F(Prompts, AWrongAnswerIsNamedWithItsPlaceAndAskedAgain) {
  Script("maybe\nOK\n");
  EXPECT_EQ(tcplMessageBox("Delete the file?", "", TCPL_MB_OKCANCEL), TCPL_IDOK);
  EXPECT_NE(Transcript().find("answers.scr:1: Invalid option keyword."), std::string::npos) << Transcript();
}

TEST_F(Prompts, AnInformationBoxIsPrintedWithoutReadingAnAnswer) {
  Script("Y\n");
  EXPECT_EQ(tcplMessageBox("loadstring error! check string id is right!", "TarnExtend", TCPL_MB_OK), TCPL_IDOK);
  EXPECT_NE(Transcript().find("TarnExtend: loadstring error! check string id is right!\n"), std::string::npos);
  EXPECT_EQ(tcplMessageBox("Next?", "", TCPL_MB_YESNO), TCPL_IDYES) << "the script's answer is still there";
}

TEST_F(Prompts, MessageBoxesGoToTheInstalledPrompts) {
  tarn::platform::QueuedPrompts queued;
  queued.QueueAnswer(tarn::platform::MessageAnswer::kNo);
  tarn::platformsdk::SetUserPrompts(&queued);
  EXPECT_EQ(tcplMessageBox("Replace?", "Copy", TCPL_MB_YESNO), TCPL_IDNO);
  tarn::platformsdk::SetUserPrompts(nullptr);
  ASSERT_EQ(queued.AskedMessages().size(), 1u);
  EXPECT_EQ(queued.AskedMessages()[0].caption, "Copy");
}

TEST_F(Prompts, PathsTakeTheDefaultTheFirstExtensionAndMustExistWhenAsked) {
  tarn::platform::testing::ScratchFolder folder;
  const std::string existing = folder.Write("plan.scr", "LINE\n");
  tarn::platformsdk::EditorPrompts prompts(&editor_);
  tarn::platform::PathRequest request;
  request.title = "Script file";
  request.defaultPath = existing;
  request.extensions = "scr;txt";

  Script("\n" + folder / "other" + "\n\"" + folder / "missing.scr" + "\"\n" + folder / "plan" + "\n^C\n");
  EXPECT_EQ(prompts.AskPath(request), existing);
  EXPECT_EQ(prompts.AskPath(request), folder / "other.scr");
  request.mustExist = true;
  EXPECT_EQ(prompts.AskPath(request), existing) << "a missing file is asked again";
  EXPECT_NE(Transcript().find("Cannot find the file \"" + folder / "missing.scr" + "\"."), std::string::npos);
  EXPECT_EQ(prompts.AskPath(request), std::nullopt);
  EXPECT_NE(Transcript().find("Script file <" + existing + ">: "), std::string::npos);
}

}  // namespace
