// Questions the platform asks the user: message boxes and file dialogs. The
// editor answers them on the command line; QueuedPrompts answers them from
// a queue, for tests and scripts.
#ifndef TARN_PLATFORM_USER_PROMPTS_H
#define TARN_PLATFORM_USER_PROMPTS_H

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tarn::platform {

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };

// Numbered as the Windows dialog results.
enum class MessageAnswer : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

struct MessageRequest {
  std::string text;
  std::string caption;
  MessageButtons buttons = MessageButtons::kOk;
};

struct PathRequest {
  std::string title;
  std::string defaultPath;   // offered; an empty reply takes it
  std::string extensions;    // "txt" or "svf;scr": the kinds of file offered
  bool forSaving = false;
  bool mustExist = false;
};

// Whether the answer is one of the buttons offered.
bool IsOffered(MessageButtons buttons, MessageAnswer answer);

// The answer of a box closed without a choice: Cancel where offered, else
// No where offered, else OK.
MessageAnswer DismissAnswer(MessageButtons buttons);

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // Always one of the buttons offered.
  virtual MessageAnswer Ask(const MessageRequest& request) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> AskPath(const PathRequest& request) = 0;
};

// Answers from queues filled beforehand and remembers what was asked. An
// empty queue, or an answer the box does not offer, dismisses the box. A
// queued empty path takes the default; a queued nothing cancels.
class QueuedPrompts : public UserPrompts {
 public:
  void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  void QueuePath(std::optional<std::string> path) { paths_.push_back(std::move(path)); }

  MessageAnswer Ask(const MessageRequest& request) override;
  std::optional<std::string> AskPath(const PathRequest& request) override;

  const std::vector<MessageRequest>& AskedMessages() const { return askedMessages_; }
  const std::vector<PathRequest>& AskedPaths() const { return askedPaths_; }
  size_t UnusedAnswers() const { return answers_.size() + paths_.size(); }

 private:
  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<std::string>> paths_;
  std::vector<MessageRequest> askedMessages_;
  std::vector<PathRequest> askedPaths_;
};

}  // namespace tarn::platform

#endif
