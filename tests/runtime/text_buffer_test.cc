// Counted text buffers of the handler family and the classes built for them:
// what reaches the operation for each text row form, what is refused before
// any call, and how answers are printed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/handler_family.h"
#include "runtime/route_tree.h"

namespace {

// --- What the operations under test were given -----------------------------------

struct Seen {
    int calls = 0;
    std::string text;     // first buffer's bytes up to its NUL
    uint32_t size = 0;    // first buffer's counted size
    uint32_t outCap = 0;  // size of the output buffer handed to the call
};
Seen seen;
int status = 0;             // what the operation answers
uint32_t reported = 0;      // what the size operation reports
int sizeStatus = 0;         // and its status

int takeText(OpenClientHandle*, BufDesc in)
{
    ++seen.calls;
    seen.text.assign(in.pstart, strnlen(in.pstart, in.size));
    seen.size = in.size;
    return status;
}

int takeTextGiveFlag(OpenClientHandle*, BufDesc in, uint32_t* flag)
{
    takeText(nullptr, in);
    *flag = 1;
    return status;
}

int giveText(OpenClientHandle*, BufDesc* out)
{
    ++seen.calls;
    seen.outCap = out->size;
    snprintf(out->pstart, out->size, "%s", "answer");
    return status;
}

int giveThree(OpenClientHandle*, uint32_t in, uint32_t* a, uint32_t* b, uint32_t* c)
{
    ++seen.calls;
    *a = in + 1;
    *b = in + 2;
    *c = in + 3;
    return status;
}

int reportSize(OpenClientHandle*, uint32_t* n)
{
    *n = reported;
    return sizeStatus;
}

// --- Running one class as a request ------------------------------------------------

const hf::Directory kDir{"/api/v2/test", "test"};

// Runs `cls` as a request of `method` with `query` and `body`; its output.
std::string run(uint32_t method, const char* query, const char* body, hf::ClassFn cls, const hf::ArgSpec* specs,
                size_t n, hf::OpCall op)
{
    seen = Seen{};
    setenv("REQUEST_METHOD", methodText(method), 1);
    setenv("QUERY_STRING", query, 1);
    std::string b = body ? body : "";
    setenv("CONTENT_LENGTH", std::to_string(b.size()).c_str(), 1);
    int in[2];
    EXPECT_EQ(pipe(in), 0);
    EXPECT_EQ(write(in[1], b.data(), b.size()), static_cast<ssize_t>(b.size()));
    close(in[1]);
    dup2(in[0], 0);
    close(in[0]);
    clearerr(stdin);
    fflush(stdout);
    FILE* out = tmpfile();
    int saved = dup(1);
    dup2(fileno(out), 1);
    cls(hf::RouteCtx{&kDir, "leaf", method}, specs, n, op);
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::string text;
    rewind(out);
    char buf[4096];
    size_t got;
    while ((got = fread(buf, 1, sizeof buf, out)) > 0)
        text.append(buf, got);
    fclose(out);
    return text;
}

template <size_t N>
std::string run(uint32_t method, const char* query, const char* body, hf::ClassFn cls, const hf::ArgSpec (&specs)[N],
                hf::OpCall op)
{
    return run(method, query, body, cls, specs, N, op);
}

int codeOf(const std::string& out)
{
    size_t at = out.find("\"respCode\":");
    return at == std::string::npos ? -1 : atoi(out.c_str() + at + 11);
}

std::string longText(size_t n, char ch = 'a') { return std::string(n, ch); }

#define THUNK(fn) &hf::OpThunk<decltype(&fn), &fn>::call

// --- Inputs -----------------------------------------------------------------------

TEST(TextBuffers, BodyTextsReachTheSwitchCountedOrAreRefusedBeforeTheCall)
{
    const std::string t255 = longText(255), t256 = longText(256), t96 = longText(96), t97 = longText(97);
    struct Case {
        const char* what;
        hf::ArgSpec arg;
        std::string body;
        bool sent;
        std::string text;
        uint32_t size;
    } cases[] = {
        {"absent is empty", BS("t"), "{}", true, "", 1},
        {"plain", BS("t"), R"({"t":"abc"})", true, "abc", 4},
        {"255 fits", BS("t"), "{\"t\":\"" + t255 + "\"}", true, t255, 256},
        {"256 refused", BS("t"), "{\"t\":\"" + t256 + "\"}", false, "", 0},
        {"number refused", BS("t"), R"({"t":5})", false, "", 0},
        {"not JSON", BS("t"), "t=abc", false, "", 0},
        {"small buffer fits", BSN("t", 8), R"({"t":"1234567"})", true, "1234567", 8},
        {"small buffer over", BSN("t", 8), R"({"t":"12345678"})", false, "", 0},
        {"command", BCMD("t", 256), R"({"t":"show version"})", true, "show version", 13},
        {"command newline", BCMD("t", 256), R"({"t":"show version\nreload"})", false, "", 0},
        {"command tab", BCMD("t", 256), R"({"t":"show\tversion"})", false, "", 0},
        {"command DEL", BCMD("t", 256), "{\"t\":\"a\x7f\"}", false, "", 0},
        {"file", BFILE("t", 97), R"({"t":"startup.scr"})", true, "startup.scr", 12},
        {"file dots inside", BFILE("t", 97), R"({"t":"a..b"})", true, "a..b", 5},
        {"file 96", BFILE("t", 97), "{\"t\":\"" + t96 + "\"}", true, t96, 97},
        {"file 97", BFILE("t", 97), "{\"t\":\"" + t97 + "\"}", false, "", 0},
        {"file slash", BFILE("t", 97), R"({"t":"../etc/passwd"})", false, "", 0},
        {"file absolute", BFILE("t", 97), R"({"t":"/tmp/x"})", false, "", 0},
        {"file parent", BFILE("t", 97), R"({"t":".."})", false, "", 0},
        {"file newline", BFILE("t", 97), R"({"t":"a\nb"})", false, "", 0},
    };
    for (const Case& c : cases) {
        hf::ArgSpec specs[] = {c.arg};
        std::string out = run(kMethodPut, "", c.body.c_str(), hf::setter, specs, THUNK(takeText));
        if (c.sent) {
            EXPECT_EQ(codeOf(out), 0) << c.what;
            EXPECT_EQ(seen.calls, 1) << c.what;
            EXPECT_EQ(seen.text, c.text) << c.what;
            EXPECT_EQ(seen.size, c.size) << c.what;
        } else {
            EXPECT_EQ(codeOf(out), 10003) << c.what << ": " << out;
            EXPECT_EQ(seen.calls, 0) << c.what;
        }
        EXPECT_EQ(out.back(), '\n') << c.what;
    }
}

TEST(TextBuffers, QueryTextsByTheExactReader)
{
    const std::string t300 = longText(300, 'h');
    struct Case {
        hf::ArgSpec arg;
        std::string query;
        int code;
        std::string text;
        uint32_t size;
    } cases[] = {
        {QS("name"), "name=web&x=1", 0, "web", 4},
        {QS("name"), "xname=9&name=web", 0, "web", 4},
        {QS("name"), "", 0, "", 1},  // absent: empty
        {QS("name"), "name=" + t300, 10003, "", 0},
        // Raw text: cut to the buffer, sent with the whole buffer.
        {QRAW("headerData", 512), "headerData=abc&x=1", 0, "abc", 512},
        {QRAW("headerData", 512), "headerData=" + longText(600, 'h'), 0, longText(511, 'h'), 512},
    };
    for (const Case& c : cases) {
        hf::ArgSpec specs[] = {c.arg};
        std::string out = run(kMethodGet, c.query.c_str(), nullptr, hf::getter, specs, THUNK(takeText));
        EXPECT_EQ(codeOf(out), c.code) << c.query;
        EXPECT_EQ(seen.calls, c.code == 0 ? 1 : 0) << c.query;
        if (c.code == 0) {
            EXPECT_EQ(seen.text, c.text) << c.query;
            EXPECT_EQ(seen.size, c.size) << c.query;
        }
    }
}

// --- Outputs ---------------------------------------------------------------------

TEST(TextBuffers, SizedOutputBufferFollowsTheSizeOperation)
{
    constexpr hf::ArgSpec specs[] = {OUTSZ("name", reportSize, 1)};
    const struct {
        int sizeStatus;
        uint32_t reported;
        uint32_t cap;
    } cases[] = {
        {0, 40, 41},
        {0, 0, 256},              // reports nothing: 256
        {-1, 40, 256},            // fails: 256
        {0, 0xffffffffu, 65536},  // no more than the bound
    };
    for (const auto& c : cases) {
        sizeStatus = c.sizeStatus;
        reported = c.reported;
        std::string out = run(kMethodPost, "", "{}", hf::setter, specs, THUNK(giveText));
        EXPECT_EQ(seen.outCap, c.cap) << c.reported;
        EXPECT_NE(out.find("\"name\":\t\"answer\""), std::string::npos) << out;
    }
    sizeStatus = 0;
}

TEST(TextBuffers, EchoAndNestedAnswers)
{
    constexpr hf::ArgSpec specs[] = {QX(kU32, "intf"), OUT(kOutU32, "usp.unit"), OUT(kOutU32, "usp.slot"),
                                     OUT(kOutU32, "port"), ECHO("intf")};
    std::string out = run(kMethodGet, "intf=7", nullptr, hf::getter, specs, THUNK(giveThree));
    JsonPtr j(cJSON_Parse(out.c_str()));
    ASSERT_TRUE(j) << out;
    const cJSON* d = cJSON_GetObjectItem(j.get(), "test");
    ASSERT_TRUE(d) << out;
    EXPECT_EQ(cJSON_GetObjectItem(cJSON_GetObjectItem(d, "usp"), "unit")->valuedouble, 8);
    EXPECT_EQ(cJSON_GetObjectItem(cJSON_GetObjectItem(d, "usp"), "slot")->valuedouble, 9);
    EXPECT_EQ(cJSON_GetObjectItem(d, "port")->valuedouble, 10);
    EXPECT_EQ(cJSON_GetObjectItem(d, "intf")->valuedouble, 7);

    constexpr hf::ArgSpec texts[] = {QS("appName"), ECHO("appName")};
    out = run(kMethodGet, "appName=web", nullptr, hf::getter, texts, THUNK(takeText));
    EXPECT_NE(out.find("\"appName\":\t\"web\""), std::string::npos) << out;
}

// --- Classes of the text rows ---------------------------------------------------

TEST(TextBuffers, BareAnswerIsTheDataObjectAloneOnSuccess)
{
    constexpr hf::ArgSpec specs[] = {OUTS("plain")};
    status = 0;
    EXPECT_EQ(run(kMethodPost, "", "{}", hf::bareAnswer, specs, THUNK(giveText)), "{\"plain\":\"answer\"}\n");
    status = -22;
    std::string out = run(kMethodPost, "", "{}", hf::bareAnswer, specs, THUNK(giveText));
    EXPECT_EQ(codeOf(out), 10003) << out;
    EXPECT_EQ(out.find("plain"), std::string::npos) << out;
    status = 0;
}

TEST(TextBuffers, ValidityCheckAnswersARefusalAsFalse)
{
    constexpr hf::ArgSpec specs[] = {QRAW("headerData", 512), OUTE("isValid", hf::kTrueTextEnum)};
    const struct {
        int status;
        int code;
        const char* valid;
    } cases[] = {{0, 0, "\"true\""}, {-22, 0, "\"false\""}, {-1, 10000, nullptr}, {-28, 17002, nullptr}};
    for (const auto& c : cases) {
        status = c.status;
        std::string out = run(kMethodGet, "headerData=00ff", nullptr, hf::validityCheck, specs, THUNK(takeTextGiveFlag));
        EXPECT_EQ(codeOf(out), c.code) << c.status;
        if (c.valid) {
            EXPECT_NE(out.find(std::string("\"isValid\":\t") + c.valid), std::string::npos) << out;
        } else {
            EXPECT_EQ(out.find("isValid"), std::string::npos) << out;
        }
        EXPECT_NE(out.back(), '\n');
    }
    status = 0;
}

}  // namespace
