// Parsers of "show bootvar" and "show ip management".
#include "access/show_parse_system.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "access/cli_bridge.h"
#include "access/cli_text.h"
#include "runtime/envelope.h"
#include "runtime/log.h"

namespace {

constexpr size_t kLineSize = 1024;

bool startsWith(const char* line, const char* label)
{
    return strncmp(line, label, strlen(label)) == 0;
}

// The first word at `column` of a line, at most size - 1 characters.
void wordAt(const char* line, size_t column, char* dst, size_t size)
{
    if (strlen(line) <= column)
        return;
    const char* p = line + column;
    p += strspn(p, " \t");
    size_t n = strcspn(p, " \t\r\n");
    if (n >= size)
        n = size - 1;
    memcpy(dst, p, n);
    dst[n] = '\0';
}

// The pieces a kLineSize line reader (fgets) takes from a text: a line with
// its "\n", or the first kLineSize - 1 characters of a longer one, whose rest
// is the next piece.
std::vector<std::string> readerLines(const std::string& text)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        size_t end = eol == std::string::npos ? text.size() : eol + 1;
        if (end - pos > kLineSize - 1)
            end = pos + kLineSize - 1;
        out.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

// Runs `command` into `path` and reads the file whole; removes it. 0, the
// bridge's result, or 10016.
int showWhole(OpenClientHandle* client, const char* command, const char* path, const char* caller,
              std::string* text)
{
    int rc = cliShowExecuteToFile(client, command, path);
    if (rc != 0)
        return rc;
    FILE* f = fopen(path, "re");
    if (!f) {
        LOG_AS(caller, kLogError, "can not open file:%s\r\n", path);
        return kResultOpenFailed;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        text->append(buf, n);
    fclose(f);
    unlink(path);
    return kResultOk;
}

}  // namespace

int bootvarRecordsOf(const std::string& text, BootImageRecord* records, int capacity)
{
    int lineNo = 0, filled = 0;
    for (const std::string& line : readerLines(text)) {
        if (++lineNo <= 14)
            continue;  // the header
        if (filled >= capacity)
            break;
        BootImageRecord r{};
        if (sscanf(line.c_str(), "%d %11s %11s %17s %17s", &r.unit, r.active, r.backup, r.currentActive,
                   r.nextActive) != 5)
            break;  // the table ends at the first other line
        records[filled++] = r;
    }
    return filled;
}

void managementParamsOf(const std::string& text, uint32_t* vlan, char* method, char* address, char* mask,
                        char* gateway)
{
    for (char* t : {method, address, mask, gateway})
        memset(t, 0, kMgmtTextSize);
    for (const std::string& piece : readerLines(text)) {
        const char* line = piece.c_str();
        if (startsWith(line, "IPv4 Management Interface")) {
            if (strlen(line) > 52) {
                char* end;
                long v = strtol(line + 52, &end, 10);
                if (end != line + 52 && v >= 0 && v <= 4095)
                    *vlan = static_cast<uint32_t>(v);
            }
        } else if (startsWith(line, "IP Address")) {
            wordAt(line, 47, address, kMgmtTextSize);
        } else if (startsWith(line, "Subnet Mask")) {
            wordAt(line, 47, mask, kMgmtTextSize);
        } else if (startsWith(line, "Method")) {
            wordAt(line, 47, method, kMgmtTextSize);
        } else if (startsWith(line, "Default Gateway")) {
            wordAt(line, 47, gateway, kMgmtTextSize);
        }
    }
}

int bootvarGet(OpenClientHandle* client, int* count, BootImageRecord* records)
{
    if (!count || !records)
        return kResultInvalidArgument;
    int capacity = *count > 0 ? *count : 0;
    memset(records, 0, sizeof(BootImageRecord) * static_cast<size_t>(capacity));
    *count = 0;
    std::string text;
    int rc = showWhole(client, "show bootvar", OXEL_TMP_DIR "oxel_out_show_bootvar", __func__, &text);
    if (rc != 0)
        return rc;
    *count = bootvarRecordsOf(text, records, capacity);
    return kResultOk;
}

int managementPortIPv4ParametersGet(OpenClientHandle* client, uint32_t* vlan, char* method, char* address,
                                    char* mask, char* gateway)
{
    if (!vlan || !method || !address || !mask || !gateway)
        return kResultInvalidArgument;
    for (char* t : {method, address, mask, gateway})
        memset(t, 0, kMgmtTextSize);
    std::string text;
    int rc = showWhole(client, "show ip management", OXEL_TMP_DIR "oxel_out_show_ip_management", __func__, &text);
    if (rc != 0)
        return rc;
    managementParamsOf(text, vlan, method, address, mask, gateway);
    return kResultOk;
}

// --- SDM templates -----------------------------------------------------------

const SdmTemplate kSdmTemplates[5] = {
    {"sdm_template_dual_default", "dual-ipv4-and-ipv6 default", "sdm_template_dual_data_center"},
    {"sdm_template_dual_data_center", "dual-ipv4-and-ipv6 data-center", "sdm_template_v4_default"},
    {"sdm_template_v4_default", "ipv4-routing default", "sdm_template_v4_data_center"},
    {"sdm_template_v4_data_center", "ipv4-routing data-center", "sdm_template_data_center_plus"},
    {"sdm_template_data_center_plus", "data-center-plus", "sdm_template_none"},
};

const SdmTemplate* sdmTemplate(const char* id)
{
    for (const SdmTemplate& t : kSdmTemplates)
        if (id && strcmp(id, t.id) == 0)
            return &t;
    return nullptr;
}

bool sdmTemplateIdOf(const std::string& text, std::string* id)
{
    constexpr size_t kNameMax = 127;
    for (const std::string& line : clitext::linesOf(text)) {
        if (line.find("current template is") == std::string::npos &&
            line.find("active template is") == std::string::npos)
            continue;
        size_t open = line.find('"');
        size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (close == std::string::npos)
            return false;
        std::string name = line.substr(open + 1, std::min(close - open - 1, kNameMax));
        auto has = [&name](const char* word) { return name.find(word) != std::string::npos; };
        const char* found = nullptr;
        if (has("dual-ipv4-and-ipv6"))
            found = has("data-center") ? kSdmTemplates[1].id : kSdmTemplates[0].id;
        else if (has("data-center-plus"))
            found = kSdmTemplates[4].id;
        else if (has("ipv4"))
            found = has("data-center") ? kSdmTemplates[3].id : kSdmTemplates[2].id;
        if (!found)
            return false;
        *id = found;
        return true;
    }
    return false;
}

bool labelNumberOf(const std::string& text, const char* labels, uint32_t* value)
{
    std::vector<std::string> lines = clitext::linesOf(text);
    std::string all = labels ? labels : "";
    size_t from = 0;
    while (from <= all.size()) {
        size_t bar = all.find('|', from);
        std::string label = all.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
        from = bar == std::string::npos ? all.size() + 1 : bar + 1;
        if (label.empty())
            continue;
        for (const std::string& line : lines) {
            size_t at = line.find(label);
            if (at == std::string::npos)
                continue;
            size_t d = line.find_first_of("0123456789", at + label.size());
            if (d == std::string::npos)
                return false;
            uint64_t n = 0;
            for (; d < line.size() && isdigit(static_cast<unsigned char>(line[d])); ++d) {
                n = n * 10 + static_cast<uint64_t>(line[d] - '0');
                if (n > UINT32_MAX)
                    return false;
            }
            *value = static_cast<uint32_t>(n);
            return true;
        }
    }
    return false;
}

// --- Environment, version, processes and up time ---------------------------------

bool tempRangeOf(const std::string& text, uint32_t* minTemp, uint32_t* maxTemp)
{
    static const char kLabel[] = "Temperature traps range:";
    for (const std::string& line : clitext::linesOf(text)) {
        size_t at = line.find(kLabel);
        if (at == std::string::npos)
            continue;
        unsigned lo, hi;
        if (sscanf(line.c_str() + at + sizeof kLabel - 1, " %u to %u", &lo, &hi) != 2)
            return false;
        *minTemp = lo;
        *maxTemp = hi;
        return true;
    }
    return false;
}

bool sensorMaxTempOf(const std::string& text, uint32_t sensor, uint32_t* maxTemp)
{
    bool inTable = false;
    for (const std::string& line : clitext::linesOf(text)) {
        if (!inTable) {
            inTable = line.find("Temperature Sensors:") != std::string::npos;
            continue;
        }
        if (line.find("Fans:") != std::string::npos || line.find("Power Modules:") != std::string::npos)
            break;
        unsigned unit, number, temp, max;
        char descr[64], state[32];
        if (sscanf(line.c_str(), " %u %u %63s %u %31s %u", &unit, &number, descr, &temp, state, &max) == 6 &&
            number == sensor) {
            *maxTemp = max;
            return true;
        }
    }
    return false;
}

bool labelHoldsEnable(const std::string& text, const char* label)
{
    std::string value;
    return clitext::labelValue(text, label, &value, clitext::kLineSize) && value.find("Enable") != std::string::npos;
}

bool bootImagesOf(const std::string& text, uint32_t unit, BootImages* images)
{
    bool inTable = false;
    for (const std::string& line : clitext::linesOf(text)) {
        if (!inTable) {
            inTable = line.find("----") != std::string::npos;
            continue;
        }
        char w[5][64];
        if (sscanf(line.c_str(), "%63s %63s %63s %63s %63s", w[0], w[1], w[2], w[3], w[4]) != 5)
            continue;
        char* end = nullptr;
        unsigned long n = strtoul(w[0], &end, 10);
        if (*end != '\0' || !isdigit(static_cast<unsigned char>(w[0][0])) || (unit != 0 && n != unit))
            continue;
        *images = BootImages{w[1], w[2], w[3], w[4]};
        return true;
    }
    return false;
}

const std::string& runningImageVersion(const BootImages& images)
{
    return images.currentActive == "image1" ? images.image1 : images.image2;
}

bool firstBootImagesOf(const std::string& text, BootImages* images) { return bootImagesOf(text, 0, images); }

bool codeVersionOf(const std::string& value, ApiVersion* version)
{
    unsigned part[4];
    char tail;
    if (sscanf(value.c_str(), "%u.%u.%u.%u%c", &part[0], &part[1], &part[2], &part[3], &tail) != 4)
        return false;
    for (unsigned p : part)
        if (p > 255)
            return false;
    *version = ApiVersion{static_cast<uint8_t>(part[0]), static_cast<uint8_t>(part[1]),
                          static_cast<uint8_t>(part[2]), static_cast<uint8_t>(part[3])};
    return true;
}

bool memoryOf(const std::string& text, uint64_t* freeBytes, uint64_t* allocBytes)
{
    bool haveFree = false, haveAlloc = false;
    for (const std::string& line : clitext::linesOf(text)) {
        char word[16];
        unsigned long long n;
        if (sscanf(line.c_str(), "%15s %llu", word, &n) != 2)
            continue;
        if (!haveFree && strcmp(word, "free") == 0) {
            *freeBytes = n;
            haveFree = true;
        } else if (!haveAlloc && strcmp(word, "alloc") == 0) {
            *allocBytes = n;
            haveAlloc = true;
        }
    }
    return haveFree && haveAlloc;
}

bool upTimeOf(const std::string& text, const char* label, uint64_t* seconds)
{
    std::string value;
    if (!clitext::labelValue(text, label, &value, clitext::kLineSize))
        return false;
    size_t from = value.find_first_not_of(" .\"");
    if (from == std::string::npos)
        return false;
    unsigned long long d, h, m, s;
    if (sscanf(value.c_str() + from, "%llu days %llu hrs %llu mins %llu secs", &d, &h, &m, &s) != 4 ||
        d > UINT32_MAX || h > UINT32_MAX || m > UINT32_MAX || s > UINT32_MAX)
        return false;
    *seconds = d * 86400 + h * 3600 + m * 60 + s;
    return true;
}
