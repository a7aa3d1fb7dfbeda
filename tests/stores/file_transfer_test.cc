// The library's file primitives: uploads and downloads run through a probe
// program as a CGI program runs them (body on standard input, its length in
// CONTENT_LENGTH), the text writers, the form-encoded value readers and the
// process checks against real processes.
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "stores/file_transfer.h"
#include "stores/form_params.h"
#include "stores/process_check.h"
#include "tests/support/harness.h"

namespace {

namespace fs = std::filesystem;

const std::string kDir = "/tmp/up/";
const std::string kVictim = "/tmp/victim";
const std::string kBoundary = "------WebKitFormBoundary7MA4YWxkTrZu0gW";

struct ProbeResult {
    std::string out;  // what the primitive wrote
    int rc = -1;
};

// Runs the probe with CONTENT_LENGTH set to `length` (nullptr: absent).
ProbeResult probe(const std::vector<std::string>& args, const std::string& body, const char* length)
{
    if (length)
        setenv("CONTENT_LENGTH", length, 1);
    else
        unsetenv("CONTENT_LENGTH");
    harness::CgiResult r = harness::runProgram("upload_probe", args, body);
    unsetenv("CONTENT_LENGTH");
    ProbeResult p;
    size_t at = r.out.rfind("@@rc=");
    if (r.status != 0 || at == std::string::npos) {
        ADD_FAILURE() << "probe failed, status " << r.status;
        return p;
    }
    p.out = r.out.substr(0, at);
    p.rc = std::stoi(r.out.substr(at + 5));
    return p;
}

ProbeResult uploadBody(const std::string& body, const std::string& finalName = "stored.bin")
{
    return probe({"upload", kDir, finalName}, body, std::to_string(body.size()).c_str());
}

// A browser's body: one file part between the boundary lines, the closing
// boundary and its "--".
std::string multipart(const std::string& fileName, const std::string& content,
                      const std::string& boundary = kBoundary, const std::string& before = "")
{
    return boundary + "\r\n" + before + "Content-Disposition: form-data; name=\"file\"; filename=\"" + fileName +
           "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + content + "\r\n" + boundary + "--\r\n";
}

std::set<std::string> listing(const std::string& dir)
{
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

// Bytes 0..255 over and over, with CR LF pairs and NULs among them.
std::string binary(size_t size)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 7 + i / 256) & 0xff);
    for (size_t i = 0; i + 1 < size; i += 997) {
        s[i] = '\r';
        s[i + 1] = '\n';
    }
    return s;
}

class Upload : public testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(kDir);
        fs::create_directory(kDir);
        harness::writeFile(kVictim, "victim");
    }
    void TearDown() override
    {
        fs::remove_all(kDir);
        fs::remove(kVictim);
    }
    void expectStored(const std::string& content, const std::string& finalName = "stored.bin")
    {
        EXPECT_EQ(listing(kDir), std::set<std::string>{finalName});
        EXPECT_EQ(harness::readFile(kDir + finalName), content);
        EXPECT_EQ(harness::readFile(kVictim), "victim");
    }
};

// A body whose length is 0 or less, or which names no file, used to close
// and rename a file that was never opened.
TEST_F(Upload, BodyWithoutLengthOrFileAnswers10025AndCreatesNothing)
{
    const std::string body = multipart("a.txt", "data");
    const std::string noFile = kBoundary + "\r\nContent-Disposition: form-data; name=\"x\"\r\n\r\nvalue\r\n" + kBoundary +
                               "--\r\n";
    const char kWhole[] = "<the body's own length>";
    struct Case {
        const char* what;
        const char* length;  // nullptr: absent
        std::string body;
    } cases[] = {
        {"no length", nullptr, body},
        {"length 0", "0", body},
        {"length 0 and no body", "0", ""},
        {"length -1", "-1", body},
        {"length -1 and no body", "-1", ""},
        {"length not a number", "12abc", body},
        {"length empty", "", body},
        {"length beyond 32 bits", "99999999999", body},
        {"no filename=", kWhole, noFile},
        {"boundary line only", kWhole, kBoundary + "\r\n"},
    };
    for (const Case& c : cases) {
        std::string length = c.length == kWhole ? std::to_string(c.body.size()) : c.length ? c.length : "";
        ProbeResult r = probe({"upload", kDir, "stored.bin"}, c.body, c.length ? length.c_str() : nullptr);
        EXPECT_EQ(r.rc, 10025) << c.what;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_TRUE(listing(kDir).empty()) << c.what;
    }
}

