// CAL's rules against a recording host: argument types, the integer-or-real
// result, the prompt, the help on the text screen and the two ways a bad
// expression is reported.
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/cal_core.h"
#include "calc/parser_exception.h"

namespace tarn::calc {
namespace {

// What CAL returned to LISP: the call and its value.
enum class Returned { Nothing, Value, Int, Real, Nil, Void };

class RecordingHost final : public CalHost {
public:
    int replyStatus = RTNORM;
    std::string reply;

    std::vector<std::string> prompts;
    std::string printed;
    int textScreens = 0;
    int returnCalls = 0;
    Returned returned = Returned::Nothing;
    resbuf value{};
    int integer = 0;
    double real = 0.0;

    std::string LoadText(std::uint32_t id) override { return "<" + std::to_string(id) + ">"; }
    int GetString(const std::string& prompt, std::string& answer) override {
        prompts.push_back(prompt);
        if (replyStatus == RTNORM) answer = reply;
        return replyStatus;
    }
    void Print(const std::string& text) override { printed += text; }
    void TextScreen() override { ++textScreens; }
    void ReturnValue(const resbuf& v) override { Record(Returned::Value); value = v; }
    void ReturnInt(int v) override { Record(Returned::Int); integer = v; }
    void ReturnReal(double v) override { Record(Returned::Real); real = v; }
    void ReturnNil() override { Record(Returned::Nil); }
    void ReturnVoid() override { Record(Returned::Void); }

private:
    void Record(Returned kind) {
        returned = kind;
        ++returnCalls;
    }
};

resbuf Text(const char* text) {
    resbuf rb{};
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<char*>(text);
    return rb;
}

// (cal "<text>") in a fresh host.
RecordingHost CalWithText(const char* text) {
    RecordingHost host;
    const resbuf arg = Text(text);
    EXPECT_EQ(RTNORM, RunCal(&arg, host));
    EXPECT_EQ(1, host.returnCalls) << text;
    EXPECT_TRUE(host.prompts.empty()) << text;
    return host;
}

// CAL typed at the command line, answering its prompt with `reply`.
RecordingHost CalTyped(const std::string& reply, int status = RTNORM) {
    RecordingHost host;
    host.reply = reply;
    host.replyStatus = status;
    EXPECT_EQ(RTNORM, RunCal(nullptr, host));
    EXPECT_EQ(1, host.returnCalls) << reply;
    EXPECT_EQ(std::vector<std::string>{"<3505>"}, host.prompts);
    return host;
}

void ExpectLong(const RecordingHost& host, std::int32_t expected, const char* text) {
    ASSERT_EQ(Returned::Value, host.returned) << text;
    EXPECT_EQ(RTLONG, host.value.restype) << text;
    EXPECT_EQ(expected, host.value.resval.rlong) << text;
    EXPECT_EQ(nullptr, host.value.rbnext) << text;
}

struct IntegerCase {
    const char* text;
    std::int32_t expected;
};

class CalInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(CalInteger, ReturnsALongFromTextAndPrompt) {
    ExpectLong(CalWithText(GetParam().text), GetParam().expected, GetParam().text);
    ExpectLong(CalTyped(GetParam().text), GetParam().expected, GetParam().text);
}

// Within 1e-10 of its value truncated toward zero, a result is an integer.
INSTANTIATE_TEST_SUITE_P(Results, CalInteger, ::testing::Values(
    IntegerCase{"2*3", 6}, IntegerCase{"3.00000000001", 3}, IntegerCase{"-3.00000000001", -3},
    IntegerCase{"  7 - 7  ", 0}, IntegerCase{"-(2^31)", -2147483647 - 1},
    IntegerCase{"2^31-1", 2147483647}, IntegerCase{"SIN(0)", 0}, IntegerCase{"Fact(5)", 120},
    IntegerCase{"sqrt(16)", 4}, IntegerCase{"E-E", 0}, IntegerCase{"\t10 % 4\t", 2}));

struct RealCase {
    const char* text;
    double expected;
};

class CalReal : public ::testing::TestWithParam<RealCase> {};

TEST_P(CalReal, ReturnsARealFromTextAndPrompt) {
    for (const RecordingHost& host : {CalWithText(GetParam().text), CalTyped(GetParam().text)}) {
        ASSERT_EQ(Returned::Real, host.returned) << GetParam().text;
        if (std::isnan(GetParam().expected)) {
            EXPECT_TRUE(std::isnan(host.real)) << GetParam().text;
        } else {
            EXPECT_DOUBLE_EQ(GetParam().expected, host.real) << GetParam().text;
        }
    }
}

// Results that are not integers, and values no 32-bit integer can hold
// (returning those truncated would give a wrong number).
INSTANTIATE_TEST_SUITE_P(Results, CalReal, ::testing::Values(
    RealCase{"1/3", 1.0 / 3}, RealCase{"2.99999999999", 2.99999999999},
    RealCase{"-2.99999999999", -2.99999999999}, RealCase{"pi", 3.14159265359},
    RealCase{"PI", 3.14159265359}, RealCase{"e", 2.718281828459045}, RealCase{"2^31", 2147483648.0},
    RealCase{"-(2^31)-1", -2147483649.0}, RealCase{"1/0", 1.0 / 0.0},
    RealCase{"-1/0", -1.0 / 0.0}, RealCase{"0/0", std::numeric_limits<double>::quiet_NaN()},
    RealCase{"fact(-1)", std::numeric_limits<double>::quiet_NaN()}, RealCase{"10^20", 1e20}));

TEST(CalClassify, TheToleranceIsOneTenBillionth) {
    EXPECT_TRUE(ClassifyCalResult(3.0 + 0.9e-10).isInteger);
    EXPECT_FALSE(ClassifyCalResult(3.0 + 1.1e-10).isInteger);
    EXPECT_TRUE(ClassifyCalResult(-0.0).isInteger);
    EXPECT_EQ(0, ClassifyCalResult(-0.0).integer);
    EXPECT_FALSE(ClassifyCalResult(std::numeric_limits<double>::quiet_NaN()).isInteger);
    EXPECT_FALSE(ClassifyCalResult(2147483648.0).isInteger);
    EXPECT_TRUE(ClassifyCalResult(-2147483648.0).isInteger);
    EXPECT_FALSE(ClassifyCalResult(-2147483649.0).isInteger);
}

// Numbers are returned as they came, without parsing anything.
TEST(CalArgument, NumbersComeBackUnchanged) {
    RecordingHost host;
    resbuf real{};
    real.restype = RTREAL;
    real.resval.rreal = 2.5;
    resbuf next = Text("1+");
    real.rbnext = &next;  // a second argument is not looked at
    RunCal(&real, host);
    ASSERT_EQ(Returned::Value, host.returned);
    EXPECT_EQ(RTREAL, host.value.restype);
    EXPECT_EQ(2.5, host.value.resval.rreal);

    resbuf shortInt{};
    shortInt.restype = RTSHORT;
    shortInt.resval.rint = 5;
    RecordingHost fromShort;
    RunCal(&shortInt, fromShort);
    EXPECT_EQ(Returned::Int, fromShort.returned);
    EXPECT_EQ(5, fromShort.integer);

    resbuf longInt{};
    longInt.restype = RTLONG;
    longInt.resval.rlong = -70000;
    RecordingHost fromLong;
    RunCal(&longInt, fromLong);
    EXPECT_EQ(Returned::Int, fromLong.returned);
    EXPECT_EQ(-70000, fromLong.integer);
    for (const RecordingHost* h : {&host, &fromShort, &fromLong}) {
        EXPECT_TRUE(h->printed.empty());
        EXPECT_TRUE(h->prompts.empty());
    }
}

TEST(CalArgument, OtherTypesGiveNil) {
    for (int type : {int{RTPOINT}, int{RT3DPOINT}, int{RTANG}, int{RTENAME}, int{RTNIL}, int{RTT}, int{RTLB}}) {
        RecordingHost host;
        resbuf arg{};
        arg.restype = static_cast<short>(type);
        RunCal(&arg, host);
        EXPECT_EQ(Returned::Nil, host.returned) << type;
        EXPECT_EQ(1, host.returnCalls) << type;
        EXPECT_TRUE(host.printed.empty()) << type;
    }
}

// A bad expression from LISP is nil and silent; typed, it is message 3507
// followed by what is wrong and where.
TEST(CalErrors, TypedMessageNamesTheItemAndColumn) {
    EXPECT_EQ("<3507>\nMissing operand near \"+\" at column 3", CalTyped(" 1+ ").printed);
    EXPECT_EQ("<3507>\nUnknown name \"foo\" at column 3", CalTyped("2*FOO").printed);
}

TEST(CalErrors, TextArgumentGivesNilTypedGivesTheMessage) {
    for (const char* text : {"1+", "foo", "(1", "min()", "2 3", "sin", "1,2", "#", "é"}) {
        const RecordingHost fromLisp = CalWithText(text);
        EXPECT_EQ(Returned::Nil, fromLisp.returned) << text;
        EXPECT_TRUE(fromLisp.printed.empty()) << text;
        const RecordingHost typed = CalTyped(text);
        EXPECT_EQ(Returned::Void, typed.returned) << text;
        EXPECT_EQ(0u, typed.printed.find("<3507>\n")) << typed.printed;
        EXPECT_NE(std::string::npos, typed.printed.find(" at column ")) << typed.printed;
        EXPECT_EQ(0, typed.textScreens) << text;
    }
}

// "?" or nothing (after trimming) shows the help text on the text screen.
TEST(CalHelp, QuestionMarkOrEmptyShowsHelp) {
    std::vector<RecordingHost> hosts;
    for (const char* text : {"?", "", "  ? ", " \t "}) {
        hosts.push_back(CalWithText(text));
        hosts.push_back(CalTyped(text));
    }
    RecordingHost nullText;
    resbuf arg = Text(nullptr);
    RunCal(&arg, nullText);
    hosts.push_back(nullText);
    for (const RecordingHost& host : hosts) {
        EXPECT_EQ(Returned::Void, host.returned);
        EXPECT_EQ(1, host.textScreens);
        EXPECT_EQ("<3506>", host.printed);
    }
    EXPECT_EQ(Returned::Nil, CalWithText("??").returned);
}

// Esc, or a reply too long for the input buffer, ends CAL without a value.
TEST(CalPrompt, AnythingButAReplyReturnsVoid) {
    for (int status : {int{RTCAN}, int{RTERROR}, int{RTNONE}, int{RTINPUTTRUNCATED}}) {
        const RecordingHost host = CalTyped("2*3", status);
        EXPECT_EQ(Returned::Void, host.returned) << status;
        EXPECT_TRUE(host.printed.empty()) << status;
        EXPECT_EQ(0, host.textScreens) << status;
    }
}

// Every call starts a fresh parser: nothing of one expression leaks into the next.
TEST(CalExpression, ConstantsAreThoseOfTheCalculator) {
    EXPECT_EQ(3.14159265359, EvaluateCalExpression("pi"));
    EXPECT_EQ(2.718281828459045, EvaluateCalExpression("E"));
    EXPECT_EQ(7.0, EvaluateCalExpression(" 1+2*3 "));
    EXPECT_THROW(EvaluateCalExpression("x"), ParserException<ParsingErrorData>);
    EXPECT_THROW(EvaluateCalExpression("[pi"), ParserException<ParsingErrorData>);
    const double r = EvaluateCalExpression("RAND(10,20)");
    EXPECT_GE(r, 10.0);
    EXPECT_LE(r, 20.0);
}

}  // namespace
}  // namespace tarn::calc
