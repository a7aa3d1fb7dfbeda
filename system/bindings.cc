// Binds every route of coregate to its handler class.
#include "system/handlers.h"

#include "runtime/entry.h"

#define DIRECTORY(id, path, member) constexpr const char* kDir_##id = path;
#define STUB(dir, leaf, method, handler, newline) \
    int handler(void) { return replyStub(newline); }
#include "system/routes.def"
#undef DIRECTORY
#undef STUB