TEST_F(Upload, RefusedNamesAndBoundariesAnswer10025AndCreateNothing)
{
    const std::string longBoundary = "--" + std::string(98, 'b');  // 100 characters
    struct Case {
        const char* what;
        std::string body;
        std::string finalName;
    } cases[] = {
        {"empty browser name", multipart("", "data"), "stored.bin"},
        {"browser name .", multipart(".", "data"), "stored.bin"},
        {"browser name ..", multipart("..", "data"), "stored.bin"},
        {"browser path ending in ..", multipart("C:\\dir\\..", "data"), "stored.bin"},
        {"browser path ending in a slash", multipart("dir/", "data"), "stored.bin"},
        {"browser name too long", multipart(std::string(256 - kDir.size(), 'n'), "data"), "stored.bin"},
        {"boundary of 100 characters", multipart("a.txt", "data", longBoundary), "stored.bin"},
        {"boundary of 10000 characters", multipart("a.txt", "data", std::string(10000, '-')), "stored.bin"},
        {"empty boundary", multipart("a.txt", "data", ""), "stored.bin"},
        {"CR inside the boundary", multipart("a.txt", "data", "--ab\rcd"), "stored.bin"},
        {"final name empty", multipart("a.txt", "data"), ""},
        {"final name .", multipart("a.txt", "data"), "."},
        {"final name ..", multipart("a.txt", "data"), ".."},
        {"final name with a slash", multipart("a.txt", "data"), "../escaped"},
        {"final name too long", multipart("a.txt", "data"), std::string(256 - kDir.size(), 'f')},
    };
    for (const Case& c : cases) {
        ProbeResult r = uploadBody(c.body, c.finalName);
        EXPECT_EQ(r.rc, 10025) << c.what;
        EXPECT_TRUE(listing(kDir).empty()) << c.what;
        EXPECT_FALSE(harness::fileExists("/tmp/escaped")) << c.what;
    }
}

