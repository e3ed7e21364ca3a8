// The fixture of the editing command tests (TRIM, OFFSET, FILLET, ARRAY):
// the session variables these commands read and change are set back after
// each test, and objects and program replies are made in one line.
#pragma once

#include <string>
#include <vector>

#include "api/sysvars.h"
#include "command_fixture.h"
#include "editor/editor.h"

class GeometryEditTest : public CommandTest {
 protected:
  using FedReply = tarn::editor::FedReply;
  using ReplyKind = tarn::editor::ReplyKind;

  // The session's variables outlive a test: the ones these commands read
  // and change are set back afterwards.
  void SetUp() override {
    for (const char* v : kKept) {
      saved.emplace_back();
      tarn::host::getSysVar(v, saved.back());
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < saved.size(); ++i) tarn::host::setSysVarInternal(kKept[i], saved[i]);
    CommandTest::TearDown();
  }
  uint32_t line(double x1, double y1, double x2, double y2, const char* layer = "0") {
    makeLine(x1, y1, x2, y2, layer);
    return entities().back();
  }
  FedReply text(const char* s) { return {{*s ? ReplyKind::Text : ReplyKind::Enter, s, {0, 0}, {}}, false}; }
  // A program's pick: the object and the point (current UCS) it was picked at.
  FedReply pick(uint32_t id, double x, double y) {
    tc_name n;
    name(id, n);
    return {{ReplyKind::Entity, std::to_string(x) + "," + std::to_string(y), {n[0], n[1]}, {}}, false};
  }

 private:
  static constexpr const char* kKept[] = {"EDGEMODE", "PROJMODE", "TRIMMODE", "FILLETRAD", "OFFSETDIST",
                                          "OFFSETGAPTYPE", "UCSXDIR", "UCSYDIR"};
  std::vector<tarn::host::SysVarValue> saved;
};
