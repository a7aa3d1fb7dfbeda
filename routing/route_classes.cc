// Handler classes of pathgate: request members to operation arguments,
// operation results to the envelope.
#include "routing/route_classes.h"

#include <arpa/inet.h>
#include <cjson/cJSON.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/params.h"
#include "runtime/route_tree.h"

namespace route {

const EnumTable kModeEnum = {{"enable"}, {1}, "disable", 0};
const EnumTable kSummaryEnum = {{"send_summary"}, {2}, "no_summary", 1};
const EnumTable kImportEnum = {{"import_no_ext", "import_nssa"}, {2, 3}, "import_ext", 1};
const EnumTable kIfTypeEnum = {{"broadcast", "point_to_point"}, {1, 3}, "default", 0};
const EnumTable kStubEnum = {{"always", "startup"}, {1, 2}, "disabled", 0};

namespace {

// --- Request --------------------------------------------------------------

struct Request {
    uint32_t method = 0;
    char* text = nullptr;
    char** list = nullptr;
    cJSON* body = nullptr;
    Request() = default;
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;
    ~Request()
    {
        free(text);
        paramListFree(list);
        cJSON_Delete(body);
    }
};

/// How a class treats keys it cannot use: required (getters: absent query
/// keys answer 10003), or lenient (iterators and the existence getter: an
/// absent or unusable key is 0, the start of the table).
enum Keys { kRequired, kLenient };

// Query names read with the exact reader; every other name with the split reader.
bool isExactName(const char* name)
{
    static const char* const kExact[] = {"ipAddr", "intIfNum", "ifNum", "prevIfNum", "srcIfNum",
                                         "ifIndex", "index", "vlanId", "stkIfIndex"};
    for (const char* e : kExact)
        if (strcmp(e, name) == 0)
            return true;
    return false;
}

// The value of `name` where it starts QUERY_STRING or follows "&" and is
// directly followed by "=", up to the next "&".
bool queryExactText(const char* name, std::string* out)
{
    const char* qs = getenv("QUERY_STRING");
    size_t n = strlen(name);
    for (const char* p = qs; p && *p;) {
        if (strncmp(p, name, n) == 0 && p[n] == '=') {
            const char* v = p + n + 1;
            out->assign(v, strcspn(v, "&"));
            return true;
        }
        p = strchr(p, '&');
        if (p)
            ++p;
    }
    return false;
}

/// One request value: a JSON member, or query text.
struct Value {
    bool found = false;
    const cJSON* item = nullptr;
    std::string text;
};

Value lookup(const Request& q, const ArgSpec& s)
{
    Value v;
    if (s.src == kBody) {
        v.item = cJSON_GetObjectItem(q.body, s.name);
        v.found = v.item != nullptr;
    } else if (s.src == kQuery) {
        if (isExactName(s.name) || q.method == kMethodPost || q.method == kMethodPut) {
            v.found = queryExactText(s.name, &v.text);
        } else {
            const char* t = paramListFind(s.name, q.list);
            v.found = t != nullptr;
            if (t)
                v.text = t;
        }
    }
    return v;
}

// Decimal digits up to the first non-digit; false without a digit or above 32 bits.
bool decimalPrefix(const char* t, uint32_t* out, bool whole)
{
    uint64_t v = 0;
    const char* p = t;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + static_cast<uint64_t>(*p - '0');
        if (v > 0xffffffffull)
            return false;
    }
    if (p == t || (whole && *p))
        return false;
    *out = static_cast<uint32_t>(v);
    return true;
}

ResultCode numberOf(const Value& v, uint32_t dflt, uint32_t* out)
{
    *out = dflt;
    if (!v.found)
        return kResultOk;
    if (!v.item)
        return decimalPrefix(v.text.c_str(), out, false) ? kResultOk : kResultInvalidArgument;
    if (cJSON_IsNumber(v.item)) {
        double d = v.item->valuedouble;
        if (!(d >= 0 && d <= 4294967295.0) || std::floor(d) != d)
            return kResultInvalidArgument;
        *out = static_cast<uint32_t>(d);
        return kResultOk;
    }
    if (cJSON_IsString(v.item))
        return decimalPrefix(v.item->valuestring, out, true) ? kResultOk : kResultInvalidArgument;
    return kResultInvalidArgument;
}

// Text of a value: false when it is present but not a string.
bool textOf(const Value& v, std::string* out)
{
    out->clear();
    if (!v.found)
        return true;
    if (!v.item) {
        *out = v.text;
        return true;
    }
    if (!cJSON_IsString(v.item))
        return false;
    *out = v.item->valuestring;
    return true;
}

bool parseIpv4(const std::string& t, uint32_t* out)
{
    // Longer than a dotted address can be: refused rather than cut to 15
    // characters, which could turn it into another valid address.
    if (t.size() > 15)
        return false;
    struct in_addr a;
    if (inet_pton(AF_INET, t.c_str(), &a) != 1)
        return false;
    *out = ntohl(a.s_addr);
    return true;
}

bool parseAddr(const std::string& t, InetAddr* out)
{
    memset(out, 0, sizeof *out);
    uint32_t v4;
    if (parseIpv4(t, &v4)) {
        out->family = kFamilyIpv4;
        memcpy(out->addr, &v4, 4);
        return true;
    }
    if (t.size() < INET6_ADDRSTRLEN && inet_pton(AF_INET6, t.c_str(), out->addr) == 1) {
        out->family = kFamilyIpv6;
        return true;
    }
    memset(out, 0, sizeof *out);
    return false;
}

bool parsePrefix(const std::string& t, InetPrefix* out)
{
    memset(out, 0, sizeof *out);
    size_t slash = t.find('/');
    InetAddr a;
    if (!parseAddr(t.substr(0, slash), &a))
        return false;
    out->family = a.family;
    memcpy(out->addr, a.addr, sizeof a.addr);
    out->pfxLen = a.family == kFamilyIpv4 ? 32 : 128;
    if (slash != std::string::npos) {
        uint32_t len;
        if (!decimalPrefix(t.c_str() + slash + 1, &len, true) || len > 255)
            return false;
        out->pfxLen = len;
    }
    return true;
}

bool parseMac(const std::string& t, MacAddr* out)
{
    unsigned b[6];
    char sep[5];
    int end = 0;
    if (t.size() != 17 ||
        sscanf(t.c_str(), "%2x%c%2x%c%2x%c%2x%c%2x%c%2x%n", &b[0], &sep[0], &b[1], &sep[1], &b[2], &sep[2], &b[3],
               &sep[3], &b[4], &sep[4], &b[5], &end) != 11 ||
        end != 17)
        return false;
    for (char c : sep)
        if (c != sep[0] || (c != ':' && c != '-'))
            return false;
    for (char c : t)
        if (!isxdigit(static_cast<unsigned char>(c)) && c != sep[0])
            return false;
    for (int i = 0; i < 6; ++i)
        out->octet[i] = static_cast<uint8_t>(b[i]);
    return true;
}

// A number member of a record that must fit its field.
ResultCode fieldOf(const cJSON* obj, const char* name, uint32_t max, uint32_t* out)
{
    Value v;
    v.item = cJSON_GetObjectItem(obj, name);
    v.found = v.item != nullptr;
    ResultCode c = numberOf(v, 0, out);
    return c != kResultOk || *out > max ? kResultInvalidArgument : kResultOk;
}

ResultCode routeOf(const cJSON* o, RouteRecord* r)
{
    memset(r, 0, sizeof *r);
    if (!cJSON_IsObject(o))
        return kResultInvalidArgument;
    const cJSON* pfx = cJSON_GetObjectItem(o, "destPfx");
    if (pfx) {
        InetAddr a;
        if (!cJSON_IsString(pfx) || (*pfx->valuestring && !parseAddr(pfx->valuestring, &a)))
            return kResultInvalidArgument;
        if (*pfx->valuestring) {
            r->family = a.family;
            memcpy(r->destPfx, a.addr, sizeof a.addr);
        }
    }
    struct Field {
        const char* name;
        uint32_t max;
        uint32_t value;
    } f[] = {{"pfxLen", 255, 0},     {"routeType", 255, 0},   {"protoId", 0xffffffffu, 0},
             {"rejectRoute", 255, 0}, {"discardRoute", 255, 0}, {"pref", 65535, 0},
             {"metric", 0xffffffffu, 0}, {"numNextHops", 0xffffffffu, 0}, {"leakedRoute", 255, 0},
             {"rfc5549Route", 255, 0}, {"unnumberedRoute", 255, 0}};
    for (Field& x : f)
        if (fieldOf(o, x.name, x.max, &x.value) != kResultOk)
            return kResultInvalidArgument;
    r->pfxLen = static_cast<uint8_t>(f[0].value);
    r->routeType = static_cast<uint8_t>(f[1].value);
    r->protoId = f[2].value;
    r->rejectRoute = static_cast<uint8_t>(f[3].value);
    r->discardRoute = static_cast<uint8_t>(f[4].value);
    r->pref = static_cast<uint16_t>(f[5].value);
    r->metric = f[6].value;
    r->numNextHops = f[7].value;
    r->leakedRoute = static_cast<uint8_t>(f[8].value);
    r->rfc5549Route = static_cast<uint8_t>(f[9].value);
    r->unnumberedRoute = static_cast<uint8_t>(f[10].value);
    return kResultOk;
}

ResultCode nextHopsOf(const cJSON* arr, NextHopList* list, uint32_t* count)
{
    memset(list, 0, sizeof *list);
    *count = 0;
    if (!arr)
        return kResultOk;
    if (!cJSON_IsArray(arr))
        return kResultInvalidArgument;
    const cJSON* e;
    cJSON_ArrayForEach(e, arr)
    {
        if (*count == kMaxNextHops)
            break;  // more than a list holds: the rest is ignored
        if (!cJSON_IsObject(e))
            return kResultInvalidArgument;
        NextHop& h = list->hop[*count];
        const cJSON* a = cJSON_GetObjectItem(e, "nhAddr");
        if (a) {
            InetAddr addr;
            if (!cJSON_IsString(a) || (*a->valuestring && !parseAddr(a->valuestring, &addr)))
                return kResultInvalidArgument;
            if (*a->valuestring) {
                h.family = addr.family;
                memcpy(h.addr, addr.addr, sizeof h.addr);
            }
        }
        if (fieldOf(e, "ifNum", 0xffffffffu, &h.ifNum) != kResultOk)
            return kResultInvalidArgument;
        ++*count;
    }
    return kResultOk;
}

size_t recordSize(Kind k)
{
    switch (k) {
    case kAddr: case kOutAddr: return sizeof(InetAddr);
    case kPrefix: return sizeof(InetPrefix);
    case kMac: case kOutMac: return sizeof(MacAddr);
    case kRoute: case kInOutRoute: case kOutRoute: return sizeof(RouteRecord);
    case kNextHops: case kOutNextHops: return sizeof(NextHopList);
    case kOutChange: return sizeof(RouteChange);
    case kOutChanges: return sizeof(RouteChangeSet);
    default: return 0;
    }
}

// The nearest route slot before `i` (the route a next-hop list belongs to).
RouteRecord* routeBefore(const ArgSpec* specs, std::vector<Slot>& slots, size_t i)
{
    while (i-- > 0) {
        Kind k = specs[i].kind;
        if ((k == kRoute || k == kInOutRoute || k == kOutRoute) && slots[i].bytes.size() >= sizeof(RouteRecord))
            return reinterpret_cast<RouteRecord*>(slots[i].bytes.data());
    }
    return nullptr;
}

ResultCode prepare(const Request& q, const ArgSpec* specs, size_t i, std::vector<Slot>& slots, Keys keys)
{
    const ArgSpec& s = specs[i];
    Slot& slot = slots[i];
    slot.bytes.assign(recordSize(s.kind), 0);
    Value v = lookup(q, s);
    bool lenient = keys == kLenient;
    if (s.src == kQuery && !v.found && !lenient && s.kind != kText)
        return kResultInvalidArgument;
    std::string t;
    switch (s.kind) {
    case kU32:
    case kCount:
    case kInOutU32: {
        ResultCode c = numberOf(v, s.size, &slot.u32);
        if (c != kResultOk && !lenient)
            return c;
        if (c != kResultOk)
            slot.u32 = 0;
        if (s.kind == kCount && slot.u32 > s.size)
            slot.u32 = s.size;
        return kResultOk;
    }
    case kVrf: {
        ResultCode c = numberOf(v, 0, &slot.u32);
        if (c != kResultOk)
            return c;
        if (slot.u32 != 0)
            return kResultUnsupported;  // only the default VRF is served
        return kResultOk;
    }
    case kBool:
        if (v.item && (cJSON_IsTrue(v.item) || cJSON_IsFalse(v.item))) {
            slot.u32 = cJSON_IsTrue(v.item) ? 1 : 0;
            return kResultOk;
        }
        return numberOf(v, 0, &slot.u32);
    case kEnum:
        if (!textOf(v, &t))
            return kResultInvalidArgument;
        slot.u32 = s.table->other;
        for (int k = 0; k < 3 && s.table->names[k]; ++k)
            if (v.found && t == s.table->names[k])
                slot.u32 = s.table->values[k];
        return kResultOk;
    case kText: {
        if (!textOf(v, &t))
            return kResultInvalidArgument;
        slot.bytes.assign(s.size, 0);
        size_t len = t.size() < s.size - 1 ? t.size() : s.size - 1;
        memcpy(slot.bytes.data(), t.data(), len);
        slot.desc.pstart = reinterpret_cast<char*>(slot.bytes.data());
        slot.desc.size = static_cast<uint32_t>(strlen(slot.desc.pstart) + 1);
        return kResultOk;
    }
    case kIpv4:
    case kInOutIpv4:
        if (!textOf(v, &t))
            return lenient ? kResultOk : kResultInvalidArgument;
        if (!t.empty() && !parseIpv4(t, &slot.u32)) {
            slot.u32 = 0;
            if (!lenient)
                return kResultInvalidArgument;
        }
        return kResultOk;
    case kAddr:
        if (!textOf(v, &t) || (!t.empty() && !parseAddr(t, reinterpret_cast<InetAddr*>(slot.bytes.data()))))
            return kResultInvalidArgument;
        return kResultOk;
    case kPrefix:
        if (!textOf(v, &t) || (!t.empty() && !parsePrefix(t, reinterpret_cast<InetPrefix*>(slot.bytes.data()))))
            return kResultInvalidArgument;
        return kResultOk;
    case kMac:
        if (!textOf(v, &t) || (!t.empty() && !parseMac(t, reinterpret_cast<MacAddr*>(slot.bytes.data()))))
            return kResultInvalidArgument;
        return kResultOk;
    case kRoute:
    case kInOutRoute:
        if (!v.found)
            return s.size ? kResultInvalidArgument : kResultOk;
        return routeOf(v.item, reinterpret_cast<RouteRecord*>(slot.bytes.data()));
    case kNextHops: {
        uint32_t count = 0;
        ResultCode c = nextHopsOf(v.item, reinterpret_cast<NextHopList*>(slot.bytes.data()), &count);
        if (c != kResultOk)
            return c;
        // The count sent is the number of next hops actually in the list.
        if (RouteRecord* r = routeBefore(specs, slots, i))
            r->numNextHops = count;
        return kResultOk;
    }
    case kOutText:
        slot.bytes.assign(s.size, 0);
        slot.desc.pstart = reinterpret_cast<char*>(slot.bytes.data());
        slot.desc.size = s.size;
        return kResultOk;
    default:
        return kResultOk;
    }
}

// --- Answer ---------------------------------------------------------------

std::string ipv4Text(uint32_t hostOrder)
{
    char buf[INET_ADDRSTRLEN];
    struct in_addr a;
    a.s_addr = htonl(hostOrder);
    inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}

std::string addrText(uint32_t family, const uint8_t* addr)
{
    if (family == kFamilyIpv4) {
        uint32_t v;
        memcpy(&v, addr, 4);
        return ipv4Text(v);
    }
    if (family == kFamilyIpv6) {
        char buf[INET6_ADDRSTRLEN];
        inet_ntop(AF_INET6, addr, buf, sizeof buf);
        return buf;
    }
    return "0.0.0.0";
}

}  // namespace

