// The answer readers take exactly one envelope and the newline its handler
// may print, and nothing else a program might write to standard output.
#include "tests/support/answers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using harness::Ending;

const std::string kEnv = "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t0\n\t}\n}";

TEST(ParseOne, OneDocumentAndItsEnding)
{
    struct Case {
        const char* what;
        std::string text;
        bool bare, newline, either;  // parses with Ending::Bare, Newline, BareOrNewline
    };
    const Case cases[] = {
        {"read answer", kEnv, true, false, true},
        {"write answer", kEnv + "\n", false, true, true},
        {"two newlines", kEnv + "\n\n", false, false, false},
        {"carriage return", kEnv + "\r\n", false, false, false},
        {"trailing blank", kEnv + " ", false, false, false},
        {"second envelope", kEnv + kEnv, false, false, false},
        {"second envelope after newline", kEnv + "\n" + kEnv + "\n", false, false, false},
        {"stray text after", kEnv + "ok", false, false, false},
        {"log line after", kEnv + "\n[handleV2Foo:12] open failed\r\n", false, false, false},
        {"NUL after", kEnv + std::string(1, '\0'), false, false, false},
        {"log line before", "[main:3] start\n" + kEnv, false, false, false},
        {"newline before", "\n" + kEnv, false, false, false},
        {"cut short", kEnv.substr(0, kEnv.size() - 1), false, false, false},
        {"nothing", "", false, false, false},
        {"bare text", "Success", false, false, false},
    };
    for (const Case& c : cases) {
        const std::pair<Ending, bool> endings[] = {
            {Ending::Bare, c.bare}, {Ending::Newline, c.newline}, {Ending::BareOrNewline, c.either}};
        for (const auto& e : endings) {
            std::string why;
            cJSON* root = harness::parseOne(c.text, e.first, &why);
            EXPECT_EQ(root != nullptr, e.second) << c.what << " / ending " << static_cast<int>(e.first) << ": " << why;
            EXPECT_EQ(why.empty(), e.second) << c.what;
            cJSON_Delete(root);
        }
    }
}

TEST(AnswerReaders, RefuseStrayOutput)
{
    const std::string header = harness::kJsonHeader;
    struct Case {
        const char* what;
        std::string out;
        int code;  // codeOf
    };
    const Case cases[] = {
        {"read", header + kEnv, 0},
        {"write", header + kEnv + "\n", 0},
        {"no header", kEnv, -1},
        {"status line first", "Status:403\r\n\r" + header + kEnv, -1},
        {"second envelope", header + kEnv + "\n" + kEnv, -1},
        {"log line after", header + kEnv + "\n[x:1] done\n", -1},
    };
    for (const Case& c : cases) {
        harness::CgiResult r;
        r.out = c.out;
        r.status = 0;
        EXPECT_EQ(harness::codeOf(r), c.code) << c.what;
        EXPECT_EQ(harness::envelope(r)->root != nullptr, c.code == 0) << c.what;
    }
    // A caller that knows the handler's ending holds the answer to it.
    harness::CgiResult write;
    write.out = header + kEnv + "\n";
    EXPECT_EQ(harness::envelope(write, Ending::Bare)->root, nullptr);
    EXPECT_NE(harness::envelope(write, Ending::Newline)->root, nullptr);
}

}  // namespace
