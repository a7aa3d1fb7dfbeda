// The default switch and the state file.
#include "sim/state.h"

#include "sim/cli_state.h"
#include "sim/ipv4_cli_model.h"
#include "sim/ipv6_model.h"
#include "sim/state_reader.h"

#include <cjson/cJSON.h>
#include <errno.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
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

// What a JSON value is, for a fault's text.
std::string describe(const cJSON* j)
{
    if (!j)
        return "nothing";
    if (cJSON_IsObject(j))
        return "an object";
    if (cJSON_IsArray(j))
        return "an array";
    if (cJSON_IsString(j))
        return "a text";
    if (cJSON_IsBool(j))
        return cJSON_IsTrue(j) ? "true" : "false";
    if (cJSON_IsNull(j))
        return "null";
    if (cJSON_IsNumber(j)) {
        char b[40];
        snprintf(b, sizeof b, "%.17g", j->valuedouble);
        return b;
    }
    return "an unknown value";
}

bool wholeIn(double d, double max) { return std::isfinite(d) && d >= 0 && d <= max && d == std::floor(d); }

}  // namespace

void StateFaults::note(const std::string& path, const std::string& what)
{
    if (first_.empty())
        first_ = (path.empty() ? "the file" : path) + ": " + what;
}

void StateNode::fault(const std::string& what) const { faults_->note(path_, what); }

bool StateNode::wrong(const std::string& expected) const
{
    fault(expected + " expected, found " + describe(json_));
    return false;
}

bool StateNode::isA(int type, const char* expected) const
{
    if (!json_)
        return false;
    if ((json_->type & 0xff) == type)
        return true;
    return wrong(expected);
}

std::string StateNode::childPath(const char* name) const { return path_.empty() ? name : path_ + "." + name; }

StateNode StateNode::member(const char* name) const
{
    const cJSON* m = isA(cJSON_Object, "an object") ? cJSON_GetObjectItemCaseSensitive(json_, name) : nullptr;
    return StateNode(m, childPath(name), faults_);
}

StateNode StateNode::required(const char* name) const
{
    StateNode m = member(name);
    if (!m.present() && present())
        m.fault("missing");
    return m;
}

bool StateNode::asU32(uint32_t* v) const
{
    if (!json_)
        return false;
    if (!cJSON_IsNumber(json_) || !wholeIn(json_->valuedouble, 4294967295.0))
        return wrong("a whole number from 0 to 4294967295");
    *v = static_cast<uint32_t>(json_->valuedouble);
    return true;
}

bool StateNode::asU64(uint64_t* v) const
{
    if (!json_)
        return false;
    if (cJSON_IsNumber(json_) && wholeIn(json_->valuedouble, 18446744073709549568.0)) {
        *v = static_cast<uint64_t>(json_->valuedouble);
        return true;
    }
    if (cJSON_IsString(json_)) {
        const char* t = json_->valuestring;
        size_t n = strlen(t);
        if (n > 0 && n <= 20 && strspn(t, "0123456789") == n) {
            errno = 0;
            unsigned long long c = strtoull(t, nullptr, 10);
            if (errno == 0) {
                *v = c;
                return true;
            }
        }
    }
    return wrong("a counter (decimal digits or a whole number)");
}

bool StateNode::asText(std::string* v) const
{
    if (!json_)
        return false;
    if (!cJSON_IsString(json_))
        return wrong("a text");
    *v = json_->valuestring;
    return true;
}

bool StateNode::asFlag(bool* v) const
{
    if (!json_)
        return false;
    if (!cJSON_IsBool(json_))
        return wrong("true or false");
    *v = cJSON_IsTrue(json_) != 0;
    return true;
}

bool StateNode::asHex(std::string* v) const
{
    if (!json_)
        return false;
    std::string b;
    if (!cJSON_IsString(json_) || !unhex(json_->valuestring, &b))
        return wrong("bytes as lower-case hex digits");
    *v = std::move(b);
    return true;
}

bool StateNode::asBytes(size_t size, std::string* v) const
{
    if (!json_)
        return false;
    std::string b;
    if (!cJSON_IsString(json_) || !unhex(json_->valuestring, &b) || b.size() != size)
        return wrong(std::to_string(size) + " bytes as " + std::to_string(size * 2) + " lower-case hex digits");
    *v = std::move(b);
    return true;
}

