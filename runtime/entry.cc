// Program entry.
#include "runtime/entry.h"

#include <cstdio>

#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/open_client.h"

int programMain(const char* clientName, const RouteReg* routes, size_t count)
{
    logOpen("oxel_cgi", kLogToFile, 8);
    if (initHandler(clientName, &clientHandle) < 0) {
        logClose();
        return 255;
    }
    RouteTree* tree = routeTreeCreate();
    if (!tree)
        return 1;
    for (size_t i = 0; i < count; ++i)
        httpdAddCContent(tree, routes[i].dir, routes[i].leaf, routes[i].method, 1, routes[i].handler);
    httpdProcessRequest(tree);
    fflush(stdout);
    openapiClientTearDown(&clientHandle);
    logClose();
    return 0;
}

int replyStub(bool newline)
{
    replyEnvelope(kResultUnsupported, nullptr, nullptr, newline);
    return 0;
}