cJSON* routeJson(const RouteRecord& r)
{
    cJSON* o = cJSON_CreateObject();
    cJSON_AddStringToObject(o, "destPfx", addrText(r.family, r.destPfx).c_str());
    cJSON_AddNumberToObject(o, "pfxLen", r.pfxLen);
    cJSON_AddNumberToObject(o, "routeType", r.routeType);
    cJSON_AddNumberToObject(o, "protoId", r.protoId);
    cJSON_AddNumberToObject(o, "rejectRoute", r.rejectRoute);
    cJSON_AddNumberToObject(o, "discardRoute", r.discardRoute);
    cJSON_AddNumberToObject(o, "pref", r.pref);
    cJSON_AddNumberToObject(o, "metric", r.metric);
    cJSON_AddNumberToObject(o, "numNextHops", r.numNextHops);
    cJSON_AddNumberToObject(o, "leakedRoute", r.leakedRoute);
    cJSON_AddNumberToObject(o, "rfc5549Route", r.rfc5549Route);
    cJSON_AddNumberToObject(o, "unnumberedRoute", r.unnumberedRoute);
    return o;
}

cJSON* nextHopsJson(const NextHopList& l, uint32_t count)
{
    cJSON* a = cJSON_CreateArray();
    for (uint32_t i = 0; i < count && i < kMaxNextHops; ++i) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddStringToObject(o, "nhAddr", addrText(l.hop[i].family, l.hop[i].addr).c_str());
        cJSON_AddNumberToObject(o, "ifNum", l.hop[i].ifNum);
        cJSON_AddItemToArray(a, o);
    }
    return a;
}

