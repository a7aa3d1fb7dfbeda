// The handler family's readers, enumerations and the compile-time agreement
// of a row's argument specs with its operation.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/handler_family.h"
#include "runtime/route_tree.h"

namespace {

// --- Enumerations of any number of words -------------------------------------

constexpr hf::EnumWord kFourWords[] = {{"one", 1}, {"two", 2}, {"three", 3}, {"four", 4}};
constexpr hf::EnumTable kFour = hf::enumTable(kFourWords, "none", 9);
static_assert(kFour.count == 4, "enumTable counts the words");

TEST(EnumTable, EveryWordMapsBothWaysAndTheRestToOther)
{
    const struct {
        const char* word;
        uint32_t value;
    } cases[] = {{"one", 1}, {"two", 2}, {"three", 3}, {"four", 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(hf::enumValue(kFour, c.word), c.value) << c.word;
        EXPECT_STREQ(hf::enumName(kFour, c.value), c.word) << c.value;
    }
    for (const char* w : {"", "One", "five", "four "})
        EXPECT_EQ(hf::enumValue(kFour, w), 9u) << w;
    for (uint32_t v : {0u, 5u, 9u, 0xffffffffu})
        EXPECT_STREQ(hf::enumName(kFour, v), "none") << v;
}

constexpr hf::EnumTable kFourStrict = hf::strictEnumTable(kFourWords, "none", 9);

// A strict table knows its words and its other name, nothing else; the values
// are those of the lenient table.
TEST(EnumTable, StrictTablesKnowTheirWordsAndOtherName)
{
    for (const char* w : {"one", "two", "three", "four", "none"})
        EXPECT_TRUE(hf::enumKnows(kFourStrict, w)) << w;
    for (const char* w : {"", "One", "five", "none ", "9"})
        EXPECT_FALSE(hf::enumKnows(kFourStrict, w)) << w;
    EXPECT_TRUE(kFourStrict.strict);
    EXPECT_FALSE(kFour.strict);
    EXPECT_EQ(hf::enumValue(kFourStrict, "none"), 9u);
    EXPECT_TRUE(hf::enumKnows(hf::kModeEnumStrict, "disable"));
    EXPECT_FALSE(hf::enumKnows(hf::kModeEnumStrict, "on"));
}

// --- Numbers, texts and flags of request values --------------------------------

hf::Value queryText(const char* t)
{
    hf::Value v;
    v.found = true;
    v.text = t;
    return v;
}

TEST(Readers, NumbersFromQueryTextAndJson)
{
    struct Case {
        const char* json;   // body member "n", or nullptr: query text
        const char* query;
        ResultCode code;
        uint32_t value;
    } cases[] = {
        {nullptr, "42", kResultOk, 42},
        {nullptr, "42abc", kResultOk, 42},  // query text: leading digits
        {nullptr, "abc", kResultInvalidArgument, 7},
        {nullptr, "4294967295", kResultOk, 4294967295u},
        {nullptr, "4294967296", kResultInvalidArgument, 7},
        {"{\"n\":5}", nullptr, kResultOk, 5},
        {"{\"n\":4294967295}", nullptr, kResultOk, 4294967295u},
        {"{\"n\":4294967296}", nullptr, kResultInvalidArgument, 7},
        {"{\"n\":-1}", nullptr, kResultInvalidArgument, 7},
        {"{\"n\":1.5}", nullptr, kResultInvalidArgument, 7},
        {"{\"n\":\"12\"}", nullptr, kResultOk, 12},
        {"{\"n\":\"12x\"}", nullptr, kResultInvalidArgument, 7},  // JSON text: all digits
        {"{\"n\":true}", nullptr, kResultInvalidArgument, 7},
        {"{\"N\":3}", nullptr, kResultOk, 3},  // members without regard to case
        {"{}", nullptr, kResultOk, 7},         // absent: the default
    };
    for (const Case& c : cases) {
        JsonPtr body(c.json ? cJSON_Parse(c.json) : nullptr);
        hf::Value v = c.json ? hf::member(body.get(), "n") : queryText(c.query);
        uint32_t out = 0;
        ResultCode code = hf::numberOf(v, 7, &out);
        std::string what = c.json ? c.json : c.query;
        EXPECT_EQ(code, c.code) << what;
        if (code == kResultOk) {
            EXPECT_EQ(out, c.value) << what;
        }
    }
}

TEST(Readers, FlagsAndTexts)
{
    const struct {
        const char* json;
        ResultCode code;
        uint32_t flag;
        bool isText;
    } cases[] = {
        {"{\"f\":true}", kResultOk, 1, false},  {"{\"f\":false}", kResultOk, 0, false},
        {"{\"f\":1}", kResultOk, 1, false},     {"{\"f\":\"on\"}", kResultInvalidArgument, 0, true},
        {"{}", kResultOk, 0, true},
    };
    for (const auto& c : cases) {
        JsonPtr body(cJSON_Parse(c.json));
        uint32_t f = 99;
        EXPECT_EQ(hf::flagOf(hf::member(body.get(), "f"), &f), c.code) << c.json;
        if (c.code == kResultOk) {
            EXPECT_EQ(f, c.flag) << c.json;
        }
        std::string t;
        EXPECT_EQ(hf::textOf(hf::member(body.get(), "f"), &t), c.isText) << c.json;
    }
}

// The split reader takes the first "&" piece containing the name; the exact
// reader only the name that starts a piece and is followed by "=".
TEST(Readers, SplitAndExactQueryReaders)
{
    const struct {
        const char* query;
        const char* name;
        bool splitFound;
        const char* split;
        bool exactFound;
        const char* exact;
    } cases[] = {
        {"intIfNum=3&ipAddr=1.2.3.4", "ipAddr", true, "1.2.3.4", true, "1.2.3.4"},
        {"ipAddr=1.2.3.4&intIfNum=3", "intIfNum", true, "3", true, "3"},
        {"xintIfNum=9&intIfNum=3", "intIfNum", true, "9", true, "3"},
        {"xintIfNum=9", "intIfNum", true, "9", false, ""},
        {"intIfNumber=4", "intIfNum", true, "4", false, ""},
        {"a=1&&intIfNum=5&", "intIfNum", true, "5", true, "5"},
        {"", "intIfNum", false, "", false, ""},
    };
    for (const auto& c : cases) {
        setenv("REQUEST_METHOD", "GET", 1);
        setenv("QUERY_STRING", c.query, 1);
        hf::RouteCtx ctx{nullptr, "leaf", kMethodGet};
        hf::Request q;
        ASSERT_EQ(hf::readRequest(ctx, false, true, &q), kResultOk);
        hf::Value split = hf::lookup(q, hf::kQuery, c.name);
        EXPECT_EQ(split.found, c.splitFound) << c.query;
        EXPECT_EQ(split.text, c.split) << c.query;
        hf::Value exact = hf::lookup(q, hf::kQueryExact, c.name);
        EXPECT_EQ(exact.found, c.exactFound) << c.query;
        EXPECT_EQ(exact.text, c.exact) << c.query;
    }
    unsetenv("QUERY_STRING");
    unsetenv("REQUEST_METHOD");
}

// The found reader takes the text after the first "name=" anywhere in the
// query, a longer name ending in it too.
TEST(Readers, FoundQueryReader)
{
    const struct {
        const char* query;
        const char* name;
        bool found;
        const char* text;
    } cases[] = {
        {"intIfNum=3&ipAddr=1.2.3.4", "ipAddr", true, "1.2.3.4"},
        {"xintIfNum=9&intIfNum=3", "intIfNum", true, "9"},
        {"intIfNumber=4", "intIfNum", false, ""},
        {"a=1&intIfNum=", "intIfNum", true, ""},
        {"intIfNum", "intIfNum", false, ""},
        {"", "intIfNum", false, ""},
    };
    for (const auto& c : cases) {
        setenv("REQUEST_METHOD", "GET", 1);
        setenv("QUERY_STRING", c.query, 1);
        hf::Request q;
        hf::Value v = hf::lookup(q, hf::kQueryFound, c.name);
        EXPECT_EQ(v.found, c.found) << c.query;
        EXPECT_EQ(v.text, c.text) << c.query;
    }
    unsetenv("QUERY_STRING");
    unsetenv("REQUEST_METHOD");
}

constexpr hf::EnumTable kFourLenient = hf::lenientEnumTable(kFourWords, "none", 9);

// A lenient table is a plain one for words; only the reading of a value that
// is no string differs.
TEST(EnumTable, LenientTablesTakeEveryValueAsOther)
{
    EXPECT_TRUE(kFourLenient.lenient);
    EXPECT_FALSE(kFourLenient.strict);
    EXPECT_FALSE(kFour.lenient);
    EXPECT_EQ(hf::enumValue(kFourLenient, "three"), 3u);
    EXPECT_EQ(hf::enumValue(kFourLenient, "seven"), 9u);
    EXPECT_STREQ(hf::enumName(kFourLenient, 7), "none");
}

// --- Agreement of specs with operations -------------------------------------------

struct Pair {
    uint32_t a, b;
};
struct Wide {
    uint32_t a, b, c;
};
constexpr hf::RecordKind kPairRec{sizeof(Pair), nullptr, nullptr, nullptr};
using OpPair = int (*)(OpenClientHandle*, uint32_t, const Pair*, uint32_t*);
using OpWide = int (*)(OpenClientHandle*, uint32_t, const Wide*, uint32_t*);
using OpOutPair = int (*)(OpenClientHandle*, Pair*);

constexpr hf::ArgSpec kPairArgs[] = {B(kU32, "n"), BR(kPairRec, "pair"), OUT(kOutU32, "out")};
constexpr hf::ArgSpec kMissingOut[] = {B(kU32, "n"), BR(kPairRec, "pair")};
constexpr hf::ArgSpec kSwapped[] = {BR(kPairRec, "pair"), B(kU32, "n"), OUT(kOutU32, "out")};
constexpr hf::ArgSpec kWithAnswer[] = {B(kU32, "n"), BR(kPairRec, "pair"), OUT(kOutU32, "out"),
                                       ANSWER(kAnswerU32, "fixed", 1)};
constexpr hf::ArgSpec kOutPair[] = {OUTR(kPairRec, "pair")};
constexpr hf::ArgSpec kInPairForOut[] = {BR(kPairRec, "pair")};

static_assert(hf::OpShape<OpPair>::agrees(kPairArgs), "specs in the operation's order agree");
static_assert(hf::OpShape<OpPair>::agrees(kWithAnswer), "answers are no operation arguments");
static_assert(!hf::OpShape<OpPair>::agrees(kMissingOut), "a missing argument disagrees");
static_assert(!hf::OpShape<OpPair>::agrees(kSwapped), "arguments out of order disagree");
static_assert(!hf::OpShape<OpWide>::agrees(kPairArgs), "a record of another size disagrees");
static_assert(hf::OpShape<OpOutPair>::agrees(kOutPair), "an answered record agrees");
static_assert(!hf::OpShape<OpOutPair>::agrees(kInPairForOut), "an input record is no output");

// An address key walked in and out; a query number with a default is an argument.
using OpAddrNext = int (*)(OpenClientHandle*, uint32_t, uint32_t*, InetAddr*, MacAddr*);
using OpNone = int (*)(OpenClientHandle*);
constexpr hf::ArgSpec kAddrWalk[] = {Q(kU32, "index"), Q(kInOutU32, "intf"), Q(kInOutAddr, "ipAddr"),
                                     OUT(kOutMac, "mac")};
constexpr hf::ArgSpec kAddrAsInput[] = {Q(kU32, "index"), Q(kInOutU32, "intf"), B(kAddr, "ipAddr"),
                                        OUT(kOutMac, "mac")};
constexpr hf::ArgSpec kOptionalUnit[] = {QXD(kU32, "unit", 0)};
static_assert(hf::OpShape<OpAddrNext>::agrees(kAddrWalk), "an in/out address is a record the call rewrites");
static_assert(!hf::OpShape<OpAddrNext>::agrees(kAddrAsInput), "an input address is no in/out key");
static_assert(!hf::OpShape<OpNone>::agrees(kOptionalUnit), "a query default is still an argument");

// A key and a word walked in and answered under other names; an output with
// a starting value; a record from the query text.
using OpKeyWalk = int (*)(OpenClientHandle*, Pair*, uint32_t*);
using OpKeyRead = int (*)(OpenClientHandle*, const Pair*, uint32_t, uint32_t*);
constexpr hf::ArgSpec kKeyWalk[] = {BION(kPairRec, "key", "nextKey"), BIOEN("word", kFourLenient, "nextWord")};
constexpr hf::ArgSpec kWordAsInput[] = {BION(kPairRec, "key", "nextKey"), QFE("word", kFourLenient)};
constexpr hf::ArgSpec kKeyRead[] = {QFRM(kPairRec, "key"), QFE("word", kFourLenient), OUTEP("out", kFour, 1)};
static_assert(hf::OpShape<OpKeyWalk>::agrees(kKeyWalk), "an in/out word is a value the call rewrites");
static_assert(!hf::OpShape<OpKeyWalk>::agrees(kWordAsInput), "an input word is no in/out value");
static_assert(hf::OpShape<OpKeyRead>::agrees(kKeyRead), "a query record is an input record");
static_assert(kKeyWalk[0].answer != nullptr && kKeyRead[2].size == 1, "answer names and starting values are kept");

}  // namespace
