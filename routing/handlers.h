// Exported handlers of pathgate, one per route of its table.
#pragma once

#define DIRECTORY(id, path, member)
#define STUB(dir, leaf, method, handler, newline) extern "C" int handler(void);
#define ROUTE(dir, leaf, method, handler, ...) extern "C" int handler(void);
#define CLI(dir, leaf, method, handler, ...) extern "C" int handler(void);
#define FIXED(dir, leaf, method, handler, ...) extern "C" int handler(void);
#include "routing/routes.def"
#undef DIRECTORY
#undef STUB
#undef ROUTE
#undef FIXED
#undef CLI