TEST_F(Upload, StoresTheContentUnderTheFinalName)
{
    const std::string partial = "\r\n" + kBoundary.substr(0, kBoundary.size() - 1);
    struct Case {
        const char* what;
        std::string body;
        std::string content;
    } cases[] = {
        {"plain", multipart("a.txt", "hello\nworld"), "hello\nworld"},
        {"empty file", multipart("a.txt", ""), ""},
        {"windows path", multipart("C:\\Users\\me\\Desktop\\report.txt", "report"), "report"},
        {"unix path", multipart("/home/me/report.txt", "report"), "report"},
        {"CR LF and the boundary but its last character", multipart("a.txt", partial + "X tail"), partial + "X tail"},
        {"CR LF and the boundary cut short at the end", multipart("a.txt", "x" + partial), "x" + partial},
        {"CR LF and the boundary without its dashes", multipart("a.txt", "a\r\n" + kBoundary.substr(2)),
         "a\r\n" + kBoundary.substr(2)},
        {"CRs before the delimiter", multipart("a.txt", "a\r\r\r"), "a\r\r\r"},
        {"CR CR LF", multipart("a.txt", "a\r\r\nb\r"), "a\r\r\nb\r"},
        {"header end inside the content", multipart("a.txt", "\r\n\r\nz"), "\r\n\r\nz"},
        {"NULs", multipart("a.txt", std::string("a\0b\0", 4)), std::string("a\0b\0", 4)},
        {"boundary of 99 characters", multipart("a.txt", "x", "--" + std::string(97, 'b')), "x"},
        {"a field before the file",
         multipart("a.txt", "f", kBoundary, "Content-Disposition: form-data; name=\"k\"\r\n\r\nv\r\n" + kBoundary + "\r\n"),
         "f"},
        {"no content type line",
         kBoundary + "\r\nContent-Disposition: form-data; name=\"f\"; filename=\"a\"\r\n\r\nbare\r\n" + kBoundary + "--\r\n",
         "bare"},
        {"CR CR LF CR LF ending the headers",
         kBoundary + "\r\nContent-Disposition: form-data; filename=\"a\"\r\r\n\r\nbody\r\n" + kBoundary + "--\r\n",
         "body"},
        {"a 1 MiB binary file", multipart("big.bin", binary(1 << 20)), binary(1 << 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeResult r = uploadBody(c.body);
        EXPECT_EQ(r.rc, 0);
        expectStored(c.content);
        fs::remove(kDir + "stored.bin");
    }
}

// The delimiter (CR LF and the boundary) falls at every place across the
// edge of the first 10240-byte block.
TEST_F(Upload, DelimiterAcrossTwoBlocksIsRecognised)
{
    const std::string head = multipart("a.txt", "");
    const size_t headLen = head.find("\r\n\r\n") + 4;
    const size_t delimiter = 2 + kBoundary.size();
    for (size_t before = 0; before <= delimiter + 1; ++before) {
        // The delimiter's CR stands `before` bytes ahead of the block's end.
        std::string content(kTransferBlock - headLen - before, 'c');
        content.back() = '\r';  // and a CR just before it
        ProbeResult r = uploadBody(multipart("a.txt", content));
        EXPECT_EQ(r.rc, 0) << before;
        EXPECT_EQ(harness::readFile(kDir + "stored.bin"), content) << before;
        fs::remove(kDir + "stored.bin");
    }
    // A text that only begins like the delimiter, across the edge.
    std::string tricky(kTransferBlock - headLen - 10, 'c');
    tricky += "\r\n" + kBoundary.substr(0, 20) + "!" + std::string(100, 'd');
    EXPECT_EQ(uploadBody(multipart("a.txt", tricky)).rc, 0);
    expectStored(tricky);
}

// Nothing stands under the final name unless the whole body arrived with its
// closing boundary; a file already there stays as it was.
TEST_F(Upload, FailedUploadLeavesTheFinalNameAsItWas)
{
    const std::string whole = multipart("a.txt", binary(30000));
    struct Case {
        const char* what;
        std::string body;
        std::string length;
    } cases[] = {
        {"no closing boundary", whole.substr(0, whole.size() - kBoundary.size() - 6), ""},
        {"body ends after the headers", whole.substr(0, 200), ""},
        {"short body", whole, std::to_string(whole.size() + 1)},
        {"short body after the closing boundary", whole, std::to_string(whole.size() + 100)},
        {"body ends inside the boundary line", kBoundary.substr(0, 10), ""},
    };
    for (const Case& c : cases) {
        harness::writeFile(kDir + "stored.bin", "old");
        std::string length = c.length.empty() ? std::to_string(c.body.size()) : c.length;
        ProbeResult r = probe({"upload", kDir, "stored.bin"}, c.body, length.c_str());
        EXPECT_EQ(r.rc, 10025) << c.what;
        EXPECT_EQ(listing(kDir), std::set<std::string>{"stored.bin"}) << c.what;
        EXPECT_EQ(harness::readFile(kDir + "stored.bin"), "old") << c.what;
    }
}

TEST_F(Upload, WriteFailureRemovesTheWorkFile)
{
    ASSERT_EQ(mount("tmpfs", kDir.c_str(), "tmpfs", 0, "size=16k"), 0);
    ProbeResult r = uploadBody(multipart("a.txt", binary(200000)));
    EXPECT_EQ(r.rc, 10025);
    EXPECT_TRUE(listing(kDir).empty());
    // A file that fits still goes through.
    EXPECT_EQ(uploadBody(multipart("a.txt", "small")).rc, 0);
    expectStored("small");
    umount(kDir.c_str());
}

TEST_F(Upload, PlantedLinksAreNotFollowed)
{
    // A link at the final name is replaced, its target untouched.
    ASSERT_EQ(symlink(kVictim.c_str(), (kDir + "stored.bin").c_str()), 0);
    EXPECT_EQ(uploadBody(multipart("a.txt", "new")).rc, 0);
    expectStored("new");
    EXPECT_FALSE(fs::is_symlink(kDir + "stored.bin"));
    fs::remove(kDir + "stored.bin");

    // A link at the browser's name is no part of the upload.
    ASSERT_EQ(symlink(kVictim.c_str(), (kDir + "a.txt").c_str()), 0);
    EXPECT_EQ(uploadBody(multipart("a.txt", "new")).rc, 0);
    EXPECT_EQ(harness::readFile(kVictim), "victim");
    EXPECT_EQ(listing(kDir), (std::set<std::string>{"a.txt", "stored.bin"}));
    fs::remove(kDir + "a.txt");
    fs::remove(kDir + "stored.bin");

    // A link at this process's own work file name: the work file cannot be
    // created, the link and its target stay, and no final file appears.
    const std::string body = multipart("a.txt", "new");
    for (const std::string& target : {kVictim, std::string("/tmp/absent")}) {
        ProbeResult r = probe({"plant", kDir, target, "stored.bin"}, body, std::to_string(body.size()).c_str());
        EXPECT_EQ(r.rc, 10016) << target;
        EXPECT_EQ(harness::readFile(kVictim), "victim");
        EXPECT_FALSE(harness::fileExists("/tmp/absent"));
        std::set<std::string> names = listing(kDir);
        ASSERT_EQ(names.size(), 1u);
        EXPECT_EQ(names.begin()->rfind(UPLOAD_WORK_PREFIX, 0), 0u);
        fs::remove(kDir + *names.begin());
    }
}

// --- Download --------------------------------------------------------------------

class Download : public Upload {};

TEST_F(Download, SendsTheHeaderAndTheFileByteForByte)
{
    for (size_t size : {size_t(0), size_t(1), kTransferBlock - 1, kTransferBlock, kTransferBlock + 1, size_t(1) << 20}) {
        std::string content = binary(size);
        harness::writeFile(kDir + "f", content);
        ProbeResult r = probe({"download", kDir + "f"}, "", nullptr);
        EXPECT_EQ(r.rc, 0) << size;
        EXPECT_TRUE(r.out == "Content-Length:" + std::to_string(size) + "\n\n" + content) << size;
    }
}

TEST_F(Download, WhatIsNoRegularFileGetsTheHeaderAnd10016)
{
    harness::writeFile(kDir + "f", "secret");
    ASSERT_EQ(symlink((kDir + "f").c_str(), (kDir + "link").c_str()), 0);
    ASSERT_EQ(mkfifo((kDir + "fifo").c_str(), 0600), 0);
    fs::create_directory(kDir + "sub");
    for (const char* name : {"missing", "link", "fifo", "sub"}) {
        ProbeResult r = probe({"download", kDir + name}, "", nullptr);
        EXPECT_EQ(r.rc, 10016) << name;
        EXPECT_EQ(r.out, "Content-Length:0\n\n") << name;
    }
}

// --- Writers ---------------------------------------------------------------------

class Writers : public Upload {};

TEST_F(Writers, WriteAppendAndRefuse)
{
    const std::string f = kDir + "w";
    EXPECT_EQ(writeFile(f.c_str(), "w", "one\n"), 0);
    EXPECT_EQ(writeAppendToFile(f.c_str(), "two\n"), 0);
    EXPECT_EQ(writeFile(f.c_str(), "a", "three\n"), 0);
    EXPECT_EQ(harness::readFile(f), "one\ntwo\nthree\n");
    EXPECT_EQ(writeFile(f.c_str(), "w", ""), 0);
    EXPECT_EQ(harness::readFile(f), "");

    EXPECT_EQ(writeFile(nullptr, "w", "x"), 10003);
    EXPECT_EQ(writeFile(f.c_str(), nullptr, "x"), 10003);
    EXPECT_EQ(writeFile(f.c_str(), "w", nullptr), 10003);
    EXPECT_EQ(writeAppendToFile(nullptr, "x"), 10003);
    EXPECT_EQ(writeAppendToFile(f.c_str(), nullptr), 10003);
    // Directories are never created; a text that cannot reach the file whole fails.
    EXPECT_EQ(writeFile((kDir + "no/w").c_str(), "w", "x"), -1);
    EXPECT_EQ(writeAppendToFile((kDir + "no/w").c_str(), "x"), -1);
    EXPECT_FALSE(harness::fileExists(kDir + "no"));
    EXPECT_EQ(writeFile("/dev/full", "w", "x"), -1);
    EXPECT_EQ(writeFile(f.c_str(), "r", "x"), -1);
}

// --- Form-encoded values ---------------------------------------------------------

TEST(FormParams, UrlDecodeInPlace)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"%41", "A"},        {"%4", "%4"},       {"%zz", "%zz"},   {"+", " "},         {"%", "%"},
        {"%6a%6A", "jj"},    {"a+b%20c", "a b c"}, {"%%41", "%A"}, {"%4%41", "%4A"},   {"%+1", "% 1"},
        {"%2B", "+"},        {"%25", "%"},       {"%2525", "%25"}, {"", ""},           {"100%", "100%"},
        {"%C3%A9", "\xc3\xa9"}, {"%g1", "%g1"},   {"%1g", "%1g"},
    };
    for (const Case& c : cases) {
        std::string buf = c.in;
        urlDecodeInPlace(&buf[0]);
        EXPECT_STREQ(buf.c_str(), c.out) << c.in;
    }
    urlDecodeInPlace(nullptr);
}

