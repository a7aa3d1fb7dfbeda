// Control API of the multicast forwarding database: entries walked in key
// order (VLAN, MAC, protocol; -29 after the last), looked up by key (-29
// when absent, -22 for a key that is no key text or a protocol outside
// 1..7), the interfaces an entry forwards to or learnt by match type (1 the
// key's own entries, 2 the next key's; -22 for another), one protocol's
// entries, an entry's data, and the table's counts.
#include <set>

#include "sim/api_util.h"
#include "sim/model_mfdb.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

bool protocolUsable(uint32_t p) { return p >= kMfdbProtocolFirst && p <= kMfdbProtocolLast; }

// The key of argument i; an empty text, when `emptyIsStart`, is before every key.
int32_t keyIn(const Call& c, size_t i, bool emptyIsStart, MfdbKey* key, bool* start)
{
    MfdbVidMac r = recIn<MfdbVidMac>(c, i);
    std::string t(r.text, strnlen(r.text, sizeof r.text));
    *start = t.empty() && emptyIsStart;
    if (*start)
        return 0;
    return mfdbKeyParse(t, key) ? 0 : kInvalid;
}

void keyOut(Call& c, size_t i, const MfdbEntry& e)
{
    MfdbVidMac r{};
    std::string t = mfdbKeyText(e);
    memcpy(r.text, t.data(), std::min(t.size(), sizeof r.text - 1));
    recOut(c, i, r);
}

MfdbKey keyOf(const MfdbEntry& e)
{
    MfdbKey k;
    mfdbKeyOf(e, &k);
    return k;
}

int32_t entryGetFirst(Call& c)
{
    std::vector<const MfdbEntry*> all = mfdbOrdered(c.st);
    if (all.empty())
        return kNotFound;
    keyOut(c, 0, *all.front());
    c.setU32(1, all.front()->protocol);
    return 0;
}

int32_t entryGetNext(Call& c)
{
    MfdbKey from;
    bool start;
    if (int32_t s = keyIn(c, 0, true, &from, &start))
        return s;
    from.protocol = c.u32(1);
    for (const MfdbEntry* e : mfdbOrdered(c.st))
        if (start || mfdbCompare(keyOf(*e), from) > 0) {
            keyOut(c, 0, *e);
            c.setU32(1, e->protocol);
            return 0;
        }
    return kNotFound;
}

const MfdbEntry* exact(const SwitchState& st, const MfdbKey& k)
{
    for (const MfdbEntry* e : mfdbOrdered(st))
        if (mfdbCompare(keyOf(*e), k) == 0)
            return e;
    return nullptr;
}

int32_t entryProtocolGetExact(Call& c)
{
    MfdbKey k;
    bool start;
    if (keyIn(c, 0, false, &k, &start) || !protocolUsable(c.u32(1)))
        return kInvalid;
    k.protocol = c.u32(1);
    return exact(c.st, k) ? 0 : kNotFound;
}

// The interfaces of the entries of one VLAN and MAC (every protocol) in the
// list `F`, as names.
template <std::vector<std::string> MfdbEntry::*F>
std::vector<std::string> unionOf(const SwitchState& st, const MfdbKey& k)
{
    std::vector<std::string> out;
    for (const MfdbEntry* e : mfdbOrdered(st))
        if (mfdbCompare(keyOf(*e), k, false) == 0)
            out.insert(out.end(), (e->*F).begin(), (e->*F).end());
    return out;
}

int32_t entryFwdIntfGetExact(Call& c)
{
    MfdbKey k;
    bool start;
    if (keyIn(c, 0, false, &k, &start))
        return kInvalid;
    return mfdbMaskText(c.st, unionOf<&MfdbEntry::forward>(c.st, k)).empty() ? kNotFound : 0;
}

