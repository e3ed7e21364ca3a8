// Starting other programs, splitting command lines, finding programs on PATH.
#include "platform/process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "errno_status.h"

extern char** environ;

namespace tarn::platform {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Backslashes before a quote, as the splitting rule reads them.
void AppendBackslashes(std::string& arg, size_t count, bool beforeQuote, bool* literalQuote) {
  arg.append(beforeQuote ? count / 2 : count, '\\');
  *literalQuote = beforeQuote && (count % 2 == 1);
}

int ExitCodeOf(int waitStatus) {
  if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
  if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
  return -1;
}

int WaitFor(pid_t pid) {
  int waitStatus = 0;
  while (::waitpid(pid, &waitStatus, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return ExitCodeOf(waitStatus);
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// Starts argv; answers the errno of a failed start (0 on success).
int Spawn(const std::vector<std::string>& args, pid_t* pid) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Only the three standard streams pass to the program.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
  const int rc = ::posix_spawnp(pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSpace(line[i])) ++i;
    if (i >= line.size()) break;
    std::string arg;
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsSpace(line[i])); ++i) {
      if (line[i] == '\\') {
        size_t count = 0;
        while (i < line.size() && line[i] == '\\') ++count, ++i;
        bool literalQuote = false;
        AppendBackslashes(arg, count, i < line.size() && line[i] == '"', &literalQuote);
        if (literalQuote) arg.push_back('"');
        else --i;   // the quote (or other character) is read next round
        continue;
      }
      if (line[i] != '"') {
        arg.push_back(line[i]);
      } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        arg.push_back('"');
        ++i;
      } else {
        quoted = !quoted;
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteArgument(std::string_view argument) {
  const bool needsQuotes =
      argument.empty() || argument.find_first_of(" \t\n\r\"") != std::string_view::npos;
  if (!needsQuotes) return std::string(argument);
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, '\\');
  out.push_back('"');
  return out;
}

std::optional<std::string> FindOnPath(std::string_view program,
                                      std::optional<std::string_view> searchPath) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string_view::npos) {
    std::string path(program);
    return IsExecutableFile(path) ? std::optional(path) : std::nullopt;
  }
  std::string_view dirs;
  if (searchPath) {
    dirs = *searchPath;
  } else if (const char* env = std::getenv("PATH")) {
    dirs = env;
  }
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string_view::npos) end = dirs.size();
    std::string dir(dirs.substr(start, end - start));
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + std::string(program);
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

ProcessResult StartProcess(std::string_view commandLine, const ProcessOptions& options) {
  ProcessResult result;
  std::vector<std::string> args;
  if (options.useShell) {
    args = {"/bin/sh", "-c", std::string(commandLine)};
  } else {
    args = SplitCommandLine(commandLine);
  }
  if (args.empty() || args[0].empty()) {
    result.status = Status::kInvalidParameter;
    return result;
  }
  const int rc = Spawn(args, &result.pid);
  if (rc != 0) {
    result.status = detail::StatusFromErrno(rc);
    return result;
  }
  if (options.wait) {
    result.exitCode = WaitFor(result.pid);
  } else {
    // Reap the program when it ends, so it never lingers as a zombie.
    std::thread([pid = result.pid] { WaitFor(pid); }).detach();
  }
  return result;
}

}  // namespace tarn::platform
