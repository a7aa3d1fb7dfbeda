// Client library. The handle holds the connection to the switch control
// process; registration connects lazily, at the first call, so a server that
// is not up yet is seen by the connectivity check, which is where callers
// wait for it, and the server finds the first frames waiting when it accepts
// the connection. The registration frame, which has no answer, travels in
// the same write as the first call (or the teardown): the server reads the
// same frames in the same order, and is woken once for both.
#include "platform/openclt/client.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/un.h>
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
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath());
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return false;
    }
    st->fd = fd;
    st->registerPending = true;
    return true;
}

// Sends one request, preceded by the registration frame while that is pending.
bool sendRequest(HandleState* st, const Request& req)
{
    if (!st->registerPending)
        return sendFrame(st->fd, encodeRequest(req));
    Request reg;
    reg.type = kMsgRegister;
    reg.name = st->name;
    const std::string frames[2] = {encodeRequest(reg), encodeRequest(req)};
    if (!sendFrames(st->fd, frames, 2))
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
    if (st->magic != kMagic)
        return kOpenRpcError;
    if (!connectServer(st))
        return kOpenRpcError;
    std::string answer;
    Response resp;
    if (!sendRequest(st, req) || !recvFrame(st->fd, &answer) || !decodeResponse(answer, &resp)) {
        dropConnection(st);
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
        openclt::sendRequest(st, bye);
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
