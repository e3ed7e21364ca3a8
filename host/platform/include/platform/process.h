// Starting other programs: a command line split by the rules Windows
// programs use, or handed to /bin/sh when a shell is asked for; the caller
// waits for the program or lets it run on its own.
#ifndef TARN_PLATFORM_PROCESS_H
#define TARN_PLATFORM_PROCESS_H

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tarn::platform {

struct ProcessOptions {
  bool wait = false;       // wait for the program and report its exit code
  bool useShell = false;   // run the line with /bin/sh -c
};

struct ProcessResult {
  Status status = Status::kOk;   // kFileNotFound: no such program
  pid_t pid = 0;
  int exitCode = 0;              // when waited: the exit code, or 128 + signal
};

// Starts the program. Only standard input, output and error are passed on;
// a program left running is reaped in the background, never left a zombie.
ProcessResult StartProcess(std::string_view commandLine, const ProcessOptions& options = {});

// Splits a command line into arguments: white space separates them, double
// quotes group them, and backslashes are literal except before a quote
// (2n backslashes and a quote: n backslashes, the quote groups; 2n+1: n
// backslashes and a literal quote). "" inside quotes is one literal quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Quotes one argument so that SplitCommandLine gives it back unchanged.
std::string QuoteArgument(std::string_view argument);

// The full path of an executable program found in the folders of a PATH-like
// list (the environment's PATH when none is given); a name with a slash is
// checked as it stands.
std::optional<std::string> FindOnPath(std::string_view program,
                                      std::optional<std::string_view> searchPath = std::nullopt);

}  // namespace tarn::platform

#endif
