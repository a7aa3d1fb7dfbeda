// Owners of what a request must release: JSON trees and heap texts.
#pragma once

#include <cjson/cJSON.h>

#include <cstdlib>
#include <memory>

struct CjsonDelete {
    void operator()(cJSON* j) const { cJSON_Delete(j); }
};
/// A JSON tree deleted with its owner.
using JsonPtr = std::unique_ptr<cJSON, CjsonDelete>;

struct CFree {
    void operator()(void* p) const { free(p); }
};
/// A heap text (malloc'd by a reader or the JSON printer) freed with its owner.
using CStr = std::unique_ptr<char, CFree>;