// The entries' interfaces of list `F` by match type: the key's own (exact),
// or those of the next key that has any.
template <std::vector<std::string> MfdbEntry::*F>
int32_t intfGetNext(Call& c)
{
    uint32_t match = c.u32(1);
    MfdbKey k;
    bool start;
    if (match != kMfdbMatchExact && match != kMfdbMatchNext)
        return kInvalid;
    if (int32_t s = keyIn(c, 0, match == kMfdbMatchNext, &k, &start))
        return s;
    for (const MfdbEntry* e : mfdbOrdered(c.st)) {
        MfdbKey ek = keyOf(*e);
        int cmp = start ? 1 : mfdbCompare(ek, k, false);
        if ((match == kMfdbMatchExact && cmp != 0) || (match == kMfdbMatchNext && cmp <= 0))
            continue;
        std::string mask = mfdbMaskText(c.st, unionOf<F>(c.st, ek));
        if (mask.empty()) {
            if (match == kMfdbMatchExact)
                return kNotFound;
            continue;
        }
        keyOut(c, 0, *e);
        c.setText(2, mask);
        return 0;
    }
    return kNotFound;
}

int32_t componentEntryGetNext(Call& c)
{
    uint32_t protocol = c.u32(1);
    MfdbKey k;
    bool start;
    if (!protocolUsable(protocol))
        return kInvalid;
    if (int32_t s = keyIn(c, 0, true, &k, &start))
        return s;
    for (const MfdbEntry* e : mfdbOrdered(c.st)) {
        if (e->protocol != protocol || (!start && mfdbCompare(keyOf(*e), k, false) <= 0))
            continue;
        keyOut(c, 0, *e);
        c.setU32(2, e->protocol);
        c.setU32(3, e->type);
        c.setText(4, e->description.substr(0, kMfdbDescriptionMax));
        c.setText(5, mfdbMaskText(c.st, e->forward));
        c.setText(6, mfdbMaskText(c.st, e->filtering));
        return 0;
    }
    return kNotFound;
}

// The interfaces an entry sends to: those it forwards to or learnt, less
// those it filters.
std::vector<std::string> sendsTo(const MfdbEntry& e)
{
    std::vector<std::string> out;
    std::set<std::string> filtered(e.filtering.begin(), e.filtering.end());
    for (const auto* list : {&e.forward, &e.learnt})
        for (const std::string& n : *list)
            if (!filtered.count(n))
                out.push_back(n);
    return out;
}

int32_t entryDataGet(Call& c)
{
    MfdbKey k;
    bool start;
    if (keyIn(c, 0, false, &k, &start) || !protocolUsable(c.u32(1)))
        return kInvalid;
    k.protocol = c.u32(1);
    const MfdbEntry* e = exact(c.st, k);
    if (!e)
        return kNotFound;
    std::string mac = e->mac;
    for (char& ch : mac)
        ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    c.setText(2, mac);
    c.setU32(3, e->vlan);
    c.setU32(4, e->protocol);
    c.setU32(5, e->type);
    c.setText(6, e->description.substr(0, kMfdbDescriptionMax));
    c.setText(7, mfdbMaskText(c.st, e->forward));
    c.setText(8, mfdbMaskText(c.st, e->filtering));
    c.setText(9, mfdbMaskText(c.st, sendsTo(*e)));
    return 0;
}

int32_t currEntriesGet(Call& c)
{
    c.setU32(0, mfdbCurrent(c.st));
    return 0;
}

int32_t mostEntriesGet(Call& c)
{
    c.setU32(0, mfdbMost(c.st));
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(openapiMfdbEntryGetFirst, entryGetFirst),
    SIM_OP(openapiMfdbEntryGetNext, entryGetNext),
    SIM_OP(openapiMfdbEntryProtocolGetExact, entryProtocolGetExact),
    SIM_OP(openapiMfdbEntryFwdIntfGetExact, entryFwdIntfGetExact),
    SIM_OP(openapiMfdbEntryFwdIntfGetNext, intfGetNext<&MfdbEntry::forward>),
    SIM_OP(openapiMfdbEntryLearntIntfGetNext, intfGetNext<&MfdbEntry::learnt>),
    SIM_OP(openapiMfdbComponentEntryGetNext, componentEntryGetNext),
    SIM_OP(openapiMfdbEntryDataGet, entryDataGet),
    SIM_OP(openapiMfdbMaxTableEntriesGet, constantGet<kMfdbCapacity>),
    SIM_OP(openapiMfdbMostEntriesGet, mostEntriesGet),
    SIM_OP(openapiMfdbCurrEntriesGet, currEntriesGet),
};

}  // namespace
}  // namespace sim
