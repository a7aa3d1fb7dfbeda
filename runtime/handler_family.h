// Handler family shared by the three programs. A route row names its class,
// its switch operation and one argument entry per operation argument, in the
// order of the operation's parameters; the class reads the inputs the entries
// name, makes the call and answers the outputs under the data member of the
// row's directory. Nothing about a route is written by hand. What a program
// adds of its own (records such as routes and their next hops, enumerations
// of its members) it hands to the family through RecordKind and EnumTable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/openclt/openclt.h"
#include "runtime/envelope.h"
#include "runtime/open_client.h"
#include "runtime/raii.h"

namespace hf {

// --- Directories and the context of one route --------------------------------

/// A directory of a route table: its path and the member under which a
/// successful answer's data object stands (nullptr: answers carry none).
/// Declared once per directory by the DIRECTORY line of its table file.
struct Directory {
    const char* path;
    const char* member;
};

/// What a class knows of the route it serves.
struct RouteCtx {
    const Directory* dir;
    const char* leaf;
    uint32_t method;
};

// --- Enumerations -----------------------------------------------------------

struct EnumWord {
    const char* name;
    uint32_t value;
};

/// An enumeration on the wire: named values, and the name of every other
/// value, which is also what an unknown string sends (`other`). A strict
/// enumeration refuses (10003) a string that is neither a word nor
/// `otherName`; an absent member still sends `other`. A lenient one sends
/// `other` for a member that is no string, too.
struct EnumTable {
    const EnumWord* words;
    size_t count;
    const char* otherName;
    uint32_t other;
    bool strict;
    bool lenient = false;
};

/// An enumeration of the words `w` (counted here).
template <size_t N>
constexpr EnumTable enumTable(const EnumWord (&w)[N], const char* otherName, uint32_t other)
{
    return EnumTable{w, N, otherName, other, false};
}
/// The same, refusing strings it does not name.
template <size_t N>
constexpr EnumTable strictEnumTable(const EnumWord (&w)[N], const char* otherName, uint32_t other)
{
    return EnumTable{w, N, otherName, other, true};
}
/// The same, sending `other` for whatever is no word of it (absent, no
/// string or unknown).
template <size_t N>
constexpr EnumTable lenientEnumTable(const EnumWord (&w)[N], const char* otherName, uint32_t other)
{
    return EnumTable{w, N, otherName, other, false, true};
}

/// The value of `word`; `other` for a word the table does not name.
uint32_t enumValue(const EnumTable& t, const std::string& word);
/// The word of `value`; `otherName` for a value the table does not name.
const char* enumName(const EnumTable& t, uint32_t value);
/// Whether `word` is one of the table's words or its `otherName`.
bool enumKnows(const EnumTable& t, const std::string& word);

inline constexpr EnumWord kModeWords[] = {{"enable", 1}};
/// Admin and flag modes: "enable" 1, every other value "disable" (0).
inline constexpr EnumTable kModeEnum = enumTable(kModeWords, "disable", 0);
/// The same modes, refusing any word but "enable" and "disable".
inline constexpr EnumTable kModeEnumStrict = strictEnumTable(kModeWords, "disable", 0);

inline constexpr EnumWord kTrueTextWords[] = {{"true", 1}};
/// Yes/no answered as text: "true" for 1, "false" for every other value.
inline constexpr EnumTable kTrueTextEnum = enumTable(kTrueTextWords, "false", 0);
/// The two kinds of words taken loosely: exactly "enable" (or "true") sends 1,
/// whatever else (another word, no string, absent) sends 0.
inline constexpr EnumTable kModeEnumLoose = lenientEnumTable(kModeWords, "disable", 0);
inline constexpr EnumTable kTrueTextEnumLoose = lenientEnumTable(kTrueTextWords, "false", 0);

// --- Records a program adds -------------------------------------------------

/// A record argument of a program's own kind (a route, a list of next hops
/// ...): how large the operation's record is, how a request member fills it
/// and how it is answered. A list record may belong to the nearest record of
/// kind `owner` before it in the row (a route and its next hops): it reads and
/// answers that record's count.
struct RecordKind {
    size_t size;
    /// Fills the zeroed record from the request member `item` (nullptr when
    /// absent); `owner` is the owning record or nullptr. 0 or 10003.
    ResultCode (*read)(const cJSON* item, void* rec, void* owner);
    /// Adds the record to `obj` under `name`; `owner` as for read; `limit`:
    /// the row's count input (kCount) bounding a list, else UINT32_MAX.
    void (*write)(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);
    const RecordKind* owner;
};

// --- Argument specs -----------------------------------------------------------

/// Where an input comes from: the query string (split reader or exact
/// reader) or the JSON request object. kQueryExactDefault: the exact reader,
/// and a getter's absent name gives the entry's `size` instead of 10003.
/// kQueryFound: the text after the first "name=" anywhere in QUERY_STRING,
/// up to the next "&" (an absent name as an absent member).
/// kBodyIfAny: a member of the body when the body is a JSON object; no body,
/// or one that is none, counts as a body without the member.
enum Src : uint8_t { kNoSrc, kQuery, kQueryExact, kBody, kQueryExactDefault, kQueryFound, kBodyIfAny };

enum Kind : uint8_t {
    // Inputs.
    kU32,       // whole number 0..4294967295; `size` is the value when absent
    kCount,     // as kU32, and at most `size` (the default too)
    kIpv4,      // dotted IPv4 text, sent as a host-order word
    kEnum,      // string of the member's enumeration
    kBool,      // true/false (or a number)
    kText,      // string into a counted buffer of `size` bytes (cut to size - 1)
    kAddr,      // IPv4 or IPv6 text -> InetAddr (see kInOutAddr for `size`)
    kPrefix,    // "address[/length]" -> InetPrefix
    kMac,       // "aa:bb:cc:dd:ee:ff" -> MacAddr
    kVrf,       // default VRF only: present and not 0 answers 17002; sends 0
    kByte,      // a whole number (as kU32) sent as its low 8 bits; `size` when absent
    kByteNonZero,  // as kByte, and 0 too gives `size` (before the 8 bits are taken)
    kRec,       // a program's record (`rec`); `size` 1: required (query text
                // reaches its reader as a JSON string)
    // Counted text buffers (see "Counted text buffers" below): a string
    // (absent: "") into a zeroed buffer of `size` bytes, sent with its length
    // plus its NUL; a text longer than `size` - 1 is refused (10003).
    kBoundedText,
    kCommandText,  // as kBoundedText; a control character is refused
    kFileName,     // as kCommandText; "/" and the name ".." are refused
    kRawText,      // raw exact-query text cut to `size` - 1, sent with size `size`
    // In and out (iterators): the current key in, the next key out.
    kInOutU32,
    kInOutIpv4,
    kInOutRec,  // record in (absent: the first), record out
    kInOutAddr, // IPv4 or IPv6 text in (absent or unusable: zero), InetAddr out;
                // with a `size` (kAddr too): the text's buffer, the address
                // required, and an absent, empty, unusable text or one over
                // `size` - 1 characters refused (10003)
    kInOutEnum, // a word of `table` in (as kEnum), the next value's word out
    // Outputs.
    kOutU32,    // the switch's value; `size` is what the call starts with
    kOutIpv4,
    kOutBool,
    kOutEnum,   // as kOutU32, answered as the word of `table`
    kOutText,  // counted buffer of `size` bytes
    kOutMac,
    kOutAddr,
    kOutRec,
    kOutTextSized,  // text out of a buffer sized by the row's size operation
    // Answers that are no operation argument (after all operation arguments).
    kAnswerU32,
    kAnswerBool,
    kAnswerEcho,  // the request value of the input entry of the same name
};

struct Slot;
typedef int (*OpCall)(Slot* slots);

struct ArgSpec {
    Kind kind;
    Src src;
    const char* name;  // request or response member; nullptr: not answered
    uint32_t size;
    const EnumTable* table;
    const RecordKind* rec;
    /// kOutTextSized: the operation reporting the text's size.
    OpCall sizeOp = nullptr;
    /// In and out entries: the answered name when it is not the request's.
    const char* answer = nullptr;
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

// --- Compile-time agreement of a row's specs with its operation ----------

enum Shape { kShValue, kShRef, kShText, kShTextOut, kShRec, kShRecOut, kShNone };

constexpr Shape kindShape(Kind k)
{
    switch (k) {
    case kU32: case kCount: case kIpv4: case kEnum: case kBool: case kVrf: case kByte: case kByteNonZero:
        return kShValue;
    case kText: case kBoundedText: case kCommandText: case kFileName: case kRawText:
        return kShText;
    case kAddr: case kPrefix: case kMac: case kRec:
        return kShRec;
    case kInOutU32: case kInOutIpv4: case kInOutEnum: case kOutU32: case kOutIpv4: case kOutBool: case kOutEnum:
        return kShRef;
    case kOutText: case kOutTextSized:
        return kShTextOut;
    case kInOutRec: case kInOutAddr: case kOutMac: case kOutAddr: case kOutRec:
        return kShRecOut;
    default:
        return kShNone;
    }
}

/// Size of the record a parameter points to (0 for any other parameter).
template <class T>
constexpr size_t recordBytes()
{
    if constexpr (std::is_pointer<T>::value && !std::is_void<std::remove_cv_t<std::remove_pointer_t<T>>>::value)
        return sizeof(std::remove_pointer_t<T>);
    else
        return 0;
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
        constexpr size_t sizes[sizeof...(A) + 1] = {recordBytes<A>()..., 0};
        if (opArgs(a) != sizeof...(A))
            return false;
        for (size_t i = 0; i < sizeof...(A); ++i) {
            if (kindShape(a[i].kind) != shapes[i])
                return false;
            // A program's record must be the one the operation takes. (An entry
            // without its record kind stops the build too: the compiler cannot
            // read through a null pointer. No comparison of the pointer with
            // null here: with the null-pointer sanitizer that is no constant.)
            if ((a[i].kind == kRec || a[i].kind == kInOutRec || a[i].kind == kOutRec) &&
                a[i].rec->size != sizes[i])
                return false;
        }
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

// --- Request readers ----------------------------------------------------------

/// The parameters of one request: its text (query string of GET and DELETE,
/// body of POST and PUT), that text split at "&" and the body as JSON.
struct Request {
    uint32_t method = 0;
    CStr text;
    JsonPtr body;
    char** list = nullptr;
    Request() = default;
    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;
    ~Request();
};

/// Reads the request of route `r`: the text when `body` is set or the route
/// is a GET or DELETE; the body as a JSON object when `body` is set (10003,
/// logged, when it is none); the split list when `split` is set and the route
/// is a GET or DELETE. 0 or 10003.
ResultCode readRequest(const RouteCtx& r, bool body, bool split, Request* q);

/// One request value: a JSON member, or query text.
struct Value {
    bool found = false;
    const cJSON* item = nullptr;
    std::string text;
};

/// The value named `name` in the request: a body member (found without regard
/// to case), a query value by the split reader (the first "&" piece that
/// contains the name; its text after "="), or by the exact reader (the name
/// where it starts the query string or follows "&" and is followed by "=").
/// POST and PUT take query values from QUERY_STRING by the exact reader.
Value lookup(const Request& q, Src src, const char* name);
/// The member `name` of a JSON object (nullptr: none) as a Value.
Value member(const cJSON* obj, const char* name);
/// Exact reader: the value of `name` in QUERY_STRING up to the next "&".
bool queryExactText(const char* name, std::string* out);

/// A number: absent gives `dflt`; query text its leading decimal digits; a
/// JSON number a whole 0..4294967295; a JSON string all decimal digits.
/// Anything else 10003.
ResultCode numberOf(const Value& v, uint32_t dflt, uint32_t* out);
/// Text of a value (absent: empty); false when it is present but not a string.
bool textOf(const Value& v, std::string* out);
/// A yes/no value: true 1, false 0, otherwise as numberOf (absent: 0).
ResultCode flagOf(const Value& v, uint32_t* out);
/// An address of either family from its text: IPv4 first, then IPv6.
bool parseAddr(const std::string& t, InetAddr* out);
/// The text of an address record: IPv4 or IPv6, "0.0.0.0" for no family.
std::string addrText(uint32_t family, const uint8_t* addr);

// --- Answers --------------------------------------------------------------------

/// Prints the one envelope of a route: on success the data object (when it has
/// members) under the directory's data member; `newline` after it.
int reply(const RouteCtx& r, ResultCode code, JsonPtr data, bool newline);
/// The same with the data object already printed as text (nullptr: none).
int replyText(const RouteCtx& r, ResultCode code, const char* data, bool newline);

// --- Classes ---------------------------------------------------------------

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
/// Setter whose success answer is the bare data object (no envelope) and a
/// newline; a failure answers the envelope.
int bareAnswer(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);
/// Getter of a check: the switch refusing what it checked (-22) answers
/// result 0 with every output 0 (an enumeration's word for 0: "false").
int validityCheck(const RouteCtx& r, const ArgSpec* specs, size_t n, OpCall op);

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
/// Chooses by the exact query number `name` (absent: 0) between the texts of
/// CHOICE(numbers, when, otherwise): `when` for a number the list names,
/// `otherwise` for any other (a unit's own answers against every other unit's).
int fixedChoice(const RouteCtx& r, const char* name, const char* data);
/// Answers NUMBERED(least, text) with every "%u" of the text replaced by the
/// exact query number `name` (absent: 0); a number below `least` counts as `least`.
int fixedNumbered(const RouteCtx& r, const char* name, const char* data);
/// Answers SUCCESSOR(limit, text) with every "%u" of the text replaced by the
/// exact query number `name` (absent: 0) plus one while that number is below
/// `limit`; a number from `limit` on answers 10023 without data (the end of
/// a walk through 0 .. limit).
int fixedSuccessor(const RouteCtx& r, const char* name, const char* data);
/// Answers `data` for a body that is JSON text of any kind; a missing body or
/// one that does not parse answers 10003 without data.
int fixedJsonBody(const RouteCtx& r, const char* name, const char* data);
/// The parts of a fixedChoice, fixedNumbered or fixedSuccessor text, split at HF_FIXED_PART.
std::vector<std::string> fixedParts(const char* data);

/// Stub: answers 17002 without reading the request; writes end in a newline.
int stub(bool newline);

// --- What the table test and the benchmarks see of a program's rows ------------

/// One row of a program's route table.
struct RowInfo {
    const char* row;  // "STUB", "ROUTE", "FIXED" or "CLI"
    const Directory* dir;
    const char* leaf;
    uint32_t method;
    const char* handler;  // exported name
    const char* cls;      // class (view of a FIXED row; empty for a STUB row)
};

}  // namespace hf

// Builders of the route rows' argument entries: Q... query inputs (QX by the
// exact reader), B... body members, OUT... answered outputs; tables and
// records are named as the row's program declares them.
// An answered name "a.b" stands as member b of the object a of the answer.
#define Q(kind, name) hf::ArgSpec{hf::kind, hf::kQuery, name, 0, nullptr, nullptr}
#define QX(kind, name) hf::ArgSpec{hf::kind, hf::kQueryExact, name, 0, nullptr, nullptr}
#define QXD(kind, name, dflt) hf::ArgSpec{hf::kind, hf::kQueryExactDefault, name, dflt, nullptr, nullptr}
#define QT(name, size) hf::ArgSpec{hf::kText, hf::kQuery, name, size, nullptr, nullptr}
#define B(kind, name) hf::ArgSpec{hf::kind, hf::kBody, name, 0, nullptr, nullptr}
#define BD(kind, name, dflt) hf::ArgSpec{hf::kind, hf::kBody, name, dflt, nullptr, nullptr}
#define BT(name, size) hf::ArgSpec{hf::kText, hf::kBody, name, size, nullptr, nullptr}
#define BE(name, table) hf::ArgSpec{hf::kEnum, hf::kBody, name, 0, &table, nullptr}
#define BR(rec, name) hf::ArgSpec{hf::kRec, hf::kBody, name, 0, nullptr, &rec}
#define BRM(rec, name) hf::ArgSpec{hf::kRec, hf::kBody, name, 1, nullptr, &rec}
#define BIO(rec, name) hf::ArgSpec{hf::kInOutRec, hf::kBody, name, 0, nullptr, &rec}
/// An in/out record read as `name` and answered as `answer` (a key in, the next key out).
#define BION(rec, name, answer) hf::ArgSpec{hf::kInOutRec, hf::kBody, name, 0, nullptr, &rec, nullptr, answer}
/// An in/out word of `table` read as `name` and answered as `answer`.
#define BIOEN(name, table, answer) hf::ArgSpec{hf::kInOutEnum, hf::kBody, name, 0, &table, nullptr, nullptr, answer}
/// A required record from the query text after the first "name=" anywhere in it.
#define QFRM(rec, name) hf::ArgSpec{hf::kRec, hf::kQueryFound, name, 1, nullptr, &rec}
/// A word of `table` from the query text after the first "name=" anywhere in it.
#define QFE(name, table) hf::ArgSpec{hf::kEnum, hf::kQueryFound, name, 0, &table, nullptr}
/// An exact-query number's low 8 bits, absent or 0 giving `dflt`; a body
/// member's low 8 bits, absent giving `dflt` (a present 0 stays 0); the same
/// from a body that may be absent or no JSON at all.
#define QX8(name, dflt) hf::ArgSpec{hf::kByteNonZero, hf::kQueryExactDefault, name, dflt, nullptr, nullptr}
#define B8(name, dflt) hf::ArgSpec{hf::kByte, hf::kBody, name, dflt, nullptr, nullptr}
#define BANY8(name, dflt) hf::ArgSpec{hf::kByte, hf::kBodyIfAny, name, dflt, nullptr, nullptr}
/// An in/out number of the exact query (absent: `dflt`) answered as `answer`.
#define QXIO(kind, name, dflt, answer) \
    hf::ArgSpec{hf::kind, hf::kQueryExactDefault, name, dflt, nullptr, nullptr, nullptr, answer}
/// A required address of at most n - 1 characters: from the exact query,
/// from the body, or in and out from the exact query answered as `answer`.
#define QXADDR(name, n) hf::ArgSpec{hf::kAddr, hf::kQueryExact, name, n, nullptr, nullptr}
#define BADDR(name, n) hf::ArgSpec{hf::kAddr, hf::kBody, name, n, nullptr, nullptr}
#define QXIOADDR(name, n, answer) hf::ArgSpec{hf::kInOutAddr, hf::kQueryExact, name, n, nullptr, nullptr, nullptr, answer}
#define OUT(kind, name) hf::ArgSpec{hf::kind, hf::kNoSrc, name, 0, nullptr, nullptr}
#define OUTE(name, table) hf::ArgSpec{hf::kOutEnum, hf::kNoSrc, name, 0, &table, nullptr}
/// The same, the call starting with the value `preset`.
#define OUTEP(name, table, preset) hf::ArgSpec{hf::kOutEnum, hf::kNoSrc, name, preset, &table, nullptr}
#define OUTT(name, size) hf::ArgSpec{hf::kOutText, hf::kNoSrc, name, size, nullptr, nullptr}
#define OUTR(rec, name) hf::ArgSpec{hf::kOutRec, hf::kNoSrc, name, 0, nullptr, &rec}
#define ANSWER(kind, name, value) hf::ArgSpec{hf::kind, hf::kNoSrc, name, value, nullptr, nullptr}
/// The one entry of a row whose operation takes no argument and which answers nothing.
#define NO_ARGS hf::ArgSpec{hf::kAnswerU32, hf::kNoSrc, nullptr, 0, nullptr, nullptr}

// --- Counted text buffers ------------------------------------------------------
// Row forms of text members the switch takes or answers in counted buffers, for
// every program (one line each in a row):
//   BS("sys_name")          body string (absent: "") into a zeroed 256-byte buffer,
//                           sent with its length + 1; over 255 characters: 10003
//   QS("appName")           the same from the query string (exact reader)
//   BSN(name, n), QSN(...)  the same with an n-byte buffer (at most n - 1 characters)
//   BCMD(name, n)           as BSN, and a control character is refused (10003)
//   BFILE(name, n)          as BCMD, and a file name holding "/" or being ".." (10003)
//   QRAW(name, n)           raw exact-query text cut to n - 1, sent with size n
//   OUTS(name)              text answered from a zeroed 256-byte buffer
//   OUTSZ(name, sizeOp, k)  text answered from a buffer of the size the operation
//                           sizeOp(uint32_t*) reports, plus k (256 bytes when it
//                           fails or reports 0; at most kSizedTextMax)
//   ECHO(name)              answers the request value of the input of that name, in
//                           the input's place among the answers (a key leads them)
namespace hf {
inline constexpr uint32_t kTextBuffer = 256;
inline constexpr uint32_t kSizedTextMax = 65536;
}  // namespace hf
#define BSN(name, n) hf::ArgSpec{hf::kBoundedText, hf::kBody, name, n, nullptr, nullptr}
#define BS(name) BSN(name, hf::kTextBuffer)
#define QSN(name, n) hf::ArgSpec{hf::kBoundedText, hf::kQueryExact, name, n, nullptr, nullptr}
#define QS(name) QSN(name, hf::kTextBuffer)
#define BCMD(name, n) hf::ArgSpec{hf::kCommandText, hf::kBody, name, n, nullptr, nullptr}
#define BFILE(name, n) hf::ArgSpec{hf::kFileName, hf::kBody, name, n, nullptr, nullptr}
#define QRAW(name, n) hf::ArgSpec{hf::kRawText, hf::kQueryExact, name, n, nullptr, nullptr}
#define OUTS(name) OUTT(name, hf::kTextBuffer)
#define OUTSZ(name, sizeOp, k) \
    hf::ArgSpec{hf::kOutTextSized, hf::kNoSrc, name, k, nullptr, nullptr, &hf::OpThunk<decltype(&sizeOp), &sizeOp>::call}
#define ECHO(name) hf::ArgSpec{hf::kAnswerEcho, hf::kNoSrc, name, 0, nullptr, nullptr}

// Data of the fixed views fixedChoice and fixedNumbered: parts joined by a
// separator no JSON text holds (a raw control character).
#define HF_FIXED_PART "\x1e"
#define CHOICE(numbers, when, otherwise) numbers HF_FIXED_PART when HF_FIXED_PART otherwise
#define NUMBERED(least, text) #least HF_FIXED_PART text
#define SUCCESSOR(limit, text) #limit HF_FIXED_PART text
