// The queue-answered stand-in for message boxes and file dialogs.
#include "platform/user_prompts.h"

namespace tarn::platform {

bool IsOffered(MessageButtons buttons, MessageAnswer answer) {
  switch (buttons) {
    case MessageButtons::kOk:
      return answer == MessageAnswer::kOk;
    case MessageButtons::kOkCancel:
      return answer == MessageAnswer::kOk || answer == MessageAnswer::kCancel;
    case MessageButtons::kYesNo:
      return answer == MessageAnswer::kYes || answer == MessageAnswer::kNo;
    case MessageButtons::kYesNoCancel:
      return answer != MessageAnswer::kOk;
  }
  return false;
}

MessageAnswer DismissAnswer(MessageButtons buttons) {
  for (MessageAnswer answer : {MessageAnswer::kCancel, MessageAnswer::kNo}) {
    if (IsOffered(buttons, answer)) return answer;
  }
  return MessageAnswer::kOk;
}

MessageAnswer QueuedPrompts::Ask(const MessageRequest& request) {
  askedMessages_.push_back(request);
  if (answers_.empty()) return DismissAnswer(request.buttons);
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return IsOffered(request.buttons, answer) ? answer : DismissAnswer(request.buttons);
}

std::optional<std::string> QueuedPrompts::AskPath(const PathRequest& request) {
  askedPaths_.push_back(request);
  if (paths_.empty()) return std::nullopt;
  std::optional<std::string> path = std::move(paths_.front());
  paths_.pop_front();
  if (path && path->empty()) return request.defaultPath;
  return path;
}

}  // namespace tarn::platform
