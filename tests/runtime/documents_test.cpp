// Several open documents: load-drawing for each, module functions per
// document, switching, opening in application context, closing, and the
// resource-handle stack.
#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tcrxapi.h>

#include "api/host_state.h"
#include "runtime_fixture.h"

namespace tarn::runtime::test {
namespace {

const std::string kDrawing = std::string(TARN_TEST_DATA) + "/dxf/ezdxf-r12.dxf";

TEST_F(RuntimeTest, ThreeDrawingsGetThreeLoadDrawingMessages) {
  DocumentManager& docs = documentManager();
  ASSERT_NE(docs.open(kDrawing, nullptr), nullptr);
  ASSERT_NE(docs.open(kDrawing, nullptr), nullptr);
  EXPECT_EQ(docs.documentCount(), 3);  // the session's drawing and two more
  TcApDocument* before = docs.curDocument();
  ASSERT_TRUE(load("tm_module"));
  EXPECT_EQ(countOf(transcript(), "[tm] load drawing"), 3u) << transcript();
  EXPECT_EQ(docs.curDocument(), before);  // the current document is current again
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(docs.setCurDocument(docs.document(i)));
    EXPECT_EQ(eval("(tmkind \"int\")"), "42") << "document " << i;
  }
}

TEST_F(RuntimeTest, OpeningADocumentSendsLoadDrawingAndMakesItCurrent) {
  ASSERT_TRUE(load("tm_module"));
  DocumentManager& docs = documentManager();
  ASSERT_TRUE(docs.appContextOpenDocument(kDrawing.c_str()));
  EXPECT_EQ(countOf(transcript(), "[tm] load drawing"), 2u);
  EXPECT_STREQ(docs.curDocument()->fileName(), kDrawing.c_str());
  EXPECT_EQ(docs.curDocument()->database(), tcdbWorkingDatabase());
  EXPECT_EQ(eval("(tmkind \"int\")"), "42");
  ASSERT_TRUE(docs.appContextNewDocument());
  EXPECT_EQ(countOf(transcript(), "[tm] load drawing"), 3u);
  EXPECT_STREQ(docs.curDocument()->fileName(), "");
}

TEST_F(RuntimeTest, ModuleFunctionsBelongToTheirDocument) {
  ASSERT_TRUE(load("tm_module"));
  DocumentManager& docs = documentManager();
  TcApDocument* first = docs.curDocument();
  Document* quiet = docs.openNew();  // opened without telling the module
  ASSERT_TRUE(docs.setCurDocument(quiet));
  EXPECT_FALSE(session->editor().lisp().isFunction("TMECHO"));
  EXPECT_EQ(session->run("TMCMD"), RTERROR);
  ASSERT_TRUE(docs.setCurDocument(first));
  EXPECT_TRUE(session->editor().lisp().isFunction("TMECHO"));
  EXPECT_EQ(session->run("TMCMD"), RTNORM);
}

TEST_F(RuntimeTest, DrawingThatCannotBeReadIsNotOpened) {
  DocumentManager& docs = documentManager();
  int count = docs.documentCount();
  EXPECT_FALSE(docs.appContextOpenDocument("/no/such/drawing.dxf"));
  EXPECT_NE(transcript().find("Cannot open the drawing: "), std::string::npos);
  EXPECT_NE(transcript().find("/no/such/drawing.dxf"), std::string::npos) << transcript();
  EXPECT_EQ(docs.documentCount(), count);
  EXPECT_FALSE(docs.appContextOpenDocument(nullptr));
}

TEST_F(RuntimeTest, ClosingADocumentTellsModulesAndKeepsTheLastOne) {
  ASSERT_TRUE(load("tm_module"));
  DocumentManager& docs = documentManager();
  TcApDocument* first = docs.curDocument();
  ASSERT_TRUE(docs.appContextOpenDocument(kDrawing.c_str()));
  TcApDocument* second = docs.curDocument();
  ASSERT_TRUE(docs.closeDocument(second));
  EXPECT_NE(transcript().find("[tm] unload drawing"), std::string::npos);
  EXPECT_EQ(docs.curDocument(), first);
  EXPECT_EQ(docs.documentCount(), 1);
  EXPECT_FALSE(docs.closeDocument(first));  // commands always have a drawing
  EXPECT_FALSE(docs.setCurDocument(second));
  EXPECT_TRUE(host::counters().openObjects == 0);
}

TEST_F(RuntimeTest, ResourceHandleStack) {
  TcApDocManager* docs = tcDocManagerPtr();
  int a = 0, b = 0;
  EXPECT_EQ(docs->topResourceHandle(), nullptr);
  docs->pushResourceHandle(&a);
  docs->pushResourceHandle(&b);
  EXPECT_EQ(docs->topResourceHandle(), &b);
  docs->popResourceHandle();
  EXPECT_EQ(docs->topResourceHandle(), &a);
  docs->popResourceHandle();
  docs->popResourceHandle();  // one pop too many does no harm
  EXPECT_EQ(docs->topResourceHandle(), nullptr);
}

}  // namespace
}  // namespace tarn::runtime::test
