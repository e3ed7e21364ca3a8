// Message boxes and file questions answered on the editor's command line.
#include "platformsdk/editor_prompts.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "editor/editor.h"
#include "editor/keyword_list.h"
#include "platform/files.h"

namespace tarn::platformsdk {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;

struct Button {
  const char* keyword;
  MessageAnswer answer;
};

std::vector<Button> ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOk: return {{"OK", MessageAnswer::kOk}};
    case MessageButtons::kOkCancel:
      return {{"OK", MessageAnswer::kOk}, {"Cancel", MessageAnswer::kCancel}};
    case MessageButtons::kYesNo:
      return {{"Yes", MessageAnswer::kYes}, {"No", MessageAnswer::kNo}};
    case MessageButtons::kYesNoCancel:
      return {{"Yes", MessageAnswer::kYes}, {"No", MessageAnswer::kNo},
              {"Cancel", MessageAnswer::kCancel}};
  }
  return {{"OK", MessageAnswer::kOk}};
}

std::string Heading(const platform::MessageRequest& request) {
  return request.caption.empty() ? request.text : request.caption + ": " + request.text;
}

// "text [Yes/No/Cancel] <Yes>: "
std::string QuestionPrompt(const platform::MessageRequest& request,
                           const std::vector<Button>& buttons) {
  std::string prompt = Heading(request) + " [";
  for (size_t i = 0; i < buttons.size(); ++i) prompt += (i ? "/" : "") + std::string(buttons[i].keyword);
  return prompt + "] <" + buttons.front().keyword + ">: ";
}

editor::KeywordList KeywordsOf(const std::vector<Button>& buttons) {
  std::string list;
  for (const Button& b : buttons) list += std::string(list.empty() ? "" : " ") + b.keyword;
  return editor::KeywordList::parse(list);
}

bool HasExtension(const std::string& path) {
  return std::filesystem::path(path).has_extension();
}

// A path typed in double quotes (it may hold spaces) without them.
std::string Unquoted(std::string text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

std::string FirstExtension(const std::string& extensions) {
  return extensions.substr(0, extensions.find(';'));
}

}  // namespace

editor::Editor& EditorPrompts::target() const {
  return editor_ != nullptr ? *editor_ : editor::currentEditor();
}

MessageAnswer EditorPrompts::Ask(const platform::MessageRequest& request) {
  editor::Editor& ed = target();
  const std::vector<Button> buttons = ButtonsOf(request.buttons);
  if (buttons.size() == 1) {
    ed.print(Heading(request) + "\n");
    return MessageAnswer::kOk;
  }
  const editor::KeywordList keywords = KeywordsOf(buttons);
  const std::string prompt = QuestionPrompt(request, buttons);
  for (;;) {
    const editor::Reply r = ed.ask(prompt, false);
    if (r.kind == editor::ReplyKind::Enter) return buttons.front().answer;
    if (r.kind != editor::ReplyKind::Text) return platform::DismissAnswer(request.buttons);
    if (auto k = keywords.match(r.text)) return buttons[*k].answer;
    ed.complain("Invalid option keyword.");
  }
}

std::optional<std::string> EditorPrompts::AskPath(const platform::PathRequest& request) {
  editor::Editor& ed = target();
  std::string prompt = request.title.empty() ? "Enter file name" : request.title;
  if (!request.defaultPath.empty()) prompt += " <" + request.defaultPath + ">";
  prompt += ": ";
  for (;;) {
    const editor::Reply r = ed.ask(prompt, true);
    std::string path;
    if (r.kind == editor::ReplyKind::Enter) path = request.defaultPath;
    else if (r.kind == editor::ReplyKind::Text) path = Unquoted(r.text);
    else return std::nullopt;
    if (path.empty()) continue;
    if (!HasExtension(path) && !request.extensions.empty()) path += "." + FirstExtension(request.extensions);
    if (!request.mustExist || platform::FileExists(path)) return path;
    ed.complain("Cannot find the file \"" + path + "\".");
  }
}

}  // namespace tarn::platformsdk
