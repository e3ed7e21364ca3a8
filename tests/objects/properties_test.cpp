// Each class's values against the entity list of the same object: a value
// set through the object shows in the list, and a list change shows in the
// object.
#include <cmath>
#include <functional>
#include <numbers>
#include <variant>

#include "object_fixture.h"

namespace {

constexpr double kPi = std::numbers::pi;

resbuf* text() { return tcutBuildList(RTDXF0, "TEXT", 10, kP1, 40, 2.5, 1, "note", RTNONE); }
resbuf* mtext() { return tcutBuildList(RTDXF0, "MTEXT", 10, kP1, 40, 2.5, 41, 30.0, 1, "a\\Pb", RTNONE); }
resbuf* attdef() {
  return tcutBuildList(RTDXF0, "ATTDEF", 10, kP1, 40, 2.5, 1, "dflt", 2, "TAG", 3, "Value?", 70, 0, RTNONE);
}
resbuf* line() { return tcutBuildList(RTDXF0, "LINE", 10, kOrigin, 11, kP1, RTNONE); }

using Value = std::variant<int, double, std::string, TcGePoint3d>;

struct SetCase {
  const char* name;
  resbuf* (*build)();
  std::function<TcDb::ErrorStatus(TcDbObject*)> set;
  int code;
  Value expected;  // the group's value in the entity list
};

class SetThroughObject : public ObjectTest, public testing::WithParamInterface<SetCase> {};

void expectGroup(const resbuf* rb, const Value& v) {
  ASSERT_NE(rb, nullptr);
  if (auto* i = std::get_if<int>(&v)) {
    int got = rb->restype >= 90 && rb->restype <= 99 ? rb->resval.rlong
              : rb->restype >= 420 && rb->restype <= 429 ? rb->resval.rlong : rb->resval.rint;
    EXPECT_EQ(got, *i);
  } else if (auto* d = std::get_if<double>(&v)) {
    EXPECT_NEAR(rb->resval.rreal, *d, 1e-9);
  } else if (auto* s = std::get_if<std::string>(&v)) {
    EXPECT_STREQ(rb->resval.rstring, s->c_str());
  } else {
    auto p = std::get<TcGePoint3d>(v);
    EXPECT_DOUBLE_EQ(rb->resval.rpoint[0], p.x);
    EXPECT_DOUBLE_EQ(rb->resval.rpoint[1], p.y);
    EXPECT_DOUBLE_EQ(rb->resval.rpoint[2], p.z);
  }
}

TEST_P(SetThroughObject, ShowsInTheEntityList) {
  layer("Walls");
  TcDbObjectId id = make(GetParam().build());
  TcDbObject* o = nullptr;
  ASSERT_EQ(tcdbOpenObject(o, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(GetParam().set(o), TcDb::eOk);
  o->close();
  List list(id);
  expectGroup(list.group(GetParam().code), GetParam().expected);
  // The drawing is still one the reader takes.
  tarn::db::Database again;
  EXPECT_TRUE(tarn::db::readDxfBuffer(tarn::db::writeDxfString(db), again).ok());
}

template <class T>
std::function<TcDb::ErrorStatus(TcDbObject*)> on(std::function<TcDb::ErrorStatus(T*)> f) {
  return [f](TcDbObject* o) { T* t = dynamic_cast<T*>(o); return t ? f(t) : TcDb::eNotThatKindOfClass; };
}

INSTANTIATE_TEST_SUITE_P(
    Classes, SetThroughObject,
    testing::Values(
        SetCase{"EntityLayer", line, on<TcDbEntity>([](auto* e) { return e->setLayer("walls"); }), 8, std::string("Walls")},
        SetCase{"EntityColor", line, on<TcDbEntity>([](auto* e) { return e->setColorIndex(3); }), 62, 3},
        SetCase{"EntityTrueColor", line, on<TcDbEntity>([](auto* e) { return e->setTrueColor(0x102030); }), 420, 0x102030},
        SetCase{"EntityLinetypeScale", line, on<TcDbEntity>([](auto* e) { return e->setLinetypeScale(2.0); }), 48, 2.0},
        SetCase{"EntityLineWeight", line, on<TcDbEntity>([](auto* e) { return e->setLineWeight(50); }), 370, 50},
        SetCase{"EntityVisibility", line, on<TcDbEntity>([](auto* e) { return e->setVisibility(TcDb::kInvisible); }), 60, 1},
        SetCase{"TextString", text, on<TcDbText>([](auto* x) { return x->setTextString("new"); }), 1, std::string("new")},
        SetCase{"TextPosition", text, on<TcDbText>([](auto* x) { return x->setPosition({1, 2, 3}); }), 10, TcGePoint3d{1, 2, 3}},
        SetCase{"TextAlignment", text, on<TcDbText>([](auto* x) { return x->setAlignmentPoint({4, 5, 0}); }), 11, TcGePoint3d{4, 5, 0}},
        SetCase{"TextHeight", text, on<TcDbText>([](auto* x) { return x->setHeight(7.0); }), 40, 7.0},
        SetCase{"TextRotation", text, on<TcDbText>([](auto* x) { return x->setRotation(kPi / 2); }), 50, kPi / 2},
        SetCase{"TextWidthFactor", text, on<TcDbText>([](auto* x) { return x->setWidthFactor(0.8); }), 41, 0.8},
        SetCase{"TextOblique", text, on<TcDbText>([](auto* x) { return x->setOblique(kPi / 12); }), 51, kPi / 12},
        SetCase{"TextHorizontal", text, on<TcDbText>([](auto* x) { return x->setHorizontalMode(2); }), 72, 2},
        SetCase{"TextVertical", text, on<TcDbText>([](auto* x) { return x->setVerticalMode(3); }), 73, 3},
        SetCase{"TextStyle", text, on<TcDbText>([](auto* x) { return x->setTextStyle("STANDARD"); }), 7, std::string("Standard")},
        SetCase{"AttdefTag", attdef, on<TcDbAttributeDefinition>([](auto* a) { return a->setTag("NEW"); }), 2, std::string("NEW")},
        SetCase{"AttdefPrompt", attdef, on<TcDbAttributeDefinition>([](auto* a) { return a->setPrompt("Say"); }), 3, std::string("Say")},
        SetCase{"AttdefConstant", attdef, on<TcDbAttributeDefinition>([](auto* a) { return a->setConstant(true); }), 70, 2},
        SetCase{"AttdefVerticalIs74", attdef, on<TcDbAttributeDefinition>([](auto* a) { return a->setVerticalMode(2); }), 74, 2},
        SetCase{"MTextLocation", mtext, on<TcDbMText>([](auto* m) { return m->setLocation({7, 8, 0}); }), 10, TcGePoint3d{7, 8, 0}},
        SetCase{"MTextHeight", mtext, on<TcDbMText>([](auto* m) { return m->setTextHeight(4.0); }), 40, 4.0},
        SetCase{"MTextWidth", mtext, on<TcDbMText>([](auto* m) { return m->setWidth(12.0); }), 41, 12.0},
        SetCase{"MTextAttachment", mtext, on<TcDbMText>([](auto* m) { return m->setAttachment(5); }), 71, 5},
        SetCase{"MTextNormal", mtext, on<TcDbMText>([](auto* m) { return m->setNormal({0, 0, -1}); }), 210, TcGePoint3d{0, 0, -1}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ObjectTest, EntityListChangesShowInTheObject) {
  TcDbObjectId walls = layer("Walls");
  TcDbObjectId id = make(text());
  modify(id, tcutBuildList(8, "Walls", 62, 4, 50, kPi / 4, 1, "changed", 10, kP2, RTNONE));
  TcDbText* t = nullptr;
  ASSERT_EQ(tcdbOpenObject(t, id, TcDb::kForRead), TcDb::eOk);
  EXPECT_EQ(t->layer(), "Walls");
  EXPECT_EQ(t->colorIndex(), 4);
  EXPECT_NEAR(t->rotation(), kPi / 4, 1e-12);
  EXPECT_EQ(t->textString(), "changed");
  EXPECT_EQ(t->position(), (TcGePoint3d{20, 15, 2}));
  EXPECT_EQ(t->layerId(), walls);
  EXPECT_EQ(t->blockId(), tcdbWorkingDatabase()->modelSpaceId());
  t->close();
}

TEST_F(ObjectTest, AbsentGroupsReadAsTheirDefaults) {
  TcDbObjectId id = make(line());
  TcDbEntity* e = nullptr;
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForRead), TcDb::eOk);
  EXPECT_EQ(e->colorIndex(), 256);
  EXPECT_EQ(e->trueColor(), -1);
  EXPECT_EQ(e->linetype(), "ByLayer");
  EXPECT_EQ(e->linetypeScale(), 1.0);
  EXPECT_EQ(e->lineWeight(), -1);
  EXPECT_EQ(e->visibility(), TcDb::kVisible);
  e->close();
}

TEST_F(ObjectTest, AColorIndexReplacesATrueColor) {
  TcDbObjectId id = make(line());
  TcDbEntity* e = nullptr;
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOk);
  e->setTrueColor(0xFF0000);
  e->close();
  ASSERT_EQ(tcdbOpenObject(e, id, TcDb::kForWrite), TcDb::eOk);
  e->setColorIndex(2);
  e->close();
  EXPECT_EQ(List(id).group(420), nullptr) << "a true colour left behind would still win in readers";
}

struct RefusedCase {
  const char* name;
  std::function<TcDb::ErrorStatus(TcDbText*)> set;
  TcDb::ErrorStatus status;
};
class RefusedValues : public ObjectTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedValues, LeaveTheObjectUnchanged) {
  TcDbObjectId id = make(text());
  TcDbText* t = nullptr;
  ASSERT_EQ(tcdbOpenObject(t, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(GetParam().set(t), GetParam().status);
  t->close();
  List list(id);
  EXPECT_EQ(list.text(8), "0");
  EXPECT_EQ(list.group(62), nullptr);
  EXPECT_DOUBLE_EQ(list.group(40)->resval.rreal, 2.5);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedValues,
    testing::Values(RefusedCase{"UnknownLayer", [](TcDbText* x) { return x->setLayer("nope"); }, TcDb::eKeyNotFound},
                    RefusedCase{"UnknownLinetype", [](TcDbText* x) { return x->setLinetype("nope"); }, TcDb::eKeyNotFound},
                    RefusedCase{"UnknownStyle", [](TcDbText* x) { return x->setTextStyle("nope"); }, TcDb::eKeyNotFound},
                    RefusedCase{"ColorTooLarge", [](TcDbText* x) { return x->setColorIndex(257); }, TcDb::eInvalidInput},
                    RefusedCase{"ZeroHeight", [](TcDbText* x) { return x->setHeight(0); }, TcDb::eInvalidInput},
                    RefusedCase{"NullNormal", [](TcDbText* x) { return x->setNormal({0, 0, 0}); }, TcDb::eInvalidInput}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ObjectTest, LongMTextContentsAreSplitIntoPiecesAndJoinedBack) {
  TcDbObjectId id = make(mtext());
  std::string longText;
  for (int i = 0; i < 120; ++i) longText += "\xC3\xA4word";  // two-byte characters across piece ends
  TcDbMText* m = nullptr;
  ASSERT_EQ(tcdbOpenObject(m, id, TcDb::kForWrite), TcDb::eOk);
  ASSERT_EQ(m->setContents(longText), TcDb::eOk);
  m->close();
  List list(id);
  EXPECT_GE(list.count(3), 2);
  std::string joined;
  for (const resbuf* rb = list.head; rb; rb = rb->rbnext)
    if (rb->restype == 3) joined += rb->resval.rstring;
  joined += list.text(1);
  EXPECT_EQ(joined, longText);
  for (const resbuf* rb = list.head; rb; rb = rb->rbnext)
    if (rb->restype == 3) {
      EXPECT_NE(static_cast<unsigned char>(rb->resval.rstring[0]) & 0xC0, 0x80) << "cut inside a character";
    }
  ASSERT_EQ(tcdbOpenObject(m, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(m->contents(), longText);
  m->setContents("short");
  m->close();
  EXPECT_EQ(List(id).count(3), 0) << "old pieces are dropped";
}

TEST_F(ObjectTest, MTextRotationFollowsItsDirectionVector) {
  TcDbObjectId id = make(tcutBuildList(RTDXF0, "MTEXT", 10, kP1, 40, 2.5, 1, "x", 11, kP1, RTNONE));
  TcDbMText* m = nullptr;
  ASSERT_EQ(tcdbOpenObject(m, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_NEAR(m->rotation(), std::atan2(5.0, 10.0), 1e-12);
  m->setRotation(kPi / 2);
  m->close();
  List list(id);
  EXPECT_NEAR(list.group(11)->resval.rpoint[0], 0.0, 1e-12);
  EXPECT_NEAR(list.group(11)->resval.rpoint[1], 1.0, 1e-12);
}

TEST_F(ObjectTest, LayerRecordStatesAreItsColourSignAndFlags) {
  TcDbObjectId id = layer("Walls");
  TcDbLayerTableRecord* r = nullptr;
  ASSERT_EQ(tcdbOpenObject(r, id, TcDb::kForWrite), TcDb::eOk);
  r->setIsOff(true);
  r->setIsFrozen(true);
  r->setIsLocked(true);
  r->setColorIndex(5);
  EXPECT_TRUE(r->isOff()) << "a new colour keeps the layer off";
  r->close();
  List list(id);
  EXPECT_EQ(list.group(62)->resval.rint, -5);
  EXPECT_EQ(list.group(70)->resval.rint, 5);
  ASSERT_EQ(tcdbOpenObject(r, id, TcDb::kForWrite), TcDb::eOk);
  EXPECT_EQ(r->colorIndex(), 5);
  r->setIsOff(false);
  r->setIsFrozen(false);
  EXPECT_EQ(r->setName("Other"), TcDb::eNotApplicable) << "objects name layers: no rename";
  r->close();
  EXPECT_EQ(List(id).group(62)->resval.rint, 5);
  EXPECT_EQ(List(id).group(70)->resval.rint, 4);
}

TEST_F(ObjectTest, TextStyleRecordReadsItsFontAndSizes) {
  TcDbTextStyleTable* table = nullptr;
  ASSERT_EQ(tcdbWorkingDatabase()->getTextStyleTable(table, TcDb::kForWrite), TcDb::eOk);
  auto* style = new TcDbTextStyleTableRecord();
  style->setName("Narrow");
  style->setFileName("romans.shx");
  style->setXScale(0.7);
  style->setTextSize(3.0);
  TcDbObjectId id;
  ASSERT_EQ(table->add(id, style), TcDb::eOk);
  style->close();
  TcDbTextStyleTableRecord unnamed;
  TcDbObjectId none;
  EXPECT_EQ(table->add(none, &unnamed), TcDb::eInvalidInput);
  table->close();
  resbuf* found = tcdbTblSearch("STYLE", "Narrow", 0);
  ASSERT_NE(found, nullptr);
  List check(id);
  EXPECT_EQ(check.text(3), "romans.shx");
  EXPECT_DOUBLE_EQ(check.group(41)->resval.rreal, 0.7);
  EXPECT_DOUBLE_EQ(check.group(40)->resval.rreal, 3.0);
  tcutRelRb(found);
}

}  // namespace
