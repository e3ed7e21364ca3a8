// tarncad with modules: --load, the default module switch, exit codes, and
// quit and unload when the session ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
  int status;
  std::string out;
};

Outcome tarncad(const std::string& args) {
  std::string cmd = std::string(TARNCAD) + " " + args + " 2>&1 </dev/null";
  Outcome r{-1, {}};
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

const std::string kModule = std::string(TM_DIR) + "/tm_module.so";

TEST(Tarncad, LoadsModulesRunsTheirCommandsAndLetsThemGo) {
  Outcome r = tarncad("--no-modules --load " + kModule + " -c TMHELLO -c \"(tmkind \\\"int\\\")\"");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("[tm] init"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Hello from the test module."), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("42"), std::string::npos) << r.out;
  size_t quit = r.out.find("[tm] quit"), unload = r.out.find("[tm] unload");
  ASSERT_NE(quit, std::string::npos) << r.out;
  ASSERT_NE(unload, std::string::npos) << r.out;
  EXPECT_LT(quit, unload);
}

TEST(Tarncad, SeveralDrawingsAreSeveralDocuments) {
  std::string drawing = std::string(TARN_TEST_DATA) + "/dxf/ezdxf-r12.dxf";
  Outcome r = tarncad(drawing + " " + drawing + " " + drawing + " --no-modules --load " + kModule + " -c TMHELLO");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("[tm] load drawing 1 of 3"), std::string::npos) << r.out;
  size_t n = 0;
  for (size_t at = r.out.find("[tm] load drawing"); at != std::string::npos; at = r.out.find("[tm] load drawing", at + 1)) ++n;
  EXPECT_EQ(n, 3u);
}

TEST(Tarncad, ModuleThatCannotLoadEndsTheSessionWithItsOwnCode) {
  Outcome r = tarncad("--no-modules --load " + std::string(TM_DIR) + "/tm_stamp.so -c TMHELLO");
  EXPECT_EQ(r.status, 6) << r.out;
  EXPECT_NE(r.out.find("tm_stamp.so was built for another host interface"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Hello"), std::string::npos);
}

TEST(Tarncad, HelpNamesTheModuleOptions) {
  Outcome r = tarncad("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("--load MODULE"), std::string::npos);
  EXPECT_NE(r.out.find("--no-modules"), std::string::npos);
}

}  // namespace