namespace {

void addChange(cJSON* o, const RouteChange& c)
{
    cJSON_AddNumberToObject(o, "chType", c.chType);
    cJSON_AddItemToObject(o, "route", routeJson(c.route));
    cJSON_AddItemToObject(o, "nextHops", nextHopsJson(c.nextHops, c.route.numNextHops));
}

std::string macText(const MacAddr& m)
{
    char buf[18];
    snprintf(buf, sizeof buf, "%02x:%02x:%02x:%02x:%02x:%02x", m.octet[0], m.octet[1], m.octet[2], m.octet[3],
             m.octet[4], m.octet[5]);
    return buf;
}

const char* enumName(const EnumTable& t, uint32_t v)
{
    for (int k = 0; k < 3 && t.names[k]; ++k)
        if (t.values[k] == v)
            return t.names[k];
    return t.otherName;
}

template <class R>
const R& rec(const Slot& s)
{
    return *reinterpret_cast<const R*>(s.bytes.data());
}

// Adds the answered outputs in row order; returns how many were added.
int addOutputs(cJSON* o, const ArgSpec* specs, size_t n, std::vector<Slot>& slots)
{
    int added = 0;
    uint32_t changeLimit = kRouteChangeSlots;
    for (size_t i = 0; i < n; ++i)
        if (specs[i].kind == kCount)
            changeLimit = slots[i].u32;
    for (size_t i = 0; i < n; ++i) {
        const ArgSpec& s = specs[i];
        const Slot& slot = slots[i];
        Shape sh = kindShape(s.kind);
        bool answered = isAnswer(s.kind) || sh == kShRef || sh == kShTextOut || sh == kShRecOut;
        if (!s.name || !answered)
            continue;
        switch (s.kind) {
        case kOutU32: case kInOutU32:
            cJSON_AddNumberToObject(o, s.name, slot.u32);
            break;
        case kOutIpv4: case kInOutIpv4:
            cJSON_AddStringToObject(o, s.name, ipv4Text(slot.u32).c_str());
            break;
        case kOutBool:
            cJSON_AddBoolToObject(o, s.name, slot.u32 == 1);
            break;
        case kOutEnum:
            cJSON_AddStringToObject(o, s.name, enumName(*s.table, slot.u32));
            break;
        case kOutText:
            cJSON_AddStringToObject(o, s.name,
                                    std::string(slot.desc.pstart, strnlen(slot.desc.pstart, slot.bytes.size())).c_str());
            break;
        case kOutMac:
            cJSON_AddStringToObject(o, s.name, macText(rec<MacAddr>(slot)).c_str());
            break;
        case kOutAddr: {
            const InetAddr& a = rec<InetAddr>(slot);
            cJSON_AddStringToObject(o, s.name, addrText(a.family, a.addr).c_str());
            break;
        }
        case kOutRoute: case kInOutRoute:
            cJSON_AddItemToObject(o, s.name, routeJson(rec<RouteRecord>(slot)));
            break;
        case kOutNextHops: {
            const RouteRecord* r = routeBefore(specs, slots, i);
            cJSON_AddItemToObject(o, s.name, nextHopsJson(rec<NextHopList>(slot), r ? r->numNextHops : 0));
            break;
        }
        case kOutChange:
            addChange(o, rec<RouteChange>(slot));
            break;
        case kOutChanges: {
            const RouteChangeSet& set = rec<RouteChangeSet>(slot);
            cJSON* a = cJSON_AddArrayToObject(o, s.name);
            for (uint32_t k = 0; k < changeLimit && k < kRouteChangeSlots && set.slot[k].inUse; ++k) {
                cJSON* c = cJSON_CreateObject();
                addChange(c, set.slot[k]);
                cJSON_AddItemToArray(a, c);
            }
            break;
        }
        case kAnswerU32:
            cJSON_AddNumberToObject(o, s.name, s.size);
            break;
        case kAnswerBool:
            cJSON_AddBoolToObject(o, s.name, s.size != 0);
            break;
        default:
            continue;
        }
        ++added;
    }
    return added;
}

/// Prints the envelope; the data object (owned here) only on success.
int answer(const RouteCtx& r, ResultCode code, cJSON* data, bool newline)
{
    char* text = nullptr;
    if (code == kResultOk && data && data->child)
        text = cJSON_PrintUnformatted(data);
    cJSON_Delete(data);
    replyEnvelope(code, text ? dataMemberOf(r.dir) : nullptr, text, newline);
    free(text);
    return 0;
}

enum Outcome { kTranslate, kExistsIsOk, kStatusAsResult, kExistence, kResolved };
enum Newline { kNever, kAlways, kOnFailure };

struct Policy {
    Keys keys;
    Outcome outcome;
    Newline newline;
};

int serve(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op, const Policy& p)
{
    auto nl = [&](ResultCode c) {
        return p.newline == kAlways || (p.newline == kOnFailure && r.method != kMethodGet && c != kResultOk);
    };
    Request q;
    q.method = r.method;
    bool hasBody = false, hasQuery = false;
    for (size_t i = 0; i < n; ++i) {
        hasBody = hasBody || specs[i].src == kBody;
        hasQuery = hasQuery || specs[i].src == kQuery;
    }
    if (hasBody || r.method == kMethodGet || r.method == kMethodDelete)
        q.text = requestDataGet();
    if (hasBody) {
        q.body = q.text ? cJSON_Parse(q.text) : nullptr;
        if (!cJSON_IsObject(q.body)) {
            LOG(kLogError, "%s: request is not a JSON object\n", r.leaf);
            return answer(r, kResultInvalidArgument, nullptr, nl(kResultInvalidArgument));
        }
    }
    if (hasQuery && (r.method == kMethodGet || r.method == kMethodDelete))
        q.list = paramListSplit(q.text ? q.text : "");
    std::vector<Slot> slots(n);
    for (size_t i = 0; i < n; ++i) {
        ResultCode c = prepare(q, specs, i, slots, p.keys);
        if (c != kResultOk) {
            if (specs[i].name)
                LOG(kLogError, "%s: member %s refused (%d)\n", r.leaf, specs[i].name, c);
            return answer(r, c, nullptr, nl(c));
        }
    }
    int status = op(slots.data());
    if (status != 0)
        LOG(kLogWarn, "%s: switch status %d\n", r.leaf, status);
    ResultCode code = OpenResultTranslate(status);
    cJSON* data = cJSON_CreateObject();
    switch (p.outcome) {
    case kTranslate:
        break;
    case kExistsIsOk:
        if (status == kOpenExists)
            code = kResultOk;
        break;
    case kStatusAsResult:
        code = kResultOk;
        cJSON_AddNumberToObject(data, "result", status);
        return answer(r, code, data, nl(code));
    case kExistence:
        code = kResultOk;
        cJSON_AddBoolToObject(data, "exists", status == 0);
        return answer(r, code, data, nl(code));
    case kResolved: {
        uint32_t any = 0;
        for (size_t i = 0; i < n; ++i)
            if (specs[i].kind == kOutU32)
                any |= slots[i].u32;
        if (status != 0 || any == 0)
            code = kResultUnsupported;
        break;
    }
    }
    if (code == kResultOk)
        addOutputs(data, specs, n, slots);
    return answer(r, code, data, nl(code));
}

}  // namespace

