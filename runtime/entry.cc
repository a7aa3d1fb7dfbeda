// Program entry.
#include "runtime/entry.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/open_client.h"

int programMain(const char* clientName, RouteRegistrar registerRoutes)
{
    logOpen("oxel_cgi", kLogToFile, 8);
    if (initHandler(clientName, &clientHandle) < 0) {
        logClose();
        return 255;
    }
    RouteTree* tree = routeTreeCreate();
    if (!tree)
        return 1;
    registerRoutes(tree);
    httpdProcessRequest(tree);
    fflush(stdout);
    openapiClientTearDown(&clientHandle);
    logClose();
    return 0;
}

// An exception that nothing catches ends the process in std::terminate. The
// library's default handler for it names the exception's type through its
// demangler, whose tables are relocated (and so copied) by the dynamic
// loader at every start; programs linked with the library statically get
// this short handler instead.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    static const char kMsg[] = "terminate called after an uncaught exception\n";
    (void)!write(2, kMsg, sizeof kMsg - 1);
    abort();
}
}  // namespace __gnu_cxx
