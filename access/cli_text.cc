// Show text, applied CLI text, label lines and interface names of the
// CLI-backed routes.
#include "access/cli_text.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "access/cli_bridge.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/open_client.h"

namespace clitext {

namespace {

// The CLI's answer to a script is read whole: a refusal may come after the
// echo of many lines.
constexpr size_t kAnswerCap = SIZE_MAX;

// Reads at most `cap` bytes of an open file.
bool readCapped(FILE* f, size_t cap, std::string* text)
{
    text->clear();
    std::vector<char> buf(8192);
    while (text->size() < cap) {
        size_t want = cap - text->size() < buf.size() ? cap - text->size() : buf.size();
        size_t n = fread(buf.data(), 1, want, f);
        if (n == 0)
            break;
        text->append(buf.data(), n);
    }
    return !ferror(f);
}

}  // namespace

int showToText(const char* stem, const char* command, size_t cap, std::string* text, const char* caller)
{
    TempFile out((std::string("oxel_out_") + stem).c_str());
    int rc = cliShowExecuteToFile(&clientHandle, command, out.path());
    if (rc != 0)
        return rc;
    FILE* f = fopen(out.path(), "re");
    if (!f) {
        LOG_AS(caller, kLogError, "can not open file: %s\r\n", out.path());
        return kResultOpenFailed;
    }
    bool ok = readCapped(f, cap, text);
    fclose(f);
    return ok ? 0 : kResultGeneralFailed;
}

int applyText(const char* stem, const std::string& text)
{
    return applyTextAnswer(stem, text, nullptr);
}

int applyTextAnswer(const char* stem, const std::string& text, std::string* answer)
{
    TempFile in((std::string("oxel_in_") + stem).c_str());
    TempFile out((std::string("oxel_out_") + stem).c_str(), in);
    int rc = writeToFile(in.path(), text.c_str()) == 0 ? txtCfgApply(&clientHandle, in.path(), out.path())
                                                       : kResultGeneralFailed;
    if (rc != 0)
        rc = rc == kResultInvalidArgument ? rc : kResultGeneralFailed;
    if (answer) {
        answer->clear();
        FILE* f = rc == 0 ? fopen(out.path(), "re") : nullptr;
        if (f) {
            readCapped(f, kAnswerCap, answer);
            fclose(f);
        }
    }
    return rc;
}

bool cliRefused(const std::string& answer)
{
    for (size_t pos = 0; pos < answer.size();) {
        if (answer.compare(pos, 2, "% ") == 0)
            return true;
        size_t eol = answer.find('\n', pos);
        pos = eol == std::string::npos ? answer.size() : eol + 1;
    }
    return false;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos)
            eol = text.size();
        std::string line = text.substr(pos, std::min(eol - pos, kLineSize - 1));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        pos = eol + 1;
    }
    return lines;
}

bool labelValue(const std::string& text, const char* label, std::string* value, size_t max)
{
    size_t llen = strlen(label);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos)
            eol = text.size();
        size_t p = pos;
        while (p < eol && (text[p] == ' ' || text[p] == '\t'))
            ++p;
        if (eol - p >= llen && text.compare(p, llen, label) == 0) {
            p += llen;
            while (p < eol && (text[p] == ' ' || text[p] == '\t' || text[p] == '.' || text[p] == ':'))
                ++p;
            std::string v = text.substr(p, eol - p);
            if (!v.empty() && v.back() == '\r')
                v.pop_back();
            if (v.size() > max)
                v.resize(max);
            while (!v.empty() && (v.back() == ' ' || v.back() == '\t'))
                v.pop_back();
            *value = v;
            return true;
        }
        pos = eol + 1;
    }
    return false;
}

int leaderValue(const std::string& text, const char* label, size_t size, std::string* value)
{
    if (!label || size == 0 || !value)
        return kResultInvalidArgument;
    size_t llen = strlen(label);
    for (size_t pos = 0; pos < text.size();) {
        size_t eol = text.find_first_of("\r\n", pos);
        if (eol == std::string::npos)
            eol = text.size();
        size_t p = pos;
        while (p < eol && isspace(static_cast<unsigned char>(text[p])))
            ++p;
        size_t dot = eol - p >= llen && text.compare(p, llen, label) == 0 ? text.find('.', p + llen) : eol;
        if (dot < eol) {
            p = dot;
            while (p < eol && text[p] == '.')
                ++p;
            while (p < eol && isspace(static_cast<unsigned char>(text[p])))
                ++p;
            std::string v = text.substr(p, std::min(eol - p, size - 1));
            while (!v.empty() && strchr(" \t\r\n", v.back()))
                v.pop_back();
            if (!v.empty()) {
                *value = v;
                return kResultOk;
            }
        }
        pos = eol + 1;
    }
    return kResultApiNotFound;
}

std::string wordAfter(const std::string& text, const char* label, size_t size)
{
    size_t at = label && *label && size > 0 ? text.find(label) : std::string::npos;
    if (at == std::string::npos)
        return std::string();
    size_t p = text.find_first_not_of(" \t", at + strlen(label));
    if (p == std::string::npos)
        return std::string();
    size_t end = text.find_first_of(" \t\r\n", p);
    return text.substr(p, std::min((end == std::string::npos ? text.size() : end) - p, size - 1));
}

uint32_t modeOf(const std::string& v)
{
    if (v.empty())
        return 0;
    char c = v[0];
    return c == 'E' || c == 'e' || c == 'T' || c == 't' || c == 'Y' || c == 'y' ? 1 : 0;
}

int intfCliName(uint32_t intIfNum, std::string* name)
{
    uint32_t unit = 0, slot = 0, port = 0;
    int rc = rpcclt_openapiHashIntfUnitSlotPortGet(&clientHandle, intIfNum, &unit, &slot, &port);
    if (rc != 0)
        return OpenResultTranslate(rc);
    if (unit == 0 && slot == 0 && port == 0)
        return kResultUnsupported;
    char buf[48];
    snprintf(buf, sizeof buf, "%u/%u/%u", unit, slot, port);
    *name = buf;
    return 0;
}

bool cliSafe(const char* text)
{
    if (!text)
        return true;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (*p < 0x20 || *p == 0x7f)
            return false;
    return true;
}

bool cliSafe(const std::string& text)
{
    return text.find('\0') == std::string::npos && cliSafe(text.c_str());
}

std::string fillTemplate(const char* tmpl, const std::string& value)
{
    std::string t = tmpl ? tmpl : "";
    size_t u = t.find("%u"), s = t.find("%s");
    size_t at = u < s ? u : s;
    if (at == std::string::npos)
        return t;
    return t.substr(0, at) + value + t.substr(at + 2);
}

std::string vlanScoped(uint32_t vlan, const std::string& line)
{
    return "configure\ninterface vlan " + std::to_string(vlan) + "\n" + line + "\nexit\nexit\n";
}

std::string intfScoped(const std::string& name, const std::string& line)
{
    return "configure\ninterface " + name + "\n" + line + "\nexit\nexit\n";
}

}  // namespace clitext
