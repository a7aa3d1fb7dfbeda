// Dispatch of simulated operations and the generic getter/setter rules.
#include "sim/ops.h"

#include <cstring>
#include <unordered_map>

namespace sim {

namespace {

std::unordered_map<std::string, OpHandler>& registry()
{
    static std::unordered_map<std::string, OpHandler> r;
    return r;
}

std::vector<std::string>& registrations()
{
    static std::vector<std::string> r;
    return r;
}

bool endsWith(const std::string& s, const char* suffix)
{
    size_t n = strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

std::vector<size_t> inputIndexes(const Call& c)
{
    std::vector<size_t> v;
    for (size_t i = 0; i < c.args.size(); ++i)
        if (!c.args[i].isOutput())
            v.push_back(i);
    return v;
}

int32_t genericSet(Call& c, const std::string& stem)
{
    std::vector<size_t> in = inputIndexes(c);
    size_t keys = static_cast<size_t>(c.op->keys) < in.size() ? static_cast<size_t>(c.op->keys) : in.size();
    std::vector<std::string> values;
    for (size_t k = keys; k < in.size(); ++k)
        values.push_back(c.args[in[k]].data);
    c.st.values[genericKey(stem, c, c.op->keys)] = values;
    c.changed = true;
    return 0;
}

int32_t genericGet(Call& c, const std::string& stem)
{
    auto it = c.st.values.find(genericKey(stem, c, c.op->keys));
    size_t next = 0;
    for (size_t i = 0; i < c.args.size(); ++i) {
        if (!c.args[i].isOutput())
            continue;
        openclt::WireArg& a = c.args[i];
        std::string v = it != c.st.values.end() && next < it->second.size() ? it->second[next] : std::string();
        ++next;
        if (a.kind == openclt::kArgBufInOut)
            c.setText(i, v.substr(0, strnlen(v.data(), v.size())));
        else {
            v.resize(a.data.size(), '\0');
            a.data = v;
        }
    }
    return 0;
}

}  // namespace

uint32_t Call::u32(size_t i) const
{
    uint32_t v = 0;
    if (i < args.size())
        memcpy(&v, args[i].data.data(), args[i].data.size() < 4 ? args[i].data.size() : 4);
    return v;
}

std::string Call::text(size_t i) const
{
    if (i >= args.size())
        return std::string();
    const std::string& d = args[i].data;
    return d.substr(0, strnlen(d.data(), d.size()));
}

void Call::setU32(size_t i, uint32_t v)
{
    if (i < args.size() && args[i].kind == openclt::kArgInOut) {
        std::string& d = args[i].data;
        memcpy(&d[0], &v, d.size() < 4 ? d.size() : 4);
    }
}

void Call::setText(size_t i, const std::string& v)
{
    if (i >= args.size() || args[i].kind != openclt::kArgBufInOut)
        return;
    uint32_t cap = args[i].cap;
    if (cap == 0) {
        args[i].data.clear();
        return;
    }
    args[i].data = v.substr(0, cap - 1);
    args[i].data.push_back('\0');
}

void Call::setBytes(size_t i, const std::string& v)
{
    if (i < args.size() && args[i].isOutput())
        args[i].data = v.substr(0, args[i].cap);
}

OpRegistrar::OpRegistrar(CatalogOp, const char* name, OpHandler handler)
{
    registry()[name] = handler;
    registrations().push_back(name);
}

std::vector<std::string> registeredOps() { return registrations(); }

std::string genericKey(const std::string& stem, const Call& call, int keys)
{
    std::string key = stem;
    int taken = 0;
    for (const openclt::WireArg& a : call.args) {
        if (taken >= keys)
            break;
        if (a.isOutput())
            continue;
        key += '|';
        key += a.kind == openclt::kArgBufIn ? hexOf(a.data.substr(0, strnlen(a.data.data(), a.data.size())))
                                            : hexOf(a.data);
        ++taken;
    }
    return key;
}

int32_t runOp(Call& call)
{
    auto it = registry().find(call.op->name);
    if (it != registry().end())
        return it->second(call);
    std::string name = call.op->name;
    std::string stem = name;
    for (const char* prefix : {"rpcclt_openapi", "openapi"}) {
        size_t n = strlen(prefix);
        if (stem.compare(0, n, prefix) == 0) {
            stem = stem.substr(n);
            break;
        }
    }
    if (endsWith(stem, "Set"))
        return genericSet(call, stem.substr(0, stem.size() - 3));
    if (endsWith(stem, "Get"))
        return genericGet(call, stem.substr(0, stem.size() - 3));
    return 0;
}

}  // namespace sim
