// Binds every route of swarmgate to its handler class.
#include "mcast/handlers.h"

#include "runtime/entry.h"

#define DIRECTORY(id, path, member) constexpr const char* kDir_##id = path;
#define STUB(dir, leaf, method, handler, newline) \
    int handler(void) { return replyStub(newline); }
#include "mcast/routes.def"
#undef DIRECTORY
#undef STUB
