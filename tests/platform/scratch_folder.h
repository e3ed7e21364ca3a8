// A fresh folder under the system's temporary folder for one test, removed
// afterwards, with helpers to write and read small files in it.
#ifndef TARN_TESTS_PLATFORM_SCRATCH_FOLDER_H
#define TARN_TESTS_PLATFORM_SCRATCH_FOLDER_H

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tarn::platform::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarn-platform-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  std::string Write(const std::string& name, const std::string& contents) const {
    const std::string file = *this / name;
    std::ofstream(file, std::ios::binary) << contents;
    return file;
  }

  std::string WriteScript(const std::string& name, const std::string& body) const {
    const std::string file = Write(name, "#!/bin/sh\n" + body + "\n");
    ::chmod(file.c_str(), 0755);
    return file;
  }

  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
  }

 private:
  std::filesystem::path path_;
};

// Sets (or with nullptr unsets) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, hadOld_ = true;
    if (value != nullptr) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (hadOld_) ::setenv(name_.c_str(), old_.c_str(), 1);
    else ::unsetenv(name_.c_str());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool hadOld_ = false;
};

}  // namespace tarn::platform::testing

#endif
