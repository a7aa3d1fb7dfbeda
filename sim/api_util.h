// Helpers of the control API handlers: wire records in and out of a call's
// arguments, and the statuses they answer. Values a switch would refuse
// answer -22; missing entries -29; duplicates -24.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "sim/addr.h"
#include "sim/ops.h"

namespace sim {
namespace api {

constexpr int32_t kInvalid = kOpenInvalidParam;
constexpr int32_t kNotFound = kOpenNotFound;
constexpr int32_t kExists = kOpenExists;

/// A wire record from argument i (zeros beyond what the caller sent).
template <class R>
R recIn(const Call& c, size_t i)
{
    R r;
    memset(static_cast<void*>(&r), 0, sizeof r);
    const std::string& d = c.args[i].data;
    memcpy(static_cast<void*>(&r), d.data(), std::min(d.size(), sizeof r));
    return r;
}

template <class R>
void recOut(Call& c, size_t i, const R& r)
{
    c.args[i].data.assign(reinterpret_cast<const char*>(&r), sizeof r);
}

inline bool intfExists(const Call& c, uint32_t n) { return c.st.interfaces.count(n) != 0; }

/// Notes a change when an operation of the model succeeded; its status.
inline int32_t changedIfOk(Call& c, int32_t status)
{
    if (status == 0)
        c.changed = true;
    return status;
}

template <uint32_t V>
int32_t constantGet(Call& c)
{
    c.setU32(0, V);
    return 0;
}

}  // namespace api
}  // namespace sim
