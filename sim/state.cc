// The default switch and the state file.
#include "sim/state.h"

#include "sim/cli_state.h"
#include "sim/ipv4_cli_model.h"
#include "sim/ipv6_model.h"

#include <cjson/cJSON.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace sim {

// One stack unit: 24 copper ports at 1G and 4 SFP+ ports at 10G (interfaces
// 1-28, "1/0/1".."1/0/28"), 8 LAGs (interfaces 29-36, "lag 1".."lag 8"),
// VLAN 1. VLAN routing interfaces are numbered from 37 as they are created.
SwitchState defaultSwitch()
{
    SwitchState st;
    st.units.push_back(Unit{1, "KX810-A", "KX810A0001"});
    for (uint32_t p = 1; p <= 28; ++p) {
        Interface i;
        i.intIfNum = p;
        i.type = kIfPhysical;
        i.unit = 1;
        i.slot = 0;
        i.port = p;
        i.name = "1/0/" + std::to_string(p);
        i.speedMbps = p <= 24 ? 1000 : 10000;
        i.maxSpeedMbps = i.speedMbps;
        i.linkUp = p <= 4 ? 1 : 0;
        st.interfaces[p] = i;
    }
    for (uint32_t l = 1; l <= 8; ++l) {
        Interface i;
        i.intIfNum = 28 + l;
        i.type = kIfLag;
        i.port = l;
        i.name = "lag " + std::to_string(l);
        i.linkUp = 0;
        st.interfaces[i.intIfNum] = i;
    }
    st.vlans[1] = Vlan{1, "default", true};
    return st;
}

std::string hexOf(const std::string& bytes)
{
    static const char* const kDigits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out.push_back(kDigits[c >> 4]);
        out.push_back(kDigits[c & 15]);
    }
    return out;
}

bool unhex(const std::string& hex, std::string* bytes)
{
    if (hex.size() % 2)
        return false;
    bytes->clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        auto nib = [](char c) -> int {
            if (c >= '0' && c <= '9')
                return c - '0';
            if (c >= 'a' && c <= 'f')
                return c - 'a' + 10;
            return -1;
        };
        int hi = nib(hex[i]), lo = nib(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes->push_back(static_cast<char>(hi * 16 + lo));
    }
    return true;
}

namespace {

uint32_t numberOf(const cJSON* obj, const char* name, uint32_t dflt)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsNumber(it) ? static_cast<uint32_t>(it->valuedouble) : dflt;
}

std::string textOf(const cJSON* obj, const char* name)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsString(it) ? it->valuestring : "";
}

}  // namespace

std::string stateText(const SwitchState& st)
{
    cJSON* root = cJSON_CreateObject();
    cJSON* units = cJSON_AddArrayToObject(root, "units");
    for (const Unit& u : st.units) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddNumberToObject(o, "number", u.number);
        cJSON_AddStringToObject(o, "model", u.model.c_str());
        cJSON_AddStringToObject(o, "serial", u.serial.c_str());
        cJSON_AddItemToArray(units, o);
    }
    cJSON* ifs = cJSON_AddArrayToObject(root, "interfaces");
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        cJSON* o = cJSON_CreateObject();
        cJSON_AddNumberToObject(o, "intIfNum", i.intIfNum);
        cJSON_AddNumberToObject(o, "type", i.type);
        cJSON_AddNumberToObject(o, "unit", i.unit);
        cJSON_AddNumberToObject(o, "slot", i.slot);
        cJSON_AddNumberToObject(o, "port", i.port);
        cJSON_AddStringToObject(o, "name", i.name.c_str());
        cJSON_AddNumberToObject(o, "speedMbps", i.speedMbps);
        cJSON_AddNumberToObject(o, "adminUp", i.adminUp);
        cJSON_AddNumberToObject(o, "linkUp", i.linkUp);
        cJSON_AddNumberToObject(o, "maxFrame", i.maxFrame);
        cJSON_AddNumberToObject(o, "pvid", i.pvid);
        cJSON_AddItemToArray(ifs, o);
    }
    cJSON* vlans = cJSON_AddArrayToObject(root, "vlans");
    for (const auto& kv : st.vlans) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddNumberToObject(o, "id", kv.second.id);
        cJSON_AddStringToObject(o, "name", kv.second.name.c_str());
        cJSON_AddBoolToObject(o, "static", kv.second.isStatic);
        cJSON_AddItemToArray(vlans, o);
    }
    cJSON* dbs = cJSON_AddObjectToObject(root, "appDbs");
    for (const auto& db : st.appDbs) {
        cJSON* o = cJSON_AddObjectToObject(dbs, db.first.c_str());
        for (const auto& kv : db.second)
            cJSON_AddStringToObject(o, kv.first.c_str(), kv.second.c_str());
    }
    cJSON* values = cJSON_AddObjectToObject(root, "values");
    for (const auto& kv : st.values) {
        cJSON* arr = cJSON_AddArrayToObject(values, kv.first.c_str());
        for (const std::string& v : kv.second)
            cJSON_AddItemToArray(arr, cJSON_CreateString(hexOf(v).c_str()));
    }
    routingToJson(root, st.routing);
    cliStateToJson(root, st);
    ipv6ToJson(root, st.ipv6);
    ipv4CliToJson(root, st.ipv4Cli);
    char* text = cJSON_Print(root);
    cJSON_Delete(root);
    std::string out = text ? text : "";
    free(text);
    return out;
}

