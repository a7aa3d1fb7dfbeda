// Checked reading of the state file. Every loader reads the JSON tree
// through StateNode: a place in the tree with its path ("routing.ospf.traps",
// "units[0].model"). A member of the wrong shape is a fault that names its
// path and what was expected there; an absent member leaves the field as it
// is, so that files written before the member existed still load. The first
// fault is kept and the file is refused; reading goes on after a fault
// without effect on the outcome, so loaders need not test each step.
#pragma once

#include <cjson/cJSON.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace sim {

/// The first fault found in a state file.
class StateFaults {
public:
    void note(const std::string& path, const std::string& what);
    bool ok() const { return first_.empty(); }
    const std::string& text() const { return first_; }

private:
    std::string first_;
};

class StateNode {
public:
    StateNode(const cJSON* json, std::string path, StateFaults* faults)
        : json_(json), path_(std::move(path)), faults_(faults)
    {
    }

    bool present() const { return json_ != nullptr; }
    const std::string& path() const { return path_; }
    /// Notes a fault at this node.
    void fault(const std::string& what) const;

    /// Member `name` of this object; not present when absent (or when this
    /// node, present, is no object: a fault).
    StateNode member(const char* name) const;
    /// The same for a member without which the entry means nothing: its
    /// absence is a fault.
    StateNode required(const char* name) const;

    /// Typed members of this object; an absent member leaves *v unchanged.
    void u32(const char* name, uint32_t* v) const { member(name).asU32(v); }
    /// A 64-bit counter: decimal text (exact beyond 2^53) or a number.
    void u64(const char* name, uint64_t* v) const { member(name).asU64(v); }
    void text(const char* name, std::string* v) const { member(name).asText(v); }
    void flag(const char* name, bool* v) const { member(name).asFlag(v); }
    /// Exactly `size` bytes written as hex text.
    void bytes(const char* name, size_t size, std::string* v) const { member(name).asBytes(size, v); }
    template <class R>
    void record(const char* name, R* r) const
    {
        member(name).asRecord(r);
    }

    /// This node's own value; false (a fault when present) unless it has
    /// the shape asked for, and *v is then unchanged.
    bool asU32(uint32_t* v) const;
    bool asU64(uint64_t* v) const;
    bool asText(std::string* v) const;
    bool asFlag(bool* v) const;
    bool asBytes(size_t size, std::string* v) const;
    /// Any number of bytes written as hex text.
    bool asHex(std::string* v) const;
    template <class R>
    bool asRecord(R* r) const
    {
        std::string b;
        if (!asBytes(sizeof *r, &b))
            return false;
        memcpy(static_cast<void*>(r), b.data(), sizeof *r);
        return true;
    }
    /// An array of exactly `n` whole numbers.
    bool asTuple(size_t n, std::vector<uint32_t>* v) const;

    /// Each element of this array, in order; none when absent.
    template <class F>
    void eachElement(F&& f) const
    {
        if (!isA(cJSON_Array, "an array"))
            return;
        size_t i = 0;
        const cJSON* e;
        cJSON_ArrayForEach(e, json_) f(StateNode(e, path_ + "[" + std::to_string(i++) + "]", faults_));
    }
    /// Each member of this object, with its name; none when absent.
    template <class F>
    void eachMember(F&& f) const
    {
        if (!isA(cJSON_Object, "an object"))
            return;
        const cJSON* e;
        cJSON_ArrayForEach(e, json_) f(std::string(e->string), StateNode(e, childPath(e->string), faults_));
    }
    /// Each member of this object, whose names must be decimal numbers of
    /// 32 bits, with that number.
    template <class F>
    void eachNumbered(F&& f) const
    {
        eachMember([&](const std::string& name, const StateNode& v) {
            uint32_t key;
            if (numberedKey(name, &key))
                f(key, v);
            else
                v.fault("a member name of decimal digits expected");
        });
    }

    /// Present and of `type`; a fault naming `expected` when present otherwise.
    bool isA(int type, const char* expected) const;

private:
    /// Notes that `expected` was expected here and what was found; false.
    bool wrong(const std::string& expected) const;
    std::string childPath(const char* name) const;
    static bool numberedKey(const std::string& name, uint32_t* key);

    const cJSON* json_;
    std::string path_;
    StateFaults* faults_;
};

}  // namespace sim
