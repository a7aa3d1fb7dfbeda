// Binds every route of coregate to its handler class.
#include "system/handlers.h"

#include "runtime/entry.h"

#define STUB(dir, leaf, method, handler, newline) \
    int handler(void) { return replyStub(newline); }
#include "system/routes.def"
#undef STUB
