// The handler family's fixed views that pick, number or count on their
// answer by a query number, and where an echoed key stands in an answer.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/handler_family.h"
#include "runtime/raii.h"
#include "runtime/route_tree.h"

namespace {

const hf::Directory kDir{"/api/v2/test", "test"};

// Runs `fn` as a request of `method` with QUERY_STRING `query` (nullptr:
// unset) and an empty body; what it printed.
template <class Fn>
std::string capture(uint32_t method, const char* query, Fn fn)
{
    setenv("REQUEST_METHOD", methodText(method), 1);
    if (query)
        setenv("QUERY_STRING", query, 1);
    else
        unsetenv("QUERY_STRING");
    setenv("CONTENT_LENGTH", "0", 1);
    fflush(stdout);
    FILE* out = tmpfile();
    int saved = dup(1);
    dup2(fileno(out), 1);
    fn(hf::RouteCtx{&kDir, "leaf", method});
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::string text;
    rewind(out);
    char buf[1024];
    size_t got;
    while ((got = fread(buf, 1, sizeof buf, out)) > 0)
        text.append(buf, got);
    fclose(out);
    return text;
}

// An answer as "<respCode> <data object unformatted>", and whether it ended in a newline.
std::string answerOf(const std::string& out)
{
    JsonPtr j(cJSON_Parse(out.c_str()));
    if (!j)
        return "not JSON: " + out;
    const cJSON* code = cJSON_GetObjectItem(cJSON_GetObjectItem(j.get(), "resp"), "respCode");
    std::string text = std::to_string(cJSON_IsNumber(code) ? code->valueint : -1);
    if (const cJSON* d = cJSON_GetObjectItem(j.get(), "test")) {
        CStr data(cJSON_PrintUnformatted(d));
        text += std::string(" ") + data.get();
    }
    if (!out.empty() && out.back() == '\n')
        text += " +newline";
    return text;
}

std::string answer(const char* data) { return std::string("0 ") + data; }

const char kFailed[] = "10000";

TEST(FixedViews, ChoiceAnswersTheFirstTextForTheListedNumbersOnly)
{
    static const char kLocal[] = CHOICE("0 1", "{\"s\":\"ok\"}", "{\"s\":\"absent\"}");
    static const char kOne[] = CHOICE("1", "{\"p\":\"1\"}", "{\"p\":\"disabled\"}");
    struct Case {
        const char* data;
        const char* query;
        const char* want;
    } cases[] = {
        {kLocal, nullptr, "{\"s\":\"ok\"}"},       {kLocal, "", "{\"s\":\"ok\"}"},
        {kLocal, "unit=0", "{\"s\":\"ok\"}"},      {kLocal, "unit=1", "{\"s\":\"ok\"}"},
        {kLocal, "a=2&unit=1", "{\"s\":\"ok\"}"},  {kLocal, "unit=2", "{\"s\":\"absent\"}"},
        {kLocal, "unit=10", "{\"s\":\"absent\"}"}, {kLocal, "xunit=2", "{\"s\":\"ok\"}"},
        {kOne, nullptr, "{\"p\":\"disabled\"}"},   {kOne, "unit=1", "{\"p\":\"1\"}"},
        {kOne, "unit=11", "{\"p\":\"disabled\"}"}, {kOne, "unit=0", "{\"p\":\"disabled\"}"},
    };
    for (const Case& c : cases) {
        std::string out = capture(kMethodGet, c.query,
                                  [&](const hf::RouteCtx& r) { hf::fixedChoice(r, "unit", c.data); });
        EXPECT_EQ(answerOf(out), answer(c.want)) << (c.query ? c.query : "(no query)") << " " << c.want;
    }
    // A write answers with a newline.
    EXPECT_EQ(answerOf(capture(kMethodPost, "unit=1",
                               [&](const hf::RouteCtx& r) { hf::fixedChoice(r, "unit", kOne); })),
              answer("{\"p\":\"1\"}") + " +newline");
}

TEST(FixedViews, NumberedAnswersPutTheQueryNumberInTheirTextWithAFloor)
{
    static const char kFrom1[] = NUMBERED(1, "{\"d\":\"Fan-%u\"}");
    static const char kFrom0[] = NUMBERED(0, "{\"d\":\"AC-%u/%u\"}");
    struct Case {
        const char* data;
        const char* query;
        const char* want;
    } cases[] = {
        {kFrom1, nullptr, "{\"d\":\"Fan-1\"}"},
        {kFrom1, "n=0", "{\"d\":\"Fan-1\"}"},
        {kFrom1, "n=3", "{\"d\":\"Fan-3\"}"},
        {kFrom1, "n=4294967295", "{\"d\":\"Fan-4294967295\"}"},
        {kFrom0, nullptr, "{\"d\":\"AC-0/0\"}"},
        {kFrom0, "n=12", "{\"d\":\"AC-12/12\"}"},
    };
    for (const Case& c : cases) {
        std::string out =
            capture(kMethodGet, c.query, [&](const hf::RouteCtx& r) { hf::fixedNumbered(r, "n", c.data); });
        EXPECT_EQ(answerOf(out), answer(c.want)) << (c.query ? c.query : "(no query)");
    }
}

TEST(FixedViews, SuccessorsAnswerTheNextNumberBelowTheirLimitAndThenTheEnd)
{
    static const char kTwo[] = SUCCESSOR(2, "{\"next\":%u}");
    static const char kMax[] = SUCCESSOR(4294967295, "{\"next\":%u}");
    struct Case {
        const char* data;
        const char* query;
        std::string want;
    } cases[] = {
        {kTwo, nullptr, answer("{\"next\":1}")},
        {kTwo, "n=0", answer("{\"next\":1}")},
        {kTwo, "n=1", answer("{\"next\":2}")},
        {kTwo, "n=2", "10023"},
        {kTwo, "n=4294967295", "10023"},
        {kTwo, "xn=1", answer("{\"next\":1}")},
        {kMax, "n=4294967294", answer("{\"next\":4294967295}")},
        {kMax, "n=4294967295", "10023"},
        {"{\"next\":%u}", "n=0", kFailed},
        {"x" HF_FIXED_PART "{}", "n=0", kFailed},
    };
    for (const Case& c : cases) {
        std::string out =
            capture(kMethodGet, c.query, [&](const hf::RouteCtx& r) { hf::fixedSuccessor(r, "n", c.data); });
        EXPECT_EQ(answerOf(out), c.want) << (c.query ? c.query : "(no query)");
    }
    // A request without a body is no JSON text.
    EXPECT_EQ(answerOf(capture(kMethodPost, nullptr,
                               [&](const hf::RouteCtx& r) { hf::fixedJsonBody(r, nullptr, "{\"s\":1}"); })),
              "10003 +newline");
}

TEST(FixedViews, TextsWithoutTheirPartsAnswerAGeneralFailure)
{
    for (const char* data : {"{\"s\":1}", "1 2" HF_FIXED_PART "{}", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(answerOf(capture(kMethodGet, "unit=1",
                                   [&](const hf::RouteCtx& r) { hf::fixedChoice(r, "unit", data); })),
                  kFailed);
    }
    for (const char* data : {"{\"d\":\"%u\"}", "x" HF_FIXED_PART "{}", "1" HF_FIXED_PART "{}" HF_FIXED_PART "{}"}) {
        EXPECT_EQ(answerOf(capture(kMethodGet, "n=1",
                                   [&](const hf::RouteCtx& r) { hf::fixedNumbered(r, "n", data); })),
                  kFailed);
    }
    EXPECT_EQ(hf::fixedParts(CHOICE("0 1", "a", "b")), (std::vector<std::string>{"0 1", "a", "b"}));
}

// --- Echoed keys --------------------------------------------------------------------

int giveTwo(OpenClientHandle*, uint32_t key, uint32_t* a, uint32_t* b)
{
    *a = key + 1;
    *b = key + 2;
    return 0;
}

TEST(FixedViews, AnEchoedKeyStandsInItsOwnPlaceAmongTheAnswers)
{
    constexpr hf::ArgSpec specs[] = {QX(kU32, "key"), OUT(kOutU32, "first"), OUT(kOutU32, "second"), ECHO("key")};
    std::string out = capture(kMethodGet, "key=7", [&](const hf::RouteCtx& r) {
        hf::getter(r, specs, 4, &hf::OpThunk<decltype(&giveTwo), &giveTwo>::call);
    });
    EXPECT_EQ(answerOf(out), answer("{\"key\":7,\"first\":8,\"second\":9}"));
}

}  // namespace