bool StateNode::asTuple(size_t n, std::vector<uint32_t>* v) const
{
    if (!isA(cJSON_Array, "an array"))
        return false;
    std::vector<uint32_t> t;
    bool whole = true;
    eachElement([&](const StateNode& e) {
        uint32_t x = 0;
        whole = e.asU32(&x) && whole;
        t.push_back(x);
    });
    if (!whole)
        return false;
    if (t.size() != n)
        return wrong("an array of " + std::to_string(n) + " numbers");
    *v = std::move(t);
    return true;
}

bool StateNode::numberedKey(const std::string& name, uint32_t* key)
{
    if (name.empty() || name.size() > 10 || name.find_first_not_of("0123456789") != std::string::npos)
        return false;
    unsigned long long v = strtoull(name.c_str(), nullptr, 10);
    if (v > 0xffffffffULL)
        return false;
    *key = static_cast<uint32_t>(v);
    return true;
}

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

namespace {

// The model parts the switch itself keeps: units, interfaces, VLANs, the
// application key store and the generic setters' values.
void switchFromJson(const StateNode& root, SwitchState* s)
{
    root.member("units").eachElement([&](const StateNode& n) {
        Unit u;
        n.u32("number", &u.number);
        n.text("model", &u.model);
        n.text("serial", &u.serial);
        s->units.push_back(u);
    });
    if (s->units.empty())
        root.member("units").fault("at least one unit expected");
    root.member("interfaces").eachElement([&](const StateNode& n) {
        Interface i;
        uint32_t type = i.type;
        n.u32("intIfNum", &i.intIfNum);
        if (n.member("type").asU32(&type) && type > kIfVlan)
            n.member("type").fault("0, 1 or 2 expected");
        i.type = static_cast<IfType>(type);
        n.u32("unit", &i.unit);
        n.u32("slot", &i.slot);
        n.u32("port", &i.port);
        n.text("name", &i.name);
        n.u32("speedMbps", &i.speedMbps);
        n.u32("adminUp", &i.adminUp);
        n.u32("linkUp", &i.linkUp);
        n.u32("maxFrame", &i.maxFrame);
        n.u32("pvid", &i.pvid);
        s->interfaces[i.intIfNum] = i;
    });
    root.member("vlans").eachElement([&](const StateNode& n) {
        Vlan v;
        v.isStatic = false;  // a VLAN the file does not call static is dynamic
        n.u32("id", &v.id);
        n.text("name", &v.name);
        n.flag("static", &v.isStatic);
        s->vlans[v.id] = v;
    });
    root.member("appDbs").eachMember([&](const std::string& app, const StateNode& db) {
        auto& keys = s->appDbs[app];
        db.eachMember([&](const std::string& key, const StateNode& value) { value.asText(&keys[key]); });
    });
    root.member("values").eachMember([&](const std::string& key, const StateNode& list) {
        auto& values = s->values[key];
        list.eachElement([&](const StateNode& v) {
            std::string bytes;
            if (v.asHex(&bytes))
                values.push_back(bytes);
        });
    });
}

}  // namespace

bool loadState(SwitchState* st, const std::string& path, std::string* why)
{
    std::string ignored;
    if (!why)
        why = &ignored;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    if (in)
        ss << in.rdbuf();
    if (!in || in.bad()) {
        *why = "it cannot be read";
        return false;
    }
    std::string text = ss.str();
    const char* end = nullptr;
    std::unique_ptr<cJSON, void (*)(cJSON*)> json(cJSON_ParseWithOpts(text.c_str(), &end, 1), cJSON_Delete);
    if (!json || end != text.c_str() + text.size()) {
        // cJSON stops at a NUL byte: such a file is no JSON text either.
        size_t at = end && end >= text.c_str() ? static_cast<size_t>(end - text.c_str()) : 0;
        *why = "no JSON text (the fault is near byte " + std::to_string(at) + ")";
        return false;
    }
    StateFaults faults;
    StateNode root(json.get(), "", &faults);
    if (!root.isA(cJSON_Object, "an object")) {
        *why = faults.text();
        return false;
    }
    SwitchState s;
    switchFromJson(root, &s);
    routingFromJson(root, &s.routing);
    cliStateFromJson(root, &s);
    ipv6FromJson(root, &s.ipv6);
    ipv4CliFromJson(root, &s.ipv4Cli);
    if (!faults.ok()) {
        *why = faults.text();
        return false;
    }
    *st = std::move(s);
    return true;
}

}  // namespace sim
