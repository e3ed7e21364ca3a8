// The two host pieces the layer tools need: the current layout viewport
// (tcedGetCurViewportObjectId) and the host's notice of changed layer
// states ("tcpl_ordinal_1988"), exported by the host library.
#include <tarnsdk/tcedapi.h>

#include "editor/layer_notice.h"
#include "manager_helpers.h"

namespace {

using CurrentViewportTest = LayerManagerTest;

TEST_F(CurrentViewportTest, NullOnTheModelTab) {
  openLayoutDrawing();
  ASSERT_TRUE(tarn::host::setSysVar("TILEMODE", tarn::host::shortValue(1)));
  ASSERT_TRUE(tarn::host::setSysVar("CVPORT", tarn::host::shortValue(2)));
  EXPECT_TRUE(tcedGetCurViewportObjectId().isNull());
}

TEST_F(CurrentViewportTest, TheLayoutViewportThatCvportNumbers) {
  openLayoutDrawing();
  useLayoutViewport(2);
  EXPECT_EQ(tcedGetCurViewportObjectId(), TcDbObjectId(db().serial(), viewportNumbered(2)));
  useLayoutViewport(3);
  EXPECT_EQ(tcedGetCurViewportObjectId(), TcDbObjectId(db().serial(), viewportNumbered(3)));
  EXPECT_NE(viewportNumbered(2), viewportNumbered(3));
}

TEST_F(CurrentViewportTest, NullInPaperSpaceAndForAMissingViewport) {
  openLayoutDrawing();
  useLayoutViewport(1);
  EXPECT_TRUE(tcedGetCurViewportObjectId().isNull()) << "CVPORT 1 is the layout's own paper space";
  useLayoutViewport(4);
  EXPECT_TRUE(tcedGetCurViewportObjectId().isNull());
  useLayoutViewport(2);
  tc_name erased = {0, 0};
  tarn::host::makeName(db(), viewportNumbered(2), erased);
  ASSERT_EQ(tcdbEntDel(erased), RTNORM);
  EXPECT_TRUE(tcedGetCurViewportObjectId().isNull()) << "an erased viewport is not current";
}

// Only the active layout's viewports count: a VIEWPORT of the same number
// in model space is not the current one.
TEST_F(CurrentViewportTest, ViewportsOfOtherSpacesDoNotCount) {
  openLayoutDrawing();
  const uint32_t inLayout = viewportNumbered(2);
  double centre[3] = {0, 0, 0};
  resbuf* list = tcutBuildList(RTDXF0, "VIEWPORT", 8, "0", 10, centre, 40, 10.0, 41, 10.0, 69, 2, RTNONE);
  const int made = tcdbEntMake(list);
  tcutRelRb(list);
  ASSERT_EQ(made, RTNORM);
  ASSERT_EQ(db().typeOf(db().blocks()[db().modelSpace()].entities.back()), "VIEWPORT");
  useLayoutViewport(2);
  EXPECT_EQ(tcedGetCurViewportObjectId(), TcDbObjectId(db().serial(), inLayout));
}

class LayerNoticeTest : public LayerManagerTest {
 protected:
  void SetUp() override {
    LayerManagerTest::SetUp();
    tarn::editor::clearLayerNotices();
  }
  // The notice as a module finds it: in the module that holds tcedCommand.
  static TcEdHostNoticeFn hostNotice() {
    tcpl_module host = tcplModuleOfAddress(reinterpret_cast<const void*>(&tcedCommand));
    return reinterpret_cast<TcEdHostNoticeFn>(tcplGetProcAddress(host, TCED_HOST_LAYER_NOTICE));
  }
};

TEST_F(LayerNoticeTest, TheHostLibraryExportsTheNotice) {
  tcpl_module host = tcplModuleOfAddress(reinterpret_cast<const void*>(&tcedCommand));
  ASSERT_NE(host, nullptr);
  char file[4096] = "";
  tcplModuleFileName(host, file, sizeof file);
  EXPECT_NE(std::string(file).find("libtarnhost"), std::string::npos) << file;
  EXPECT_NE(hostNotice(), nullptr);
}

TEST_F(LayerNoticeTest, ANoticeIsRecordedAndRefreshesTheDisplay) {
  makeLayer("A");
  makeLayer("B");
  auto& display = session->editor().display();
  display.vectors.push_back({});
  const size_t redraws = display.redraws.size();

  TcEdLayerNotice notice;
  notice.layers = {TcDbObjectId(db().serial(), db().findRecord("LAYER", "A")),
                   TcDbObjectId(db().serial(), db().findRecord("LAYER", "B"))};
  notice.flag = 1;
  hostNotice()(TCED_NOTICE_LAYER_STATES, &notice);

  const auto& notices = tarn::editor::layerNotices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].code, TCED_NOTICE_LAYER_STATES);
  EXPECT_EQ(notices[0].layers, notice.layers);
  EXPECT_EQ(notices[0].flag, 1);
  EXPECT_TRUE(notices[0].refreshed);
  ASSERT_EQ(display.redraws.size(), redraws + 1);
  EXPECT_EQ(display.redraws.back().entity, 0u);
  EXPECT_EQ(display.redraws.back().mode, 1);
  EXPECT_TRUE(display.vectors.empty()) << "a redraw of the drawing clears temporary vectors";
}

TEST_F(LayerNoticeTest, OtherCodesAndAMissingNoticeChangeNothing) {
  auto& display = session->editor().display();
  const size_t redraws = display.redraws.size();
  TcEdLayerNotice notice;
  notice.flag = 1;
  hostNotice()(3, &notice);
  hostNotice()(TCED_NOTICE_LAYER_STATES, nullptr);
  const auto& notices = tarn::editor::layerNotices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_FALSE(notices[0].refreshed);
  EXPECT_FALSE(notices[1].refreshed);
  EXPECT_EQ(display.redraws.size(), redraws);
}

// LAYISO tells the host which layers it set aside.
TEST_F(LayerNoticeTest, LayisoSendsTheNotice) {
  makeLayer("KEEP");
  makeLayer("ASIDE");
  const uint32_t line = makeLine("KEEP", 0, 0, 10, 0);
  ASSERT_EQ(run("LAYISO", pickAt(line) + "\n\n"), RTNORM);
  const auto& notices = tarn::editor::layerNotices();
  ASSERT_FALSE(notices.empty()) << transcript();
  const TcDbObjectId aside(db().serial(), db().findRecord("LAYER", "ASIDE"));
  const TcDbObjectId keep(db().serial(), db().findRecord("LAYER", "KEEP"));
  const auto& layers = notices.back().layers;
  EXPECT_NE(std::find(layers.begin(), layers.end(), aside), layers.end());
  EXPECT_EQ(std::find(layers.begin(), layers.end(), keep), layers.end());
  EXPECT_TRUE(notices.back().refreshed);
}

}  // namespace
