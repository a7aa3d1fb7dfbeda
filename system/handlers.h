// Exported handlers of coregate, one per route of its table.
#pragma once

#define DIRECTORY(id, path, member)
#define STUB(dir, leaf, method, handler, newline) extern "C" int handler(void);
#include "system/routes.def"
#undef DIRECTORY
#undef STUB
