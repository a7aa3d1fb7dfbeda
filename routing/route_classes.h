// Handler classes of pathgate. A route row names its class, its switch
// operation and one argument entry per operation argument, in the order of the
// operation's parameters; the class reads the inputs the entries name, makes the
// call and answers the outputs. Nothing about a route is written by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/openclt/openclt.h"
#include "runtime/open_client.h"

struct cJSON;

namespace route {

/// Where an input comes from: the query string or the JSON request object.
enum Src : uint8_t { kNoSrc, kQuery, kBody };

enum Kind : uint8_t {
    // Inputs.
    kU32,       // whole number 0..4294967295; `size` is the value when absent
    kCount,     // as kU32, and at most `size` (the default too)
    kIpv4,      // dotted IPv4 text, sent as a host-order word
    kEnum,      // string of the member's enumeration
    kBool,      // true/false (or 0/1)
    kText,      // string into a counted buffer of `size` bytes (cut to size - 1)
    kAddr,      // IPv4 or IPv6 text -> InetAddr
    kPrefix,    // "address[/length]" -> InetPrefix
    kMac,       // "aa:bb:cc:dd:ee:ff" -> MacAddr
    kVrf,       // default VRF only: present and not 0 answers 17002; sends 0
    kRoute,     // member `route` -> RouteRecord; `size` 1: required
    kNextHops,  // member `nextHops` -> NextHopList; sets the route's count
    // In and out (iterators): the current key in, the next key out.
    kInOutU32,
    kInOutIpv4,
    kInOutRoute,  // `route` in (absent: the first), `route` out
    // Outputs.
    kOutU32,
    kOutIpv4,
    kOutBool,
    kOutEnum,
    kOutText,      // counted buffer of `size` bytes
    kOutMac,
    kOutAddr,
    kOutRoute,     // `route`
    kOutNextHops,  // `nextHops`, as many as the preceding route counts
    kOutChange,    // `chType`, `route`, `nextHops` of one route change
    kOutChanges,   // `routeChanges`: the in-use slots, at most the row's count
    // Answers that are no operation argument (after all operation arguments).
    kAnswerU32,
    kAnswerBool,
};

/// An enumeration on the wire: named values, and the name of every other
/// value, which is also what an unknown string sends (`other`).
struct EnumTable {
    const char* names[3];
    uint32_t values[3];
    const char* otherName;
    uint32_t other;
};

extern const EnumTable kModeEnum;     // "enable" 1, else "disable" (0)
extern const EnumTable kSummaryEnum;  // "send_summary" 2, else "no_summary" (1)
extern const EnumTable kImportEnum;   // "import_no_ext" 2, "import_nssa" 3, else "import_ext" (1)
extern const EnumTable kIfTypeEnum;   // "broadcast" 1, "point_to_point" 3, else "default" (0)
extern const EnumTable kStubEnum;     // "always" 1, "startup" 2, else "disabled" (0)

struct ArgSpec {
    Kind kind;
    Src src;
    const char* name;  // request or response member; nullptr: not answered
    uint32_t size;
    const EnumTable* table;
};

constexpr bool isAnswer(Kind k) { return k >= kAnswerU32; }

/// Number of specs that are operation arguments.
template <size_t N>
constexpr size_t opArgs(const ArgSpec (&a)[N])
{
    size_t n = 0;
    for (size_t i = 0; i < N; ++i)
        n += isAnswer(a[i].kind) ? 0 : 1;
    return n;
}

/// One argument as the operation receives it.
struct Slot {
    uint32_t u32 = 0;
    BufDesc desc{0, nullptr};
    std::vector<unsigned char> bytes;  // text buffers and records
};

typedef int (*OpCall)(Slot* slots);

// --- Compile-time agreement of a row's specs with its operation ----------

enum Shape { kShValue, kShRef, kShText, kShTextOut, kShRec, kShRecOut, kShNone };

constexpr Shape kindShape(Kind k)
{
    switch (k) {
    case kU32: case kCount: case kIpv4: case kEnum: case kBool: case kVrf:
        return kShValue;
    case kText:
        return kShText;
    case kAddr: case kPrefix: case kMac: case kRoute: case kNextHops:
        return kShRec;
    case kInOutU32: case kInOutIpv4: case kOutU32: case kOutIpv4: case kOutBool: case kOutEnum:
        return kShRef;
    case kOutText:
        return kShTextOut;
    case kInOutRoute: case kOutMac: case kOutAddr: case kOutRoute: case kOutNextHops: case kOutChange:
    case kOutChanges:
        return kShRecOut;
    default:
        return kShNone;
    }
}

template <class T>
constexpr Shape typeShape()
{
    if (std::is_same<T, uint32_t>::value)
        return kShValue;
    if (std::is_same<T, uint32_t*>::value)
        return kShRef;
    if (std::is_same<T, BufDesc>::value)
        return kShText;
    if (std::is_same<T, BufDesc*>::value)
        return kShTextOut;
    if (std::is_pointer<T>::value && std::is_const<std::remove_pointer_t<T>>::value)
        return kShRec;
    if (std::is_pointer<T>::value)
        return kShRecOut;
    return kShNone;
}

template <class F>
struct OpShape;
template <class... A>
struct OpShape<int (*)(OpenClientHandle*, A...)> {
    static constexpr size_t arity = sizeof...(A);
    template <size_t N>
    static constexpr bool agrees(const ArgSpec (&a)[N])
    {
        constexpr Shape shapes[sizeof...(A) + 1] = {typeShape<A>()..., kShNone};
        if (opArgs(a) != sizeof...(A))
            return false;
        for (size_t i = 0; i < sizeof...(A); ++i)
            if (kindShape(a[i].kind) != shapes[i])
                return false;
        return true;
    }
};

// --- Calling an operation with the slots ----------------------------------

template <class T>
struct SlotArg;
template <>
struct SlotArg<uint32_t> {
    static bool fits(const Slot&) { return true; }
    static uint32_t get(Slot& s) { return s.u32; }
};
template <>
struct SlotArg<uint32_t*> {
    static bool fits(const Slot&) { return true; }
    static uint32_t* get(Slot& s) { return &s.u32; }
};
template <>
struct SlotArg<BufDesc> {
    static bool fits(const Slot& s) { return s.desc.pstart != nullptr; }
    static BufDesc get(Slot& s) { return s.desc; }
};
template <>
struct SlotArg<BufDesc*> {
    static bool fits(const Slot& s) { return s.desc.pstart != nullptr; }
    static BufDesc* get(Slot& s) { return &s.desc; }
};
template <class R>
struct SlotArg<R*> {
    static bool fits(const Slot& s) { return s.bytes.size() >= sizeof(R); }
    static R* get(Slot& s) { return reinterpret_cast<R*>(s.bytes.data()); }
};

template <class F, F fn>
struct OpThunk;
template <class... A, int (*fn)(OpenClientHandle*, A...)>
struct OpThunk<int (*)(OpenClientHandle*, A...), fn> {
    static int call(Slot* s) { return callWith(s, std::index_sequence_for<A...>{}); }
    template <size_t... I>
    static int callWith(Slot* s, std::index_sequence<I...>)
    {
        // A slot prepared for another record than the operation takes is a
        // defect of the row; refuse it rather than let the call read past it.
        if (!(true && ... && SlotArg<A>::fits(s[I])))
            return kOpenInvalidParam;
        return fn(&clientHandle, SlotArg<A>::get(s[I])...);
    }
};

// --- Classes ---------------------------------------------------------------

struct RouteCtx {
    const char* dir;
    const char* leaf;
    uint32_t method;
};

typedef int (*ClassFn)(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);

/// GET of values: query inputs (required), outputs answered, no newline.
int getter(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);
/// Writes (and POST requests answering values): the answer ends in a newline.
int setter(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);
/// Get-first/get-next: absent keys start at the first entry; the end of the
/// table is the switch's failure status.
int iterator(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);
/// Setter for which "already registered" (-24) is success.
int registration(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);
/// Setter that answers the switch status itself as `result`, with code 0.
int statusResult(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);
/// Existence getter: result 0, `exists` tells whether the call succeeded.
int existence(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);
/// Getter of an interface resolved to unit/slot/port: 17002 when that fails
/// or gives 0/0/0, otherwise the row's answers.
int resolvedIntf(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);

/// Fixed views: answers without a switch call.
typedef int (*FixedFn)(const RouteCtx& r, const char* name, const char* data);
/// Reads (and discards) the request, answers `data` (or no data when nullptr).
int fixedData(const RouteCtx& r, const char* name, const char* data);
/// Echoes the exact query number `name` before the members of `data`.
int fixedEcho(const RouteCtx& r, const char* name, const char* data);
/// First VRF name: query `name` absent or empty answers `data`, else 10023.
int fixedVrfFirst(const RouteCtx& r, const char* name, const char* data);
/// Default VRF by name: absent, empty or "default" answers `data`, else 10023.
int fixedVrfDefault(const RouteCtx& r, const char* name, const char* data);
/// Reads query `name` and answers 17002.
int fixedUnsupported(const RouteCtx& r, const char* name, const char* data);

/// Data member of a directory ("ospfConfig" for ".../ospf-config").
const char* dataMemberOf(const char* dir);

/// The route object of an answer: `destPfx`, `pfxLen`, `routeType`, `protoId`,
/// `rejectRoute`, `discardRoute`, `pref`, `metric`, `numNextHops`,
/// `leakedRoute`, `rfc5549Route`, `unnumberedRoute`.
cJSON* routeJson(const RouteRecord& r);
/// The next-hop list of an answer: the first `count` hops as `nhAddr`, `ifNum`.
cJSON* nextHopsJson(const NextHopList& l, uint32_t count);

}  // namespace route

// Builders of the route rows' argument entries: Q... query inputs, B... body members,
// OUT... answered outputs.
#define Q(kind, name) route::ArgSpec{route::kind, route::kQuery, name, 0, nullptr}
#define B(kind, name) route::ArgSpec{route::kind, route::kBody, name, 0, nullptr}
#define BD(kind, name, dflt) route::ArgSpec{route::kind, route::kBody, name, dflt, nullptr}
#define BT(name, size) route::ArgSpec{route::kText, route::kBody, name, size, nullptr}
#define QT(name, size) route::ArgSpec{route::kText, route::kQuery, name, size, nullptr}
#define BE(name, table) route::ArgSpec{route::kEnum, route::kBody, name, 0, &route::table}
#define OUT(kind, name) route::ArgSpec{route::kind, route::kNoSrc, name, 0, nullptr}
#define OUTE(name, table) route::ArgSpec{route::kOutEnum, route::kNoSrc, name, 0, &route::table}
#define OUTT(name, size) route::ArgSpec{route::kOutText, route::kNoSrc, name, size, nullptr}
#define ANSWER(kind, name, value) route::ArgSpec{route::kind, route::kNoSrc, name, value, nullptr}
