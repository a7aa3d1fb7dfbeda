// Handler family: request members to operation arguments, operation results
// to the envelope.
#include "runtime/handler_family.h"

#include <cjson/cJSON.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/log.h"
#include "runtime/params.h"
#include "runtime/route_tree.h"
#include "runtime/text_convert.h"

namespace hf {

namespace {

// Reads (GET) answer without a newline.
bool isRead(const RouteCtx& r) { return r.method == kMethodGet; }

}  // namespace

uint32_t enumValue(const EnumTable& t, const std::string& word)
{
    for (size_t k = 0; k < t.count; ++k)
        if (word == t.words[k].name)
            return t.words[k].value;
    return t.other;
}

bool enumKnows(const EnumTable& t, const std::string& word)
{
    for (size_t k = 0; k < t.count; ++k)
        if (word == t.words[k].name)
            return true;
    return word == t.otherName;
}

const char* enumName(const EnumTable& t, uint32_t value)
{
    for (size_t k = 0; k < t.count; ++k)
        if (t.words[k].value == value)
            return t.words[k].name;
    return t.otherName;
}

// --- Request --------------------------------------------------------------

Request::~Request() { paramListFree(list); }

ResultCode readRequest(const RouteCtx& r, bool body, bool split, Request* q)
{
    q->method = r.method;
    bool query = r.method == kMethodGet || r.method == kMethodDelete;
    if (body || query)
        q->text.reset(requestDataGet());
    if (body) {
        q->body.reset(q->text ? cJSON_Parse(q->text.get()) : nullptr);
        if (!cJSON_IsObject(q->body.get())) {
            LOG(kLogError, "%s: request is not a JSON object\n", r.leaf);
            return kResultInvalidArgument;
        }
    }
    if (split && query)
        q->list = paramListSplit(q->text ? q->text.get() : "");
    return kResultOk;
}

bool queryExactText(const char* name, std::string* out)
{
    const char* v = queryExactValue(name);
    if (!v)
        return false;
    out->assign(v, strcspn(v, "&"));
    return true;
}

Value member(const cJSON* obj, const char* name)
{
    Value v;
    v.item = cJSON_GetObjectItem(obj, name);
    v.found = v.item != nullptr;
    return v;
}

Value lookup(const Request& q, Src src, const char* name)
{
    Value v;
    if (src == kBody || src == kBodyIfAny)
        return member(q.body.get(), name);
    if (src == kQueryFound) {
        const char* qs = getenv("QUERY_STRING");
        std::string key = std::string(name) + "=";
        const char* at = qs ? strstr(qs, key.c_str()) : nullptr;
        v.found = at != nullptr;
        if (at)
            v.text.assign(at + key.size(), strcspn(at + key.size(), "&"));
    } else if (src == kQueryExact || src == kQueryExactDefault ||
        (src == kQuery && (q.method == kMethodPost || q.method == kMethodPut))) {
        v.found = queryExactText(name, &v.text);
    } else if (src == kQuery) {
        const char* t = paramListFind(name, q.list);
        v.found = t != nullptr;
        if (t)
            v.text = t;
    }
    return v;
}

ResultCode numberOf(const Value& v, uint32_t dflt, uint32_t* out)
{
    *out = dflt;
    if (!v.found)
        return kResultOk;
    if (!v.item)
        return conv::parseU32Prefix(v.text, out) ? kResultOk : kResultInvalidArgument;
    if (cJSON_IsNumber(v.item)) {
        double d = v.item->valuedouble;
        if (!(d >= 0 && d <= 4294967295.0) || std::floor(d) != d)
            return kResultInvalidArgument;
        *out = static_cast<uint32_t>(d);
        return kResultOk;
    }
    if (cJSON_IsString(v.item))
        return conv::parseU32(v.item->valuestring, out) ? kResultOk : kResultInvalidArgument;
    return kResultInvalidArgument;
}

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

ResultCode flagOf(const Value& v, uint32_t* out)
{
    if (v.item && (cJSON_IsTrue(v.item) || cJSON_IsFalse(v.item))) {
        *out = cJSON_IsTrue(v.item) ? 1 : 0;
        return kResultOk;
    }
    return numberOf(v, 0, out);
}

// --- Answers --------------------------------------------------------------------

int replyText(const RouteCtx& r, ResultCode code, const char* data, bool newline)
{
    replyEnvelope(code, data ? r.dir->member : nullptr, data, newline);
    return 0;
}

int reply(const RouteCtx& r, ResultCode code, JsonPtr data, bool newline)
{
    CStr text;
    if (code == kResultOk && data && data->child)
        text.reset(cJSON_PrintUnformatted(data.get()));
    data.reset();
    return replyText(r, code, text.get(), newline);
}

int stub(bool newline)
{
    replyEnvelope(kResultUnsupported, nullptr, nullptr, newline);
    return 0;
}

namespace {

/// How a class treats keys it cannot use: required (getters: absent query
/// keys answer 10003), or lenient (iterators and the existence getter: an
/// absent or unusable key is 0, the start of the table).
enum Keys { kRequired, kLenient };

bool isRecord(Kind k) { return k == kRec || k == kInOutRec || k == kOutRec; }

bool isTextInput(Kind k) { return kindShape(k) == kShText; }

// Whether `t` may go into a counted buffer of kind `k` holding `size` bytes.
bool textFits(Kind k, const std::string& t, uint32_t size)
{
    if (k == kRawText)
        return true;  // cut to the buffer
    if (size == 0 || t.size() > size - 1 || t.find('\0') != std::string::npos)
        return false;
    if (k == kCommandText || k == kFileName)
        for (unsigned char ch : t)
            if (ch < 0x20 || ch == 0x7f)
                return false;
    if (k == kFileName && (t.find('/') != std::string::npos || t == ".."))
        return false;
    return true;
}

// A zeroed buffer of `size` bytes as the slot's counted buffer.
void textBuffer(Slot& slot, uint32_t size)
{
    slot.bytes.assign(size, 0);
    slot.desc.pstart = reinterpret_cast<char*>(slot.bytes.data());
    slot.desc.size = size;
}

// Buffer size for a text whose size the operation `sizeOp` reports.
uint32_t reportedSize(OpCall sizeOp, uint32_t extra)
{
    Slot s;
    if (!sizeOp || sizeOp(&s) != 0 || s.u32 == 0)
        return kTextBuffer;
    uint64_t n = static_cast<uint64_t>(s.u32) + extra;
    return n > kSizedTextMax ? kSizedTextMax : static_cast<uint32_t>(n);
}

// The object an answered name stands in ("a.b": member b of object a) and the
// member's own name.
cJSON* holderOf(cJSON* o, const char* name, std::string* leaf)
{
    const char* dot = strchr(name, '.');
    if (!dot) {
        *leaf = name;
        return o;
    }
    *leaf = dot + 1;
    std::string outer(name, dot);
    cJSON* h = cJSON_GetObjectItemCaseSensitive(o, outer.c_str());
    if (!cJSON_IsObject(h))
        h = cJSON_AddObjectToObject(o, outer.c_str());
    return h ? h : o;
}

size_t recordSize(const ArgSpec& s)
{
    switch (s.kind) {
    case kAddr: case kInOutAddr: case kOutAddr: return sizeof(InetAddr);
    case kPrefix: return sizeof(InetPrefix);
    case kMac: case kOutMac: return sizeof(MacAddr);
    case kRec: case kInOutRec: case kOutRec: return s.rec ? s.rec->size : 0;
    default: return 0;
    }
}

// The record a list record at `i` belongs to: the nearest one of its owner's
// kind before it.
unsigned char* ownerOf(const ArgSpec* specs, std::vector<Slot>& slots, size_t i)
{
    const RecordKind* owner = specs[i].rec ? specs[i].rec->owner : nullptr;
    if (!owner)
        return nullptr;
    while (i-- > 0)
        if (isRecord(specs[i].kind) && specs[i].rec == owner && slots[i].bytes.size() >= owner->size)
            return slots[i].bytes.data();
    return nullptr;
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
        if (!conv::parseU32(std::string_view(t).substr(slash + 1), &len) || len > 255)
            return false;
        out->pfxLen = len;
    }
    return true;
}

ResultCode prepare(const Request& q, const ArgSpec* specs, size_t i, std::vector<Slot>& slots, Keys keys)
{
    const ArgSpec& s = specs[i];
    Slot& slot = slots[i];
    slot.bytes.assign(recordSize(s), 0);
    Value v = lookup(q, s.src, s.name);
    bool lenient = keys == kLenient;
    bool fromQuery = s.src == kQuery || s.src == kQueryExact;
    if (fromQuery && !v.found && !lenient && !isTextInput(s.kind))
        return kResultInvalidArgument;
    std::string t;
    if ((s.kind == kAddr || s.kind == kInOutAddr) && s.size) {
        // A required address, its text at most size - 1 characters.
        if (!textOf(v, &t) || t.empty() || t.size() > s.size - 1 ||
            !parseAddr(t, reinterpret_cast<InetAddr*>(slot.bytes.data())))
            return kResultInvalidArgument;
        return kResultOk;
    }
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
    case kByte:
    case kByteNonZero: {
        ResultCode c = numberOf(v, s.size, &slot.u32);
        if (c != kResultOk)
            return c;
        if (s.kind == kByteNonZero && slot.u32 == 0)
            slot.u32 = s.size;
        slot.u32 &= 0xff;
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
        return flagOf(v, &slot.u32);
    case kEnum:
    case kInOutEnum:
        if (!textOf(v, &t)) {
            if (!s.table->lenient)
                return kResultInvalidArgument;
            v.found = false;
        }
        if (v.found && s.table->strict && !enumKnows(*s.table, t))
            return kResultInvalidArgument;
        slot.u32 = v.found ? enumValue(*s.table, t) : s.table->other;
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
    case kBoundedText:
    case kCommandText:
    case kFileName:
    case kRawText: {
        if (!textOf(v, &t) || !textFits(s.kind, t, s.size))
            return kResultInvalidArgument;
        textBuffer(slot, s.size);
        size_t len = t.size() < s.size - 1 ? t.size() : s.size - 1;
        memcpy(slot.bytes.data(), t.data(), len);
        if (s.kind != kRawText)
            slot.desc.size = static_cast<uint32_t>(len + 1);
        return kResultOk;
    }
    case kOutTextSized:
        textBuffer(slot, reportedSize(s.sizeOp, s.size));
        return kResultOk;
    case kIpv4:
    case kInOutIpv4:
        if (!textOf(v, &t))
            return lenient ? kResultOk : kResultInvalidArgument;
        if (!t.empty() && !conv::parseIpv4(t, &slot.u32)) {
            slot.u32 = 0;
            if (!lenient)
                return kResultInvalidArgument;
        }
        return kResultOk;
    case kInOutAddr:
        // A key that is no address starts the walk, as an absent one.
        if (textOf(v, &t) && !t.empty())
            parseAddr(t, reinterpret_cast<InetAddr*>(slot.bytes.data()));
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
        if (!textOf(v, &t) || (!t.empty() && !conv::parseMac(t, reinterpret_cast<MacAddr*>(slot.bytes.data())->octet)))
            return kResultInvalidArgument;
        return kResultOk;
    case kRec:
    case kInOutRec: {
        if (!v.found && s.size)
            return kResultInvalidArgument;
        // Query text reaches the record's reader as a JSON string.
        JsonPtr text(v.found && !v.item ? cJSON_CreateString(v.text.c_str()) : nullptr);
        return s.rec->read(v.found ? (v.item ? v.item : text.get()) : nullptr, slot.bytes.data(),
                           ownerOf(specs, slots, i));
    }
    case kOutU32:
    case kOutEnum:
        slot.u32 = s.size;  // the value the call starts with
        return kResultOk;
    case kOutText:
        slot.bytes.assign(s.size, 0);
        slot.desc.pstart = reinterpret_cast<char*>(slot.bytes.data());
        slot.desc.size = s.size;
        return kResultOk;
    default:
        return kResultOk;
    }
}

// Text of a counted buffer, up to its first NUL.
std::string bufferText(const Slot& slot)
{
    if (!slot.desc.pstart || slot.bytes.empty())
        return std::string();
    return std::string(slot.desc.pstart, strnlen(slot.desc.pstart, slot.bytes.size()));
}

// Whether an ECHO of the row answers the input entry `i`.
bool echoed(const ArgSpec* specs, size_t n, size_t i)
{
    if (isAnswer(specs[i].kind) || !specs[i].name)
        return false;
    for (size_t j = i + 1; j < n; ++j)
        if (specs[j].kind == kAnswerEcho && specs[j].name && strcmp(specs[j].name, specs[i].name) == 0)
            return true;
    return false;
}

// Answers the request value of the input entry `in`.
void addEcho(cJSON* h, const char* leaf, const ArgSpec& in, const Slot& slot)
{
    if (kindShape(in.kind) == kShText)
        cJSON_AddStringToObject(h, leaf, bufferText(slot).c_str());
    else if (in.kind == kIpv4)
        cJSON_AddStringToObject(h, leaf, conv::ipv4Text(slot.u32).c_str());
    else
        cJSON_AddNumberToObject(h, leaf, slot.u32);
}

// Adds the answered outputs in row order; an echoed input is answered in
// its own place, so a key leads the values read with it.
void addOutputs(cJSON* top, const ArgSpec* specs, size_t n, std::vector<Slot>& slots)
{
    uint32_t limit = UINT32_MAX;
    for (size_t i = 0; i < n; ++i)
        if (specs[i].kind == kCount)
            limit = slots[i].u32;
    for (size_t i = 0; i < n; ++i) {
        const ArgSpec& s = specs[i];
        const Slot& slot = slots[i];
        Shape sh = kindShape(s.kind);
        bool answered = isAnswer(s.kind) || sh == kShRef || sh == kShTextOut || sh == kShRecOut;
        bool echo = echoed(specs, n, i);
        if (!s.name || !(answered || echo) || s.kind == kAnswerEcho)
            continue;
        std::string leaf;
        cJSON* o = holderOf(top, s.answer && !echo ? s.answer : s.name, &leaf);
        const char* name = leaf.c_str();
        if (echo) {
            addEcho(o, name, s, slot);
            continue;
        }
        switch (s.kind) {
        case kOutU32: case kInOutU32:
            cJSON_AddNumberToObject(o, name, slot.u32);
            break;
        case kOutIpv4: case kInOutIpv4:
            cJSON_AddStringToObject(o, name, conv::ipv4Text(slot.u32).c_str());
            break;
        case kOutBool:
            cJSON_AddBoolToObject(o, name, slot.u32 == 1);
            break;
        case kOutEnum: case kInOutEnum:
            cJSON_AddStringToObject(o, name, enumName(*s.table, slot.u32));
            break;
        case kOutText: case kOutTextSized:
            cJSON_AddStringToObject(o, name, bufferText(slot).c_str());
            break;
        case kOutMac:
            cJSON_AddStringToObject(o, name,
                                    conv::macText(reinterpret_cast<const MacAddr*>(slot.bytes.data())->octet).c_str());
            break;
        case kOutAddr: case kInOutAddr: {
            const InetAddr& a = *reinterpret_cast<const InetAddr*>(slot.bytes.data());
            cJSON_AddStringToObject(o, name, addrText(a.family, a.addr).c_str());
            break;
        }
        case kOutRec: case kInOutRec:
            s.rec->write(o, name, slot.bytes.data(), ownerOf(specs, slots, i), limit);
            break;
        case kAnswerU32:
            cJSON_AddNumberToObject(o, name, s.size);
            break;
        case kAnswerBool:
            cJSON_AddBoolToObject(o, name, s.size != 0);
            break;
        default:
            break;
        }
    }
}

enum Outcome { kTranslate, kExistsIsOk, kStatusAsResult, kExistence, kResolved, kBare, kRefusedIsZero };
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
    bool hasBody = false, hasSplit = false, anyBody = false;
    for (size_t i = 0; i < n; ++i) {
        hasBody = hasBody || specs[i].src == kBody;
        hasSplit = hasSplit || specs[i].src == kQuery;
        anyBody = anyBody || specs[i].src == kBodyIfAny;
    }
    Request q;
    ResultCode c = readRequest(r, hasBody, hasSplit, &q);
    if (c != kResultOk)
        return reply(r, c, nullptr, nl(c));
    if (anyBody && !hasBody) {
        // A body that may be missing or no JSON object: then it has no members.
        if (!q.text)
            q.text.reset(requestDataGet());
        q.body.reset(q.text ? cJSON_Parse(q.text.get()) : nullptr);
        if (!cJSON_IsObject(q.body.get()))
            q.body.reset();
    }
    std::vector<Slot> slots(n);
    for (size_t i = 0; i < n; ++i) {
        c = prepare(q, specs, i, slots, p.keys);
        if (c != kResultOk) {
            if (specs[i].name)
                LOG(kLogError, "%s: member %s refused (%d)\n", r.leaf, specs[i].name, c);
            return reply(r, c, nullptr, nl(c));
        }
    }
    int status = op(slots.data());
    if (status != 0)
        LOG(kLogWarn, "%s: switch status %d\n", r.leaf, status);
    ResultCode code = OpenResultTranslate(status);
    JsonPtr data(cJSON_CreateObject());
    switch (p.outcome) {
    case kTranslate:
        break;
    case kExistsIsOk:
        if (status == kOpenExists)
            code = kResultOk;
        break;
    case kStatusAsResult:
        code = kResultOk;
        cJSON_AddNumberToObject(data.get(), "result", status);
        return reply(r, code, std::move(data), nl(code));
    case kExistence:
        code = kResultOk;
        cJSON_AddBoolToObject(data.get(), "exists", status == 0);
        return reply(r, code, std::move(data), nl(code));
    case kBare:
        if (code != kResultOk)
            break;
        addOutputs(data.get(), specs, n, slots);
        {
            CStr text(cJSON_PrintUnformatted(data.get()));
            if (!text)
                return reply(r, kResultGeneralFailed, nullptr, nl(kResultGeneralFailed));
            fputs(text.get(), stdout);
            if (nl(code))
                fputc('\n', stdout);
        }
        return 0;
    case kRefusedIsZero:
        if (status == kOpenInvalidParam) {
            code = kResultOk;
            for (Slot& s : slots)
                s.u32 = 0;
        }
        break;
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
        addOutputs(data.get(), specs, n, slots);
    return reply(r, code, std::move(data), nl(code));
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

int bareAnswer(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kRequired, kBare, kAlways});
}