TEST(FormParams, QueryParamDecodedGet)
{
    struct Case {
        const char* params;
        const char* key;
        size_t size;
        int rc;
        const char* value;
    } cases[] = {
        {"offset=10&limit=20&vlan=5", "limit", 32, 0, "20"},
        {"offset=10&limit=20&vlan=5", "vlan", 32, 0, "5"},
        {"voffset=1&offset=2", "offset", 32, 0, "2"},   // exact names only
        {"offsetx=1", "offset", 32, 10000, ""},
        {"xoffset=1", "offset", 32, 10000, ""},
        {"&&offset=3&", "offset", 32, 0, "3"},           // empty items skipped
        {"offset&offset=4", "offset", 32, 0, "4"},       // an item without "="
        {"offset=&offset=5", "offset", 32, 0, ""},       // the first item answers
        {"a=1&a=2", "a", 32, 0, "1"},
        {"name=a%20b+c", "name", 32, 0, "a b c"},
        {"name=abcdef", "name", 4, 0, "abc"},            // cut to size - 1
        {"name=abcdef", "name", 1, 0, ""},
        {"name=%41%42", "name", 3, 0, "%4"},             // cut before decoding
        {"name=a=b", "name", 32, 0, "a=b"},
        {"", "name", 32, 10000, ""},
        {"name=1", "", 32, 10000, ""},
        {"name=1", "name", 0, 10000, nullptr},
        {"na%6De=1", "name", 32, 10000, ""},             // names are not decoded
    };
    for (const Case& c : cases) {
        char out[64];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(queryParamDecodedGet(c.params, c.key, out, c.size), c.rc) << c.params << " " << c.key;
        if (c.value)
            EXPECT_STREQ(out, c.value) << c.params << " " << c.key;
        else
            EXPECT_EQ(out[0], 'x');
    }
    char out[8];
    EXPECT_EQ(queryParamDecodedGet(nullptr, "a", out, sizeof out), 10000);
    EXPECT_EQ(queryParamDecodedGet("a=1", nullptr, out, sizeof out), 10000);
    EXPECT_EQ(queryParamDecodedGet("a=1", "a", nullptr, sizeof out), 10000);
}

