// Requests to the programs and readings of their answers.
#include "tests/support/answers.h"

#include <cjson/cJSON.h>
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace harness {

namespace {

// The envelope of an answer (the text after the JSON header), or nullptr.
cJSON* envelopeOf(const CgiResult& r)
{
    std::string h = kJsonHeader;
    if (r.out.compare(0, h.size(), h) != 0)
        return nullptr;
    return cJSON_Parse(r.out.c_str() + h.size());
}

}  // namespace

std::unique_ptr<Json> envelope(const CgiResult& r)
{
    std::string h = kJsonHeader;
    if (r.out.compare(0, h.size(), h) != 0)
        return std::make_unique<Json>("");
    return std::make_unique<Json>(r.out.substr(h.size()));
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

int codeOf(const CgiResult& r)
{
    cJSON* e = envelopeOf(r);
    const cJSON* c = cJSON_GetObjectItemCaseSensitive(cJSON_GetObjectItemCaseSensitive(e, "resp"), "respCode");
    int code = cJSON_IsNumber(c) ? c->valueint : -1;
    cJSON_Delete(e);
    return code;
}

std::string dataOf(const CgiResult& r, const char* member)
{
    cJSON* e = envelopeOf(r);
    cJSON* d = cJSON_GetObjectItemCaseSensitive(e, member);
    std::string s;
    if (d) {
        char* t = cJSON_PrintUnformatted(d);
        s = t ? t : "";
        free(t);
    }
    cJSON_Delete(e);
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