int validityCheck(const RouteCtx& r, const ArgSpec* s, size_t n, OpCall op)
{
    return serve(r, s, n, op, Policy{kRequired, kRefusedIsZero, kNever});
}

// --- Fixed views ------------------------------------------------------------

namespace {

// Value of a split-reader query name in the request text, whatever the
// method (empty when absent).
std::string splitValue(const char* name)
{
    Request q;
    q.text.reset(requestDataGet());
    q.list = paramListSplit(q.text ? q.text.get() : "");
    std::string out;
    textOf(lookup(q, kQuery, name), &out);
    return out;
}

}  // namespace

int fixedData(const RouteCtx& r, const char*, const char* data)
{
    free(requestDataGet());
    return replyText(r, kResultOk, data, !isRead(r));
}

int fixedEcho(const RouteCtx& r, const char* name, const char* data)
{
    free(requestDataGet());
    char text[256];
    snprintf(text, sizeof text, "{\"%s\":%u,%s", name, queryExactU32(name), data + 1);
    return replyText(r, kResultOk, text, !isRead(r));
}

int fixedVrfFirst(const RouteCtx& r, const char* name, const char* data)
{
    std::string v = splitValue(name);
    return replyText(r, v.empty() ? kResultOk : kResultApiNotFound, data, !isRead(r));
}

