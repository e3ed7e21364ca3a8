// A new drawing made current for each test; after the test no result buffer
// may be left unreleased.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include <tarnsdk/groupcodes.h>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "api/host_state.h"
#include "db/database.h"
#include "db/dxf.h"
#include "db/new_drawing.h"

class HostTest : public testing::Test {
 protected:
  void SetUp() override {
    tarn::db::initNewDrawing(db);
    tarn::host::setCurrentDatabase(&db);
    buffersBefore = tarn::host::counters().resbufs;
  }
  void TearDown() override {
    EXPECT_EQ(tarn::host::counters().resbufs, buffersBefore) << "result buffers were not released";
    tarn::host::unregisterDatabase(&db);
  }

  // The first buffer of a chain with this group code.
  static const resbuf* group(const resbuf* list, int code) {
    for (; list; list = list->rbnext)
      if (list->restype == code) return list;
    return nullptr;
  }
  static std::string text(const resbuf* list, int code) {
    const resbuf* rb = group(list, code);
    return rb && rb->resval.rstring ? rb->resval.rstring : "";
  }
  static int count(const resbuf* list, int code) {
    int n = 0;
    for (; list; list = list->rbnext) n += list->restype == code;
    return n;
  }

  // Makes an entity from a chain and gives its name; releases the chain.
  bool make(resbuf* list, tc_name out) {
    bool ok = list && tcdbEntMake(list) == RTNORM;
    tcutRelRb(list);
    return ok && tcdbEntLast(out) == RTNORM;
  }

  tarn::db::Database db;
  long buffersBefore = 0;
};
