// tcplMessageBox: the desktop's message box types mapped to the platform's
// user prompts.
#include <tarnsdk/tcplatform.h>

#include "platformsdk/platform_sdk.h"

namespace {

using tarn::platform::MessageButtons;

// The button sets of the desktop's type; sets this host does not know
// (abort/retry/ignore, retry/cancel) are asked as OK/Cancel, so that a
// question keeps a way out.
MessageButtons ButtonsOfType(unsigned type) {
  switch (type & 0xFu) {
    case TCPL_MB_OK: return MessageButtons::kOk;
    case TCPL_MB_YESNOCANCEL: return MessageButtons::kYesNoCancel;
    case TCPL_MB_YESNO: return MessageButtons::kYesNo;
    default: return MessageButtons::kOkCancel;
  }
}

}  // namespace

extern "C" int tcplMessageBox(const char* text, const char* caption, unsigned type) {
  tarn::platform::MessageRequest request;
  request.text = text != nullptr ? text : "";
  request.caption = caption != nullptr ? caption : "";
  request.buttons = ButtonsOfType(type);
  return static_cast<int>(tarn::platformsdk::CurrentUserPrompts().Ask(request));
}
