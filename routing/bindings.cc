// Binds every route of pathgate to its handler class.
#include "routing/handlers.h"

#include "runtime/entry.h"

#define STUB(dir, leaf, method, handler, newline) \
    int handler(void) { return replyStub(newline); }
#include "routing/routes.def"
#undef STUB
