// The SIGINT handler and its flag.
#include "break_signal.h"

#include <csignal>
#include <signal.h>

namespace tarn::editor {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
  if (interrupted) {  // the first ^C was never taken: stop for real
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
    return;
  }
  interrupted = 1;
}

}  // namespace

void installBreakHandler() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a read waiting for the terminal returns
  sigaction(SIGINT, &action, nullptr);
}

bool takeInterrupt() {
  if (!interrupted) return false;
  interrupted = 0;
  return true;
}

void noteInterrupt() { interrupted = 1; }

}  // namespace tarn::editor
