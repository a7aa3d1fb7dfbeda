// Client library. The handle holds the connection to the switch control
// process; registration connects lazily, at the first call, so a server that
// is not up yet is seen by the connectivity check, which is where callers
// wait for it, and the server finds the first frames waiting when it accepts
// the connection. The registration frame, which has no answer, travels in
// the same write as the first call (or the teardown): the server reads the
// same frames in the same order, and is woken once for both.
//
// Every wait for the switch is bounded (replyTimeoutMs): a request process
// must end even when the switch stops in the middle of a call. A call whose
// answer does not come in time fails with kOpenRpcError, and the handle then
// fails its later calls at once: a switch that has stopped answering would
// otherwise cost the process one full wait per call. Registering the handle
// again gives it a new chance.
#include "platform/openclt/client.h"

#include <unistd.h>

#include <cstdio>

namespace openclt {

namespace {

constexpr uint32_t kMagic = 0x4f43544cu;

struct HandleState {
    uint32_t magic;
    int32_t fd;
    char name[128];
    bool registerPending;  // connected, registration frame not sent yet
    bool stalled;          // the switch let a wait run out
    int32_t timeoutMs;     // bound of every wait for the switch
};
static_assert(sizeof(HandleState) <= sizeof(OpenClientHandle), "handle state fits the opaque record");

HandleState* stateOf(OpenClientHandle* client)
{
    return reinterpret_cast<HandleState*>(client->opaque);
}

bool connectServer(HandleState* st)
{
    if (st->fd >= 0)
        return true;
    bool timedOut = false;
    int fd = connectSwitch(socketPath(), st->timeoutMs, &timedOut);
    if (fd < 0) {
        st->stalled = timedOut;
        return false;
    }
    st->fd = fd;
    st->registerPending = true;
    return true;
}

// Sends one request, preceded by the registration frame while that is pending.
bool sendRequest(HandleState* st, const Request& req, bool* timedOut)
{
    if (!st->registerPending)
        return sendFrame(st->fd, encodeRequest(req), timedOut);
    Request reg;
    reg.type = kMsgRegister;
    reg.name = st->name;
    const std::string frames[2] = {encodeRequest(reg), encodeRequest(req)};
    if (!sendFrames(st->fd, frames, 2, timedOut))
        return false;
    st->registerPending = false;
    return true;
}

void dropConnection(HandleState* st)
{
    if (st->fd >= 0)
        close(st->fd);
    st->fd = -1;
}

}  // namespace

int32_t roundTrip(OpenClientHandle* client, Request& req, std::vector<std::string>* outs)
{
    if (!client)
        return kOpenInvalidParam;
    HandleState* st = stateOf(client);
    if (st->magic != kMagic || st->stalled)
        return kOpenRpcError;
    if (!connectServer(st))
        return kOpenRpcError;
    std::string answer;
    Response resp;
    bool timedOut = false;
    if (!sendRequest(st, req, &timedOut) || !recvFrame(st->fd, &answer, &timedOut) ||
        !decodeResponse(answer, &resp)) {
        // A late answer would be taken for the next call's: the connection
        // goes either way.
        dropConnection(st);
        st->stalled = timedOut;
        return kOpenRpcError;
    }
    *outs = std::move(resp.outs);
    return resp.status;
}

}  // namespace openclt

using openclt::invoke;

extern "C" {

int openapiClientRegister(const char* clientName, OpenClientHandle* client)
{
    if (!clientName || !client)
        return kOpenInvalidParam;
    memset(client, 0, sizeof *client);
    auto* st = reinterpret_cast<openclt::HandleState*>(client->opaque);
    st->magic = openclt::kMagic;
    st->fd = -1;
    st->timeoutMs = openclt::replyTimeoutMs();
    snprintf(st->name, sizeof st->name, "%s", clientName);
    return kOpenOk;
}

int openapiClientTearDown(OpenClientHandle* client)
{
    if (!client)
        return kOpenInvalidParam;
    auto* st = reinterpret_cast<openclt::HandleState*>(client->opaque);
    if (st->magic != openclt::kMagic)
        return kOpenRpcError;
    if (st->fd >= 0) {
        openclt::Request bye;
        bye.type = openclt::kMsgTearDown;
        bye.name = st->name;
        openclt::sendRequest(st, bye, nullptr);
    }
    openclt::dropConnection(st);
    st->magic = 0;
    return kOpenOk;
}

int l7proc_crashlog_register(void)
{
    return kOpenOk;
}

#define OP(name, keys, ...) \
    int name(OpenClientHandle* client, OCL_PARAMS(__VA_ARGS__)) { return invoke(client, #name, OCL_NAMES(__VA_ARGS__)); }
#define OP0(name) \
    int name(OpenClientHandle* client) { return invoke(client, #name); }
#include "platform/openclt/ops.def"
#undef OP
#undef OP0
}
