// Parsers of "show bootvar" and "show ip management".
#include "access/show_parse_system.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "access/cli_bridge.h"
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