int getter(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kRequired, kTranslate, kNever});
}

int setter(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kRequired, kTranslate, kAlways});
}

int iterator(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kLenient, kTranslate, kOnFailure});
}

int registration(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kRequired, kExistsIsOk, kAlways});
}

int statusResult(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kRequired, kStatusAsResult, kAlways});
}

int existence(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kLenient, kExistence, kNever});
}

int resolvedIntf(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kRequired, kResolved, kNever});
}

// --- Fixed views ------------------------------------------------------------

namespace {

bool isRead(const RouteCtx& r) { return r.method == kMethodGet; }

// Value of a split-reader query name; nullptr when absent.
std::string splitValue(const char* name, bool* found)
{
    char* text = requestDataGet();
    char** list = paramListSplit(text ? text : "");
    const char* v = paramListFind(name, list);
    *found = v != nullptr;
    std::string out = v ? v : "";
    paramListFree(list);
    free(text);
    return out;
}

}  // namespace

int fixedData(const RouteCtx& r, const char*, const char* data)
{
    free(requestDataGet());
    replyEnvelope(kResultOk, data ? dataMemberOf(r.dir) : nullptr, data, !isRead(r));
    return 0;
}

int fixedEcho(const RouteCtx& r, const char* name, const char* data)
{
    free(requestDataGet());
    char text[256];
    snprintf(text, sizeof text, "{\"%s\":%u,%s", name, queryExactU32(name), data + 1);
    replyEnvelope(kResultOk, dataMemberOf(r.dir), text, !isRead(r));
    return 0;
}