TEST(FormParams, JsonParamDecodedGet)
{
    struct Case {
        const char* json;
        const char* key;
        size_t size;
        int rc;
        const char* value;
    } cases[] = {
        {R"({"vlan":"5"})", "vlan", 32, 0, "5"},
        {R"({"Vlan":"5"})", "vlan", 32, 0, "5"},
        {R"({"name":"a%20b+c"})", "name", 32, 0, "a b c"},
        {R"({"name":"abcdef"})", "name", 4, 0, "abc"},
        {R"({"name":""})", "name", 32, 0, ""},
        {R"({"vlan":5})", "vlan", 32, 10000, ""},
        {R"({"vlan":null})", "vlan", 32, 10000, ""},
        {R"({"vlan":["5"]})", "vlan", 32, 10000, ""},
        {R"({"other":"5"})", "vlan", 32, 10000, ""},
        {R"(["vlan"])", "vlan", 32, 10000, ""},
        {R"("vlan")", "vlan", 32, 10000, ""},
        {R"({"vlan":"5")", "vlan", 32, 10000, ""},
        {"", "vlan", 32, 10000, ""},
    };
    for (const Case& c : cases) {
        char out[64];
        EXPECT_EQ(jsonParamDecodedGet(c.json, c.key, out, c.size), c.rc) << c.json;
        EXPECT_STREQ(out, c.value) << c.json;
    }
    char out[8];
    EXPECT_EQ(jsonParamDecodedGet(nullptr, "a", out, sizeof out), 10000);
    EXPECT_EQ(jsonParamDecodedGet(R"({"a":"1"})", nullptr, out, sizeof out), 10000);
    EXPECT_EQ(jsonParamDecodedGet(R"({"a":"1"})", "a", out, 0), 10000);
}

