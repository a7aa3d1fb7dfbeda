// Requests to the programs and readings of their answers.
#include "tests/support/answers.h"

#include <cjson/cJSON.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

namespace harness {

namespace {

const char* endingName(Ending e)
{
    switch (e) {
    case Ending::Bare:
        return "nothing";
    case Ending::Newline:
        return "one newline";
    case Ending::BareOrNewline:
        break;
    }
    return "nothing or one newline";
}

}  // namespace

cJSON* parseOne(const std::string& text, Ending ending, std::string* why)
{
    std::string reason;
    cJSON* root = nullptr;
    // cJSON skips leading white space itself; a program's document starts at once.
    if (text.empty() || (text[0] != '{' && text[0] != '[')) {
        reason = "no JSON document at the start";
    } else {
        // Without require_null_terminated, `end` stops right after the document,
        // before any white space, so the tail is judged here byte by byte.
        const char* end = nullptr;
        root = cJSON_ParseWithOpts(text.c_str(), &end, 0);
        if (!root) {
            reason = "not JSON";
        } else {
            std::string tail = text.substr(static_cast<size_t>(end - text.c_str()));
            bool fits = (tail.empty() && ending != Ending::Newline) || (tail == "\n" && ending != Ending::Bare);
            if (!fits) {
                reason = "after the document comes \"" + tail + "\" where " + endingName(ending) + " may";
                cJSON_Delete(root);
                root = nullptr;
            }
        }
    }
    if (why)
        *why = reason;
    return root;
}

std::unique_ptr<Json> envelope(const CgiResult& r, Ending ending)
{
    std::string h = kJsonHeader;
    if (r.out.compare(0, h.size(), h) != 0) {
        auto e = std::make_unique<Json>("", ending);
        e->why = "no JSON header";
        return e;
    }
    return std::make_unique<Json>(r.out.substr(h.size()), ending);
}

CgiResult request(const std::string& method, const std::string& uri, const std::string& body)
{
    CgiRequest r;
    r.method = method;
    r.uri = uri;
    size_t q = uri.find('?');
    if (q != std::string::npos)
        r.query = uri.substr(q + 1);
    r.body = body;
    return runCgi(r);
}

CgiResult requestIn(const std::string& program, const std::string& dir, const std::string& method,
                    const std::string& path, const std::string& body)
{
    CgiRequest r;
    r.program = program;
    r.method = method;
    std::string p = path;
    size_t q = p.find('?');
    if (q != std::string::npos) {
        r.query = p.substr(q + 1);
        p.resize(q);
    }
    r.uri = dir + p;
    r.body = body;
    CgiResult out = runCgi(r);
    EXPECT_TRUE(workFiles().empty()) << method << " " << path;
    return out;
}

void writeStateWithArea(const std::string& path, const char* area, const char* areaJson)
{
    unlink(path.c_str());
    {
        Simulator blank({"--state", path});
        ASSERT_TRUE(blank.ok());
    }
    std::unique_ptr<cJSON, void (*)(cJSON*)> state(cJSON_Parse(readFile(path).c_str()), cJSON_Delete);
    ASSERT_TRUE(state);
    ASSERT_TRUE(cJSON_GetObjectItem(state.get(), area)) << "the switch keeps " << area;
    cJSON* replacement = cJSON_Parse(areaJson);
    ASSERT_TRUE(replacement) << areaJson;
    cJSON_ReplaceItemInObject(state.get(), area, replacement);
    cJSON* vlans = cJSON_GetObjectItem(state.get(), "vlans");
    ASSERT_TRUE(cJSON_IsArray(vlans));
    cJSON_AddItemToArray(vlans, cJSON_Parse(R"({"id": 10, "name": "video", "static": true})"));
    char* text = cJSON_Print(state.get());
    writeFile(path, text);
    free(text);
}

int codeOf(const CgiResult& r)
{
    auto e = envelope(r);
    const cJSON* c = cJSON_GetObjectItemCaseSensitive(cJSON_GetObjectItemCaseSensitive(e->root, "resp"), "respCode");
    return cJSON_IsNumber(c) ? c->valueint : -1;
}

std::string dataOf(const CgiResult& r, const char* member)
{
    auto e = envelope(r);
    const cJSON* d = cJSON_GetObjectItemCaseSensitive(e->root, member);
    std::string s;
    if (d) {
        char* t = cJSON_PrintUnformatted(d);
        s = t ? t : "";
        free(t);
    }
    return s;
}

std::vector<std::string> workFiles()
{
    std::vector<std::string> names;
    if (DIR* d = opendir("/mnt/application/oxel/tmp")) {
        while (dirent* e = readdir(d))
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

int callsTo(Simulator& sim, const std::string& op)
{
    std::istringstream calls(sim.ctl({"calls"}));
    std::string line;
    int n = 0;
    while (std::getline(calls, line))
        if (line.compare(0, op.size() + 1, op + " ") == 0)
            ++n;
    return n;
}

std::string exportedSymbols(const std::string& program)
{
    std::string cmd = "nm -D --defined-only " + programPath(program) + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return "";
    std::string syms;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        syms.append(buf, n);
    pclose(p);
    return syms;
}

}  // namespace harness