int fixedVrfFirst(const RouteCtx& r, const char* name, const char* data)
{
    bool found;
    std::string v = splitValue(name, &found);
    ResultCode code = v.empty() ? kResultOk : kResultApiNotFound;
    replyEnvelope(code, dataMemberOf(r.dir), data, !isRead(r));
    return 0;
}

int fixedVrfDefault(const RouteCtx& r, const char* name, const char* data)
{
    bool found;
    std::string v = splitValue(name, &found);
    ResultCode code = v.empty() || v == "default" ? kResultOk : kResultApiNotFound;
    replyEnvelope(code, dataMemberOf(r.dir), data, !isRead(r));
    return 0;
}

int fixedUnsupported(const RouteCtx& r, const char* name, const char*)
{
    bool found;
    splitValue(name, &found);
    replyEnvelope(kResultUnsupported, nullptr, nullptr, !isRead(r));
    return 0;
}

const char* dataMemberOf(const char* dir)
{
    static const struct {
        const char* leafDir;
        const char* member;
    } kMembers[] = {
        {"bgp-config", "bgpConfig"},         {"ip", "ip"},
        {"ip-route-table", "ipRouteTable"},  {"ip4dhcpclient", "ip4dhcpclient"},
        {"ip6map", "ip6map"},                {"ip6radv", "ip6radv"},
        {"iphelper", "iphelper"},            {"ipsla", "ipsla"},
        {"ospf-config", "ospfConfig"},       {"routing", "routing"},
        {"routing-arptable", "routingArptable"}, {"routing-config", "routingConfig"},
        {"routing-rtrdisc", "routingRtrdisc"},   {"routing-stats", "routingStats"},
    };
    const char* last = strrchr(dir, '/');
    last = last ? last + 1 : dir;
    for (const auto& m : kMembers)
        if (strcmp(m.leafDir, last) == 0)
            return m.member;
    return nullptr;
}

}  // namespace route