int fixedVrfDefault(const RouteCtx& r, const char* name, const char* data)
{
    std::string v = splitValue(name);
    return replyText(r, v.empty() || v == "default" ? kResultOk : kResultApiNotFound, data, !isRead(r));
}

int fixedUnsupported(const RouteCtx& r, const char* name, const char*)
{
    splitValue(name);
    return replyText(r, kResultUnsupported, nullptr, !isRead(r));
}

std::vector<std::string> fixedParts(const char* data)
{
    std::vector<std::string> parts;
    std::string_view t(data ? data : "");
    for (;;) {
        size_t sep = t.find('\x1e');
        parts.emplace_back(t.substr(0, sep));
        if (sep == std::string_view::npos)
            return parts;
        t.remove_prefix(sep + 1);
    }
}

int fixedChoice(const RouteCtx& r, const char* name, const char* data)
{
    free(requestDataGet());
    std::vector<std::string> parts = fixedParts(data);
    if (parts.size() != 3) {
        LOG(kLogError, "%s: a choice needs numbers and two answers\n", r.leaf);
        return replyText(r, kResultGeneralFailed, nullptr, !isRead(r));
    }
    uint32_t n = queryExactU32(name);
    bool listed = false;
    size_t at = 0;
    const std::string& numbers = parts[0];
    while (at < numbers.size() && !listed) {
        size_t end = numbers.find(' ', at);
        if (end == std::string::npos)
            end = numbers.size();
        uint32_t v;
        listed = conv::parseU32(std::string_view(numbers).substr(at, end - at), &v) && v == n;
        at = end + 1;
    }
    return replyText(r, kResultOk, (listed ? parts[1] : parts[2]).c_str(), !isRead(r));
}

