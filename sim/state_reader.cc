// The checked reader of the state file, and the hex text of bytes.
#include "sim/state_reader.h"

#include <errno.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sim/state_schema.h"

namespace sim {

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

}  // namespace sim
