// Socket loop of the switch control process. Each client (one request
// process) holds one connection for its life; frames are served in order.
// A malformed frame closes that connection and nothing else.
//
// No client can hold up the others: sockets never block, answers wait in a
// per-client buffer until the client takes them, and a client that leaves
// kOutputHighWater bytes of answers untaken is served nothing more (nor read)
// until it takes them; its requests pile up in its own socket. Each client
// gets at most kFramesPerTurn frames served before the others' turn. The
// simulator takes as many clients as its open-file limit allows (raised to
// the hard limit at start, less what it keeps for itself); a connection
// beyond that is closed at once, so its client fails instead of waiting.
#include "sim/server.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <vector>

#include "platform/openclt/wire.h"
#include "sim/cli_engine.h"
#include "sim/ops.h"

namespace sim {

namespace {

volatile sig_atomic_t g_stop = 0;
int g_listen = -1;

void onSignal(int) { g_stop = 1; }

struct Fault {
    int32_t status;
    long remaining;  // < 0: until cleared
};

struct Controls {
    std::map<std::string, Fault> faults;
    long connFailures = 0;
    bool unreachable = false;
    std::string freezeOn;  // the simulator stops itself when this operation is called
    std::deque<std::string> calls;
    // A change not yet in the state file, and since when (monotonic ms).
    bool unsaved = false;
    long long unsavedSince = 0;
};

long long nowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The state file follows the state a moment after the changes: once the
// switch has been idle for kSaveIdleMs, at the latest kSaveMaxDelayMs after
// the first unsaved change, and when the simulator stops. Printing the whole
// state for every change would cost each configuring request far more time
// than the request itself.
constexpr int kSaveIdleMs = 20;
constexpr long long kSaveMaxDelayMs = 1000;

void saveIfDue(const ServerOptions& opts, const SwitchState& st, Controls& ctl, bool idle)
{
    if (!ctl.unsaved || (!idle && nowMs() - ctl.unsavedSince < kSaveMaxDelayMs))
        return;
    ctl.unsaved = false;
    if (!opts.statePath.empty() && !saveState(st, opts.statePath))
        fprintf(stderr, "switchsim: cannot save state to %s\n", opts.statePath.c_str());
}

constexpr size_t kOutputHighWater = 256 * 1024;
constexpr int kFramesPerTurn = 64;
constexpr int kAcceptsPerTurn = 64;
// How long the listening socket rests when no descriptor is left to accept.
constexpr long long kAcceptRestMs = 100;
// Descriptors kept from clients: standard streams, the listening socket, the
// spare, the state file and the CLI's files.
constexpr rlim_t kReservedFds = 16;
constexpr size_t kMaxClients = 16384;
// Prefixes of consumed bytes are dropped from a buffer once this long.
constexpr size_t kCompactBytes = 64 * 1024;

struct Client {
    int fd = -1;
    std::string in;   // received; from inAt on, not served yet
    size_t inAt = 0;
    std::string out;  // answers; from outAt on, not taken by the client yet
    size_t outAt = 0;
    bool identified = false;
    bool control = false;
    bool inputEnded = false;  // the client will send nothing more
    bool drop = false;        // to be closed at the end of the turn
    std::string name;

