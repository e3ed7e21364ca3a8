// Start-up of tarncad to its first prompt: the program is started with a
// pipe for its output and one command line, and the time until "Command: "
// appears on the pipe is taken; 20 runs, the median and the fastest printed.
// Usage: startup_bench [path/to/tarncad] (default: the tarncad of this tree).
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds until the first prompt; negative when it never came.
double firstPrompt(const char* program) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", 0, 0);
  char* argv[] = {const_cast<char*>(program), const_cast<char*>("-c"), const_cast<char*>(""), nullptr};
  pid_t pid = 0;
  auto t0 = Clock::now();
  int rc = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  double ms = -1;
  if (rc == 0) {
    std::string seen;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) {
      seen.append(buf, size_t(n));
      if (seen.find("Command: ") != std::string::npos) {
        ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        break;
      }
    }
    waitpid(pid, nullptr, 0);
  }
  close(out[0]);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const char* program = argc > 1 ? argv[1] : TARNCAD_PATH;
  std::vector<double> times;
  for (int i = 0; i < 20; ++i) {
    double ms = firstPrompt(program);
    if (ms < 0) {
      std::fprintf(stderr, "%s gave no prompt\n", program);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("tarncad start-up to the first prompt: median %.1f ms, fastest %.1f ms (20 runs)\n", times[10],
              times[0]);
  return 0;
}
