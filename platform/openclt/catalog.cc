// Operation catalog as the switch control process looks operations up. It
// lives apart from the frame code: client programs never look an operation
// up, so they link neither the table (and its relocations) nor the start-up
// construction of its vector.
#include <unordered_map>

#include "platform/openclt/wire.h"

namespace openclt {

namespace {

template <class... T>
struct KindList {
    static constexpr uint8_t kinds[sizeof...(T) > 0 ? sizeof...(T) : 1] = {ArgTraits<T>::kind...};
};

#define OP(name, keys, ...) {#name, keys, OCL_NARGS(__VA_ARGS__), KindList<__VA_ARGS__>::kinds},
#define OP0(name) {#name, 0, 0, nullptr},
const std::vector<OpInfo> kCatalog = {
#include "platform/openclt/ops.def"
};
#undef OP
#undef OP0

}  // namespace

const std::vector<OpInfo>& catalog() { return kCatalog; }

const OpInfo* findOp(const std::string& name)
{
    static const std::unordered_map<std::string, const OpInfo*> index = [] {
        std::unordered_map<std::string, const OpInfo*> m;
        for (const OpInfo& op : kCatalog)
            m.emplace(op.name, &op);
        return m;
    }();
    auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

}  // namespace openclt
