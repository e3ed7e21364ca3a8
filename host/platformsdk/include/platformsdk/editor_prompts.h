// Message boxes and file dialogs asked on the editor's command line, as a
// host does with its dialogs switched off. A question prints its text with
// the buttons as keywords and the default in angle brackets:
//   Save the changes? [Yes/No/Cancel] <Yes>:
// and reads the answer from the editor's input (terminal, script or test).
#ifndef TARN_PLATFORMSDK_EDITOR_PROMPTS_H
#define TARN_PLATFORMSDK_EDITOR_PROMPTS_H

#include <optional>
#include <string>

#include "platform/user_prompts.h"

namespace tarn::editor {
class Editor;
}

namespace tarn::platformsdk {

class EditorPrompts : public platform::UserPrompts {
 public:
  // Asks through this editor; null: through the current editor at each call.
  explicit EditorPrompts(editor::Editor* editor = nullptr) : editor_(editor) {}

  // A box with only OK is printed and answers OK without reading. Enter
  // takes the first button; ^C or the end of the input dismisses the box
  // (Cancel where offered, else No).
  platform::MessageAnswer Ask(const platform::MessageRequest& request) override;
  // Enter takes the default path; ^C or the end of the input cancels. A
  // name without an extension gets the first extension offered; a file
  // that must exist is asked again until it does.
  std::optional<std::string> AskPath(const platform::PathRequest& request) override;

 private:
  editor::Editor& target() const;
  editor::Editor* editor_;
};

}  // namespace tarn::platformsdk

#endif
