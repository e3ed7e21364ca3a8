// A new drawing made current for each test; after the test no object may be
// left open and no result buffer unreleased.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tcutapi.h>

#include "api/host_state.h"
#include "db/database.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "objects/object_pool.h"

class ObjectTest : public testing::Test {
 protected:
  void SetUp() override {
    tarn::db::initNewDrawing(db);
    tarn::host::setCurrentDatabase(&db);
    buffersBefore = tarn::host::counters().resbufs;
    openBefore = tarn::host::counters().openObjects;
  }
  void TearDown() override {
    EXPECT_EQ(tarn::host::counters().openObjects, openBefore) << "objects were left open";
    EXPECT_EQ(tarn::host::counters().resbufs, buffersBefore) << "result buffers were not released";
    tarn::objects::releaseObjectsOf(db);
    tarn::host::unregisterDatabase(&db);
    tarn::objects::releaseClosedObjects();
  }

  // Makes an entity from a chain (released here) and gives its object id.
  TcDbObjectId make(resbuf* list) {
    tc_name e = {0, 0};
    bool ok = list && tcdbEntMake(list) == RTNORM && tcdbEntLast(e) == RTNORM;
    tcutRelRb(list);
    TcDbObjectId id;
    EXPECT_TRUE(ok);
    EXPECT_EQ(tcdbGetObjectId(id, e), TcDb::eOk);
    return id;
  }

  // The entity list of an object, seen through the entity-list calls.
  struct List {
    resbuf* head = nullptr;
    explicit List(TcDbObjectId id) {
      tc_name e;
      if (tcdbGetAdsName(e, id) == TcDb::eOk) head = tcdbEntGet(e);
    }
    ~List() { tcutRelRb(head); }
    const resbuf* group(int code, int nth = 0) const {
      for (const resbuf* rb = head; rb; rb = rb->rbnext)
        if (rb->restype == code && nth-- == 0) return rb;
      return nullptr;
    }
    std::string text(int code) const {
      const resbuf* rb = group(code);
      return rb && rb->resval.rstring ? rb->resval.rstring : "";
    }
    int count(int code) const {
      int n = 0;
      for (const resbuf* rb = head; rb; rb = rb->rbnext) n += rb->restype == code;
      return n;
    }
  };

  // Changes one group of an object through the entity-list calls.
  void modify(TcDbObjectId id, resbuf* change) {
    tc_name e;
    ASSERT_EQ(tcdbGetAdsName(e, id), TcDb::eOk);
    resbuf* head = tcutBuildList(-1, e, RTNONE);
    head->rbnext = change;
    EXPECT_EQ(tcdbEntMod(head), RTNORM);
    tcutRelRb(head);
  }

  TcDbObjectId layer(const char* name, int flags = 0) {
    resbuf* list = tcutBuildList(RTDXF0, "LAYER", 2, name, 70, flags, 62, 3, 6, "Continuous", RTNONE);
    EXPECT_EQ(tcdbEntMake(list), RTNORM);
    tcutRelRb(list);
    tc_name e;
    EXPECT_EQ(tcdbTblObjName("LAYER", name, e), RTNORM);
    TcDbObjectId id;
    tcdbGetObjectId(id, e);
    return id;
  }

  tarn::db::Database db;
  long buffersBefore = 0;
  long openBefore = 0;
};

inline double kOrigin[3] = {0, 0, 0};
inline double kP1[3] = {10, 5, 0};
inline double kP2[3] = {20, 15, 2};
