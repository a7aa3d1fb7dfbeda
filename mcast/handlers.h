// Exported handlers of swarmgate, one per route of its table.
#pragma once

#define DIRECTORY(id, path, member)
#define STUB(dir, leaf, method, handler, newline) extern "C" int handler(void);
#include "mcast/routes.def"
#undef DIRECTORY
#undef STUB