bool saveState(const SwitchState& st, const std::string& path)
{
    std::string text = stateText(st);
    if (text.empty())
        return false;
    std::string tmp = path + ".tmp";
    FILE* f = fopen(tmp.c_str(), "we");
    bool ok = f && fputs(text.c_str(), f) >= 0;
    if (f) {
        ok = fflush(f) == 0 && fsync(fileno(f)) == 0 && ok;
        fclose(f);
    }
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

bool loadState(SwitchState* st, const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::stringstream ss;
    ss << in.rdbuf();
    cJSON* root = cJSON_Parse(ss.str().c_str());
    if (!root)
        return false;
    SwitchState s;
    const cJSON* it;
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(root, "units"))
        s.units.push_back(Unit{numberOf(it, "number", 1), textOf(it, "model"), textOf(it, "serial")});
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(root, "interfaces"))
    {
        Interface i;
        i.intIfNum = numberOf(it, "intIfNum", 0);
        i.type = static_cast<IfType>(numberOf(it, "type", 0));
        i.unit = numberOf(it, "unit", 0);
        i.slot = numberOf(it, "slot", 0);
        i.port = numberOf(it, "port", 0);
        i.name = textOf(it, "name");
        i.speedMbps = numberOf(it, "speedMbps", 1000);
        i.adminUp = numberOf(it, "adminUp", 1);
        i.linkUp = numberOf(it, "linkUp", 0);
        i.maxFrame = numberOf(it, "maxFrame", 1518);
        i.pvid = numberOf(it, "pvid", 1);
        s.interfaces[i.intIfNum] = i;
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(root, "vlans"))
    {
        uint32_t id = numberOf(it, "id", 1);
        s.vlans[id] = Vlan{id, textOf(it, "name"), cJSON_IsTrue(cJSON_GetObjectItemCaseSensitive(it, "static")) != 0};
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(root, "appDbs"))
    {
        auto& db = s.appDbs[it->string];
        const cJSON* kv;
        cJSON_ArrayForEach(kv, it) if (cJSON_IsString(kv)) db[kv->string] = kv->valuestring;
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(root, "values"))
    {
        auto& vals = s.values[it->string];
        const cJSON* v;
        cJSON_ArrayForEach(v, it)
        {
            std::string bytes;
            if (cJSON_IsString(v) && unhex(v->valuestring, &bytes))
                vals.push_back(bytes);
        }
    }
    routingFromJson(root, &s.routing);
    cliStateFromJson(root, &s);
    ipv6FromJson(root, &s.ipv6);
    ipv4CliFromJson(root, &s.ipv4Cli);
    cJSON_Delete(root);
    if (s.units.empty())
        return false;
    *st = std::move(s);
    return true;
}

}  // namespace sim
