// Records of the state file described once. Each record type has a table
// with one row per member: its name in the file and the codec that writes
// and reads it. The generic save and load walk the table, so a member is
// written and read by the same row and reading goes through the checked
// reader of state_reader.h (its faults name the member's path).
//
//   const Table<Unit> kUnitTable = {
//       field<&Unit::number>("number"),
//       field<&Unit::model>("model"),
//   };
//
// Codecs: U32, Counter (64 bits as decimal text), Text, Flag (true/false),
// FlagNumber (0/1), Hex (any bytes), Bytes<N>, Wire<T> (a wire record as
// hex), Obj<R, table>, List<C> (an array), Numbered<C> (an object whose
// member names are decimal keys), NamedMap<C> (an object of any names),
// TupleSet (a set of pairs or tuples of numbers as arrays), Tuple<members...>.
// Collections read from the file replace what the record held; an absent
// member leaves it as it is.
#pragma once

#include <cjson/cJSON.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "sim/state_reader.h"

namespace sim {

/// Lower-case hex of a byte string, and back.
std::string hexOf(const std::string& bytes);
bool unhex(const std::string& hex, std::string* bytes);

namespace schema {

template <class R>
struct Field;

/// A record as the state file keeps it: its members in file order.
template <class R>
using Table = std::vector<Field<R>>;

template <class R>
struct Field {
    const char* name;
    void (*save)(cJSON* obj, const Field& f, const R& r);
    void (*load)(const StateNode& obj, const Field& f, R& r);
    const char* key = nullptr;  // keyed lists: the member of each element that holds its key
    bool required = false;      // its absence from a present record is a fault
};

template <class R>
void saveRecord(cJSON* obj, const R& r, const Table<R>& t)
{
    for (const Field<R>& f : t)
        f.save(obj, f, r);
}

template <class R>
void loadRecord(const StateNode& n, R& r, const Table<R>& t)
{
    for (const Field<R>& f : t) {
        if (f.required)
            n.required(f.name);
        f.load(n, f, r);
    }
}

template <class R>
bool tableHas(const Table<R>& t, const char* name)
{
    for (const Field<R>& f : t)
        if (std::string(f.name) == name)
            return true;
    return false;
}

// --- Codecs: make a JSON value of a C++ value, read one back ---------------

struct U32 {
    static cJSON* make(uint32_t v) { return cJSON_CreateNumber(v); }
    static void read(const StateNode& n, uint32_t& v) { n.asU32(&v); }
};

/// Counters beyond 2^53 would lose digits as JSON numbers: decimal text.
struct Counter {
    static cJSON* make(uint64_t v) { return cJSON_CreateString(std::to_string(v).c_str()); }
    static void read(const StateNode& n, uint64_t& v) { n.asU64(&v); }
};

struct Text {
    static cJSON* make(const std::string& v) { return cJSON_CreateString(v.c_str()); }
    static void read(const StateNode& n, std::string& v) { n.asText(&v); }
};

struct Flag {
    static cJSON* make(bool v) { return cJSON_CreateBool(v); }
    static void read(const StateNode& n, bool& v) { n.asFlag(&v); }
};

/// A flag kept as the number 0 or 1 (any other number reads as set).
struct FlagNumber {
    static cJSON* make(bool v) { return cJSON_CreateNumber(v ? 1 : 0); }
    static void read(const StateNode& n, bool& v)
    {
        uint32_t x = v;
        if (n.asU32(&x))
            v = x != 0;
    }
};

struct Hex {
    static cJSON* make(const std::string& v) { return cJSON_CreateString(hexOf(v).c_str()); }
    static void read(const StateNode& n, std::string& v) { n.asHex(&v); }
};

template <size_t N>
struct Bytes {
    static cJSON* make(const std::string& v) { return cJSON_CreateString(hexOf(v).c_str()); }
    static void read(const StateNode& n, std::string& v) { n.asBytes(N, &v); }
};

/// A record whose layout is the wire's, as its bytes.
template <class T>
struct Wire {
    static cJSON* make(const T& v)
    {
        return cJSON_CreateString(hexOf(std::string(reinterpret_cast<const char*>(&v), sizeof v)).c_str());
    }
    static void read(const StateNode& n, T& v) { n.asRecord(&v); }
};

template <class R, const Table<R>& T>
struct Obj {
    static cJSON* make(const R& v)
    {
        cJSON* o = cJSON_CreateObject();
        saveRecord(o, v, T);
        return o;
    }
    static void read(const StateNode& n, R& v)
    {
        if (n.present())
            loadRecord(n, v, T);
    }
};

/// A sequence (vector, deque) of elements written by codec C.
template <class C>
struct List {
    template <class S>
    static cJSON* make(const S& v)
    {
        cJSON* a = cJSON_CreateArray();
        for (const auto& e : v)
            cJSON_AddItemToArray(a, C::make(e));
        return a;
    }
    template <class S>
    static void read(const StateNode& n, S& v)
    {
        if (!n.isA(cJSON_Array, "an array"))
            return;
        v.clear();
        n.eachElement([&](const StateNode& e) {
            typename S::value_type x{};
            C::read(e, x);
            v.push_back(x);
        });
    }
};

/// A map by number as an object whose member names are the numbers.
template <class C>
struct Numbered {
    template <class M>
    static cJSON* make(const M& m)
    {
        cJSON* o = cJSON_CreateObject();
        for (const auto& kv : m)
            cJSON_AddItemToObject(o, std::to_string(kv.first).c_str(), C::make(kv.second));
        return o;
    }
    template <class M>
    static void read(const StateNode& n, M& m)
    {
        if (!n.isA(cJSON_Object, "an object"))
            return;
        m.clear();
        n.eachNumbered([&](uint32_t key, const StateNode& e) {
            typename M::mapped_type x{};
            C::read(e, x);
            m[key] = x;
        });
    }
};

/// A map by name as an object.
template <class C>
struct NamedMap {
    template <class M>
    static cJSON* make(const M& m)
    {
        cJSON* o = cJSON_CreateObject();
        for (const auto& kv : m)
            cJSON_AddItemToObject(o, kv.first.c_str(), C::make(kv.second));
        return o;
    }
    template <class M>
    static void read(const StateNode& n, M& m)
    {
        if (!n.isA(cJSON_Object, "an object"))
            return;
        m.clear();
        n.eachMember([&](const std::string& key, const StateNode& e) { C::read(e, m[key]); });
    }
};

/// A set of pairs or tuples of numbers, each as an array of its numbers.
struct TupleSet {
    template <class S>
    static cJSON* make(const S& s)
    {
        cJSON* a = cJSON_CreateArray();
        for (const auto& e : s)
            cJSON_AddItemToArray(a, std::apply([](auto... x) { return numbers({x...}); }, e));
        return a;
    }
    template <class S>
    static void read(const StateNode& n, S& s)
    {
        using E = typename S::value_type;
        constexpr size_t kSize = std::tuple_size<E>::value;
        if (!n.isA(cJSON_Array, "an array"))
            return;
        s.clear();
        n.eachElement([&](const StateNode& e) {
            std::vector<uint32_t> t;
            if (e.asTuple(kSize, &t))
                s.insert(fromVector<E>(t, std::make_index_sequence<kSize>()));
        });
    }
    static cJSON* numbers(std::initializer_list<uint32_t> v)
    {
        cJSON* t = cJSON_CreateArray();
        for (uint32_t x : v)
            cJSON_AddItemToArray(t, cJSON_CreateNumber(x));
        return t;
    }
    template <class E, size_t... I>
    static E fromVector(const std::vector<uint32_t>& t, std::index_sequence<I...>)
    {
        return E(t[I]...);
    }
};

/// A record of numbers as an array of them, in the order given.
template <auto... M>
struct Tuple {
    template <class R>
    static cJSON* make(const R& r)
    {
        return TupleSet::numbers({(r.*M)...});
    }
    template <class R>
    static void read(const StateNode& n, R& r)
    {
        std::vector<uint32_t> t;
        if (!n.asTuple(sizeof...(M), &t))
            return;
        size_t i = 0;
        ((r.*M = t[i++]), ...);
    }
};

/// A map by number of records of numbers, each as an array: its key, then
/// the record's numbers.
template <auto... M>
struct KeyedTuple {
    template <class Map>
    static cJSON* make(const Map& m)
    {
        cJSON* a = cJSON_CreateArray();
        for (const auto& kv : m)
            cJSON_AddItemToArray(a, TupleSet::numbers({kv.first, (kv.second.*M)...}));
        return a;
    }
    template <class Map>
    static void read(const StateNode& n, Map& m)
    {
        if (!n.isA(cJSON_Array, "an array"))
            return;
        m.clear();
        n.eachElement([&](const StateNode& e) {
            std::vector<uint32_t> t;
            if (!e.asTuple(1 + sizeof...(M), &t))
                return;
            typename Map::mapped_type r{};
            size_t i = 1;
            ((r.*M = t[i++]), ...);
            m[t[0]] = r;
        });
    }
};

template <class T>
struct DefaultCodec;
template <>
struct DefaultCodec<uint32_t> {
    using type = U32;
};
template <>
struct DefaultCodec<uint64_t> {
    using type = Counter;
};
template <>
struct DefaultCodec<std::string> {
    using type = Text;
};
template <>
struct DefaultCodec<bool> {
    using type = Flag;
};
template <>
struct DefaultCodec<std::map<uint32_t, uint32_t>> {
    using type = Numbered<U32>;
};

template <class P>
struct MemberOf;
template <class R, class M>
struct MemberOf<M R::*> {
    using Record = R;
    using Type = M;
};
template <auto P>
using RecordOf = typename MemberOf<decltype(P)>::Record;
template <auto P>
using TypeOf = typename MemberOf<decltype(P)>::Type;

/// The row of member P under `name`, written by codec C.
template <auto P, class C = typename DefaultCodec<TypeOf<P>>::type>
Field<RecordOf<P>> field(const char* name)
{
    using R = RecordOf<P>;
    return Field<R>{name,
                    [](cJSON* o, const Field<R>& f, const R& r) { cJSON_AddItemToObject(o, f.name, C::make(r.*P)); },
                    [](const StateNode& o, const Field<R>& f, R& r) { C::read(o.member(f.name), r.*P); }};
}

/// The same for a member without which the record means nothing.
template <auto P, class C = typename DefaultCodec<TypeOf<P>>::type>
Field<RecordOf<P>> requiredField(const char* name)
{
    Field<RecordOf<P>> f = field<P, C>(name);
    f.required = true;
    return f;
}

/// A map by number of records (table T) as an array of objects, each with
/// its key as member `key` (written once when the record has that member
/// too).
template <auto P, const auto& T>
Field<RecordOf<P>> keyed(const char* name, const char* key)
{
    using R = RecordOf<P>;
    using E = typename TypeOf<P>::mapped_type;
    Field<R> f{name,
               [](cJSON* o, const Field<R>& f, const R& r) {
                   cJSON* a = cJSON_AddArrayToObject(o, f.name);
                   for (const auto& kv : r.*P) {
                       cJSON* e = cJSON_CreateObject();
                       if (!tableHas<E>(T, f.key))
                           cJSON_AddNumberToObject(e, f.key, kv.first);
                       saveRecord(e, kv.second, T);
                       cJSON_AddItemToArray(a, e);
                   }
               },
               [](const StateNode& o, const Field<R>& f, R& r) {
                   StateNode list = o.member(f.name);
                   if (!list.isA(cJSON_Array, "an array"))
                       return;
                   (r.*P).clear();
                   list.eachElement([&](const StateNode& e) {
                       uint32_t key = 0;
                       e.u32(f.key, &key);
                       E x{};
                       loadRecord(e, x, T);
                       (r.*P)[key] = x;
                   });
               }};
    f.key = key;
    return f;
}

/// A row of its own: how the member is written and read is stated in it.
template <class R>
Field<R> custom(const char* name, void (*save)(cJSON*, const Field<R>&, const R&),
                void (*load)(const StateNode&, const Field<R>&, R&))
{
    return Field<R>{name, save, load};
}

}  // namespace schema
}  // namespace sim