// --- Process checks --------------------------------------------------------------

// A child that waits until killed, known by its kernel name or by its first
// command-line word.
class Child {
public:
    static Child named(const char* comm)
    {
        Child c;
        c.pid_ = fork();
        if (c.pid_ == 0) {
            prctl(PR_SET_NAME, comm);
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            for (;;)
                pause();
        }
        return c;
    }
    static Child exec(const char* argv0)
    {
        Child c;
        c.pid_ = fork();
        if (c.pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            execl("/bin/sleep", argv0, "600", static_cast<char*>(nullptr));
            _exit(127);
        }
        return c;
    }
    Child(Child&& o) : pid_(o.pid_) { o.pid_ = -1; }
    ~Child()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

private:
    Child() = default;
    pid_t pid_ = -1;
};

// Waits (without a deadline on the answer itself) until the child shows.
int countWhenShown(const char* name, int want)
{
    int n = -2;
    for (int i = 0; i < 500 && (n = processRunningCount(name)) != want; ++i)
        usleep(10000);
    return n;
}

TEST(ProcessCheck, FindsProcessesByExactName)
{
    EXPECT_EQ(processRunningCheck("oxelStoresPrb"), 0);
    EXPECT_EQ(processRunningCount("oxelStoresPrb"), 0);
    {
        Child a = Child::named("oxelStoresPrb");
        ASSERT_EQ(countWhenShown("oxelStoresPrb", 1), 1);
        EXPECT_EQ(processRunningCheck("oxelStoresPrb"), 1);
        Child b = Child::named("oxelStoresPrb");
        EXPECT_EQ(countWhenShown("oxelStoresPrb", 2), 2);
        EXPECT_EQ(processRunningCheck("oxelStoresPrb"), 1);
        // Parts or extensions of the name are other names.
        for (const char* other : {"oxelStores", "StoresPrb", "oxelStoresPrbX", "oxelstoresprb"})
            EXPECT_EQ(processRunningCount(other), 0) << other;
    }
    EXPECT_EQ(countWhenShown("oxelStoresPrb", 0), 0);

    // A name longer than the kernel keeps is found by the command line.
    const char* longName = "oxel-stores-long.sleeper_name";
    Child c = Child::exec((std::string("/some/dir/") + longName).c_str());
    EXPECT_EQ(countWhenShown(longName, 1), 1);
    EXPECT_EQ(processRunningCheck(longName), 1);
}

TEST(ProcessCheck, NamesOutsideTheWordCharactersAnswer0WithoutLooking)
{
    // A name of this test's own: the tests of a run share one process table.
    Child a = Child::named("oxelStoresNam");
    ASSERT_EQ(countWhenShown("oxelStoresNam", 1), 1);
    const std::string tooLong(kProcessNameMax + 1, 'a');
    for (const char* name : {"oxelStoresNam'", "'oxelStoresNam'", "oxel StoresPrb", "oxelStoresNam;id", "$(id)",
                             "a|b", "oxelStores*", "\"oxelStoresNam\"", "", tooLong.c_str()}) {
        EXPECT_EQ(processRunningCheck(name), 0) << name;
        EXPECT_EQ(processRunningCount(name), 0) << name;
    }
    EXPECT_EQ(processRunningCheck(nullptr), 0);
    EXPECT_EQ(processRunningCount(nullptr), 0);
}

TEST(ProcessCheck, NoProcessTableAnswersMinus1)
{
    // In this test's own mount namespace: an empty /proc for a moment.
    ASSERT_EQ(mount("tmpfs", "/proc", "tmpfs", 0, nullptr), 0);
    int check = processRunningCheck("init");
    int count = processRunningCount("init");
    ASSERT_EQ(umount("/proc"), 0);
    EXPECT_EQ(check, -1);
    EXPECT_EQ(count, -1);
}

}  // namespace