    size_t pendingOut() const { return out.size() - outAt; }
    bool throttled() const { return pendingOut() >= kOutputHighWater; }
};

void logCall(Controls& ctl, const std::string& line)
{
    ctl.calls.push_back(line);
    if (ctl.calls.size() > 4096)
        ctl.calls.pop_front();
}

std::string describeArgs(const openclt::Request& req)
{
    std::string s;
    for (const openclt::WireArg& a : req.args) {
        s += ' ';
        if (a.kind == openclt::kArgIn && a.data.size() == 4) {
            uint32_t v;
            memcpy(&v, a.data.data(), 4);
            s += std::to_string(v);
        } else if (a.kind == openclt::kArgBufIn) {
            s += '"' + a.data.substr(0, strnlen(a.data.data(), a.data.size())) + '"';
        } else if (a.isOutput()) {
            s += '&';
        } else {
            s += hexOf(a.data);
        }
    }
    return s;
}

openclt::Response serveCall(const openclt::Request& reqIn, SwitchState& st, Controls& ctl, bool* changed)
{
    openclt::Request req = reqIn;
    openclt::Response resp;
    const openclt::OpInfo* op = openclt::findOp(req.name);
    if (!op) {
        resp.status = kOpenUnsupported;
        logCall(ctl, req.name + describeArgs(req) + " = " + std::to_string(resp.status));
        return resp;
    }
    bool shapeOk = static_cast<int>(req.args.size()) == op->argc;
    for (int i = 0; shapeOk && i < op->argc; ++i)
        shapeOk = req.args[i].kind == op->kinds[i];
    auto fault = ctl.faults.find(req.name);
    if (!shapeOk) {
        resp.status = kOpenInvalidParam;
    } else if (req.name == "rpcclt_openapiConnectivityCheck" && ctl.connFailures > 0) {
        --ctl.connFailures;
        resp.status = kOpenRpcError;
    } else if (fault != ctl.faults.end()) {
        resp.status = fault->second.status;
        if (fault->second.remaining > 0 && --fault->second.remaining == 0)
            ctl.faults.erase(fault);
    } else {
        Call call{op, req.args, st};
        resp.status = runOp(call);
        *changed = call.changed && resp.status == 0;
    }
    // "Already exists" answers the existing entry, as success does.
    if (resp.status == 0 || resp.status == kOpenExists)
        for (const openclt::WireArg& a : req.args)
            if (a.isOutput())
                resp.outs.push_back(a.data);
    logCall(ctl, req.name + describeArgs(reqIn) + " = " + std::to_string(resp.status));
    return resp;
}

// Control commands: fault OP STATUS [COUNT], freeze-on OP, clear-faults,
// connfail N, unreachable, reachable, calls, clear-calls, cli-history,
// clear-cli-history, dump, reset.
openclt::Response serveControl(const openclt::Request& req, SwitchState& st, Controls& ctl, bool* changed)
{
    openclt::Response resp;
    std::vector<std::string> a;
    for (const openclt::WireArg& w : req.args)
        a.push_back(w.data);
    auto num = [&](size_t i, long dflt) {
        return i < a.size() ? static_cast<long>(strtoll(a[i].c_str(), nullptr, 10)) : dflt;
    };
    std::string out;
    if (req.name == "fault" && a.size() >= 2) {
        ctl.faults[a[0]] = Fault{static_cast<int32_t>(num(1, 0)), num(2, -1)};
    } else if (req.name == "freeze-on" && a.size() == 1) {
        ctl.freezeOn = a[0];
    } else if (req.name == "clear-faults") {
        ctl.faults.clear();
        ctl.connFailures = 0;
    } else if (req.name == "connfail") {
        ctl.connFailures = num(0, 0);
    } else if (req.name == "unreachable") {
        ctl.unreachable = true;
    } else if (req.name == "reachable") {
        ctl.unreachable = false;
    } else if (req.name == "calls") {
        for (const std::string& c : ctl.calls)
            out += c + "\n";
    } else if (req.name == "clear-calls") {
        ctl.calls.clear();
    } else if (req.name == "cli-history") {
        out = cli::historyText();
    } else if (req.name == "clear-cli-history") {
        cli::historyClear();
    } else if (req.name == "reset") {
        st = defaultSwitch();
        *changed = true;
    } else if (req.name == "dump") {
        out = "state";
    } else if (req.name == "ping") {
        out = "pong\n";
    } else {
        resp.status = kOpenInvalidParam;
        out = "unknown control command\n";
    }
    resp.outs.push_back(out);
    return resp;
}

// Length of the frame at the head of a client's unserved input, once its
// length prefix has come; false before.
bool headLength(const Client& cl, uint32_t* len)
{
    if (cl.in.size() - cl.inAt < 4)
        return false;
    const unsigned char* h = reinterpret_cast<const unsigned char*>(cl.in.data() + cl.inAt);
    *len = h[0] | (h[1] << 8) | (h[2] << 16) | (static_cast<uint32_t>(h[3]) << 24);
    return true;
}

// A frame waits to be served (or an oversized one to be refused).
bool frameWaiting(const Client& cl)
{
    uint32_t len;
    return headLength(cl, &len) && (len > openclt::kMaxFrame || cl.in.size() - cl.inAt - 4 >= len);
}

void queueFrame(Client& cl, const std::string& payload)
{
    openclt::Writer w;
    w.u32(static_cast<uint32_t>(payload.size()));
    cl.out += w.buf();
    cl.out += payload;
}

// Serves up to `budget` complete frames buffered for a client, while its
// answers do not pile up; false to drop it.
bool serveBuffered(Client& cl, SwitchState& st, Controls& ctl, int budget)
{
    for (; budget > 0 && !cl.throttled() && frameWaiting(cl); --budget) {
        uint32_t len = 0;
        headLength(cl, &len);
        if (len > openclt::kMaxFrame)
            return false;
        std::string frame = cl.in.substr(cl.inAt + 4, len);
        cl.inAt += 4 + len;
        openclt::Request req;
        if (!openclt::decodeRequest(frame, &req))
            return false;
        if (!cl.identified) {
            cl.identified = true;
            cl.control = req.type == openclt::kMsgControl;
        }
        if (ctl.unreachable && !cl.control)
            return false;
        bool changed = false;
        openclt::Response resp;
        switch (req.type) {
        case openclt::kMsgRegister:
            cl.name = req.name;
            logCall(ctl, "register " + req.name);
            continue;
        case openclt::kMsgTearDown:
            logCall(ctl, "teardown " + req.name);
            return false;
        case openclt::kMsgCall:
            // A switch that stops in the middle of a call, for tests of the
            // clients' bounded waits: the call is served once continued.
            if (!ctl.freezeOn.empty() && req.name == ctl.freezeOn) {
                ctl.freezeOn.clear();
                raise(SIGSTOP);
            }
            resp = serveCall(req, st, ctl, &changed);
            break;
        case openclt::kMsgControl:
            resp = serveControl(req, st, ctl, &changed);
            if (req.name == "dump" && resp.status == 0)
                resp.outs[0] = stateText(st);
            break;
        default:
            return false;
        }
        if (changed && !ctl.unsaved) {
            ctl.unsaved = true;
            ctl.unsavedSince = nowMs();
        }
        queueFrame(cl, openclt::encodeResponse(resp));
    }
    if (cl.inAt == cl.in.size()) {
        cl.in.clear();
        cl.inAt = 0;
    } else if (cl.inAt >= kCompactBytes) {
        cl.in.erase(0, cl.inAt);
        cl.inAt = 0;
    }
    return true;
}

// Hands a client as much of its answers as its socket takes; false when
// the connection is broken.
bool flushOutput(Client& cl)
{
    while (cl.pendingOut() > 0) {
        ssize_t w = send(cl.fd, cl.out.data() + cl.outAt, cl.pendingOut(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (w <= 0)
            return false;
        cl.outAt += static_cast<size_t>(w);
    }
    if (cl.outAt == cl.out.size()) {
        cl.out.clear();
        cl.outAt = 0;
    } else if (cl.outAt >= kCompactBytes) {
        cl.out.erase(0, cl.outAt);
        cl.outAt = 0;
    }
    return true;
}

// Takes what a client sent, one read at a time and only while no frame of
// it waits, so its unserved input stays within one frame and one read.
void readInput(Client& cl)
{
    char buf[65536];
    ssize_t r = recv(cl.fd, buf, sizeof buf, MSG_DONTWAIT);
    if (r > 0)
        cl.in.append(buf, static_cast<size_t>(r));
    else if (r == 0)
        cl.inputEnded = true;
    else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
        cl.drop = true;
}

bool wantsInput(const Client& cl) { return !cl.inputEnded && !cl.throttled() && !frameWaiting(cl); }

// One turn of a client: its answers out, its input in, its frames served.
// `revents` are poll's events for it (POLLIN alone for a client just taken).
void serveTurn(Client& cl, short revents, SwitchState& st, Controls& ctl)
{
    if ((revents & (POLLOUT | POLLHUP | POLLERR)) && !flushOutput(cl)) {
        cl.drop = true;
        return;
    }
    if ((revents & (POLLIN | POLLHUP | POLLERR)) && wantsInput(cl))
        readInput(cl);
    if (cl.drop)
        return;
    bool keep = serveBuffered(cl, st, ctl, kFramesPerTurn);
    // A client being dropped still gets the answers that were due before.
    if (!flushOutput(cl) || !keep)
        cl.drop = true;
    else if (cl.inputEnded && !frameWaiting(cl) && cl.pendingOut() == 0)
        cl.drop = true;
}

// Raises the open-file limit to the hard limit (within what kMaxClients
// needs) and returns how many clients fit beside the reserved descriptors.
size_t clientCapacity()
{
    rlimit rl;
    if (getrlimit(RLIMIT_NOFILE, &rl) != 0)
        return 1;
    rlim_t want = std::min<rlim_t>(rl.rlim_max, kMaxClients + kReservedFds);
    if (rl.rlim_cur == RLIM_INFINITY || rl.rlim_cur < want) {
        rlimit raised{want, rl.rlim_max};
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            rl.rlim_cur = want;
    }
    rlim_t n = std::min<rlim_t>(rl.rlim_cur, kMaxClients + kReservedFds);
    return n > kReservedFds + 1 ? static_cast<size_t>(n - kReservedFds) : 1;
}

// Accepts the connections waiting; those beyond `capacity` are closed at
// once. When the process has no descriptor left for accept, a spare one is
// given up to take the connection and close it, so that the waiting
// connection does not keep the listening socket ready (and the loop busy).
// False when a connection had to be left waiting all the same.
bool acceptClients(std::vector<Client>& clients, size_t capacity, int* spare, SwitchState& st, Controls& ctl)
{
    for (int n = 0; n < kAcceptsPerTurn; ++n) {
        int fd = accept4(g_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if ((errno == EMFILE || errno == ENFILE) && *spare >= 0) {
                close(*spare);
                int refused = accept4(g_listen, nullptr, nullptr, SOCK_CLOEXEC);
                if (refused >= 0)
                    close(refused);
                *spare = open("/dev/null", O_RDONLY | O_CLOEXEC);
                continue;
            }
            return errno != EMFILE && errno != ENFILE && errno != ENOBUFS && errno != ENOMEM;
        }
        if (clients.size() >= capacity) {
            close(fd);
            continue;
        }
        Client c;
        c.fd = fd;
        clients.push_back(std::move(c));
        // A client writes its first frames right after connecting: serve
        // what has already come without waiting a turn of poll.
        serveTurn(clients.back(), POLLIN, st, ctl);
    }
    return true;
}

void dropClosed(std::vector<Client>& clients)
{
    auto gone = std::stable_partition(clients.begin(), clients.end(), [](const Client& c) { return !c.drop; });
    for (auto it = gone; it != clients.end(); ++it)
        close(it->fd);
    clients.erase(gone, clients.end());
}

}  // namespace

bool serverBind(const ServerOptions& opts)
{
    g_listen = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (g_listen < 0) {
        perror("switchsim: socket");
        return false;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (opts.socketPath.size() >= sizeof addr.sun_path) {
        fprintf(stderr, "switchsim: socket path too long\n");
        return false;
    }
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", opts.socketPath.c_str());
    // A socket that still accepts belongs to a running simulator: leave it.
    int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe >= 0 && connect(probe, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        close(probe);
        fprintf(stderr, "switchsim: a simulator already serves %s\n", opts.socketPath.c_str());
        return false;
    }
    if (probe >= 0)
        close(probe);
    unlink(opts.socketPath.c_str());
    if (bind(g_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(g_listen, 128) != 0) {
        perror("switchsim: bind");
        return false;
    }
    return true;
}

int serverRun(const ServerOptions& opts, SwitchState& st)
{
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    size_t capacity = clientCapacity();
    int spare = open("/dev/null", O_RDONLY | O_CLOEXEC);
    fcntl(g_listen, F_SETFL, fcntl(g_listen, F_GETFL) | O_NONBLOCK);
    Controls ctl;
    std::vector<Client> clients;
    std::vector<pollfd> fds;
    long long acceptResumeAt = 0;
    while (!g_stop) {
        fds.clear();
        long long restMs = acceptResumeAt - nowMs();
        fds.push_back(pollfd{g_listen, static_cast<short>(restMs > 0 ? 0 : POLLIN), 0});
        bool framesWaiting = false;
        for (const Client& c : clients) {
            short events = 0;
            if (c.pendingOut() > 0)
                events |= POLLOUT;
            if (wantsInput(c))
                events |= POLLIN;
            framesWaiting = framesWaiting || (!c.throttled() && frameWaiting(c));
            fds.push_back(pollfd{c.fd, events, 0});
        }
        int timeout = framesWaiting ? 0 : ctl.unsaved ? kSaveIdleMs : 1000;
        if (restMs > 0)
            timeout = static_cast<int>(std::min<long long>(timeout, restMs));
        int n = poll(fds.data(), fds.size(), timeout);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        saveIfDue(opts, st, ctl, n == 0 && !framesWaiting);
        for (size_t i = 0; i < clients.size(); ++i)
            if (fds[i + 1].revents || (!clients[i].throttled() && frameWaiting(clients[i])))
                serveTurn(clients[i], fds[i + 1].revents, st, ctl);
        dropClosed(clients);
        if ((fds[0].revents & POLLIN) && !acceptClients(clients, capacity, &spare, st, ctl))
            acceptResumeAt = nowMs() + kAcceptRestMs;
        dropClosed(clients);
    }
    saveIfDue(opts, st, ctl, true);
    for (const Client& c : clients)
        close(c.fd);
    if (spare >= 0)
        close(spare);
    close(g_listen);
    unlink(opts.socketPath.c_str());
    return 0;
}

int controlMain(const std::string& socketPath, int argc, char** argv)
{
    if (argc < 1) {
        fprintf(stderr, "usage: switchsim --ctl COMMAND [ARG...]\n");
        return 2;
    }
    bool timedOut = false;
    int fd = openclt::connectSwitch(socketPath.c_str(), openclt::replyTimeoutMs(), &timedOut);
    if (fd < 0) {
        fprintf(stderr, "switchsim: no simulator at %s\n", socketPath.c_str());
        return 1;
    }
    openclt::Request req;
    req.type = openclt::kMsgControl;
    req.name = argv[0];
    for (int i = 1; i < argc; ++i) {
        openclt::WireArg a;
        a.kind = openclt::kArgBufIn;
        a.data = argv[i];
        a.cap = static_cast<uint32_t>(a.data.size());
        req.args.push_back(a);
    }
    std::string frame;
    openclt::Response resp;
    if (!openclt::sendFrame(fd, openclt::encodeRequest(req)) || !openclt::recvFrame(fd, &frame) ||
        !openclt::decodeResponse(frame, &resp)) {
        fprintf(stderr, "switchsim: no answer\n");
        close(fd);
        return 1;
    }
    close(fd);
    for (const std::string& o : resp.outs)
        fputs(o.c_str(), stdout);
    return resp.status == 0 ? 0 : 1;
}

}  // namespace sim