namespace {

// `tmpl` with every "%u" replaced by `number`.
std::string withNumber(const std::string& tmpl, uint32_t n)
{
    std::string number = std::to_string(n);
    std::string text;
    for (size_t at = 0; at < tmpl.size();) {
        size_t mark = tmpl.find("%u", at);
        text.append(tmpl, at, mark == std::string::npos ? std::string::npos : mark - at);
        if (mark == std::string::npos)
            break;
        text += number;
        at = mark + 2;
    }
    return text;
}

}  // namespace

int fixedNumbered(const RouteCtx& r, const char* name, const char* data)
{
    free(requestDataGet());
    std::vector<std::string> parts = fixedParts(data);
    uint32_t least;
    if (parts.size() != 2 || !conv::parseU32(parts[0], &least)) {
        LOG(kLogError, "%s: a numbered answer needs its least number and its text\n", r.leaf);
        return replyText(r, kResultGeneralFailed, nullptr, !isRead(r));
    }
    uint32_t n = queryExactU32(name);
    return replyText(r, kResultOk, withNumber(parts[1], n < least ? least : n).c_str(), !isRead(r));
}

int fixedSuccessor(const RouteCtx& r, const char* name, const char* data)
{
    free(requestDataGet());
    std::vector<std::string> parts = fixedParts(data);
    uint32_t limit;
    if (parts.size() != 2 || !conv::parseU32(parts[0], &limit)) {
        LOG(kLogError, "%s: a successor needs its limit and its text\n", r.leaf);
        return replyText(r, kResultGeneralFailed, nullptr, !isRead(r));
    }
    uint32_t n = queryExactU32(name);
    if (n >= limit)
        return replyText(r, kResultApiNotFound, nullptr, !isRead(r));
    return replyText(r, kResultOk, withNumber(parts[1], n + 1).c_str(), !isRead(r));
}

int fixedJsonBody(const RouteCtx& r, const char*, const char* data)
{
    CStr text(requestDataGet());
    JsonPtr body(text ? cJSON_Parse(text.get()) : nullptr);
    if (!body) {
        LOG(kLogError, "%s: request is no JSON text\n", r.leaf);
        return replyText(r, kResultInvalidArgument, nullptr, !isRead(r));
    }
    return replyText(r, kResultOk, data, !isRead(r));
}

bool parseAddr(const std::string& t, InetAddr* out)
{
    memset(out, 0, sizeof *out);
    uint32_t v4;
    if (conv::parseIpv4(t, &v4)) {
        out->family = kFamilyIpv4;
        memcpy(out->addr, &v4, 4);
        return true;
    }
    if (conv::parseIpv6(t, out->addr)) {
        out->family = kFamilyIpv6;
        return true;
    }
    memset(out, 0, sizeof *out);
    return false;
}

std::string addrText(uint32_t family, const uint8_t* addr)
{
    if (family == kFamilyIpv4) {
        uint32_t v;
        memcpy(&v, addr, 4);
        return conv::ipv4Text(v);
    }
    if (family == kFamilyIpv6)
        return conv::ipv6Text(addr);
    return "0.0.0.0";
}

}  // namespace hf
