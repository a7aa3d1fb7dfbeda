// Socket loop of the switch control process. Each client (one request
// process) holds one connection for its life; frames are served in order.
// A malformed frame closes that connection and nothing else.
#include "sim/server.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

struct Client {
    int fd = -1;
    std::string in;
    bool identified = false;
    bool control = false;
    std::string name;
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

// Control commands: fault OP STATUS [COUNT], clear-faults, connfail N,
// unreachable, reachable, calls, clear-calls, cli-history, clear-cli-history,
// dump, reset.
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

void closeClient(std::vector<Client>& clients, size_t i)
{
    close(clients[i].fd);
    clients.erase(clients.begin() + static_cast<long>(i));
}

// Serves every complete frame buffered for a client; false to drop it.
bool serveBuffered(Client& cl, SwitchState& st, Controls& ctl)
{
    for (;;) {
        if (cl.in.size() < 4)
            return true;
        const unsigned char* h = reinterpret_cast<const unsigned char*>(cl.in.data());
        uint32_t len = h[0] | (h[1] << 8) | (h[2] << 16) | (static_cast<uint32_t>(h[3]) << 24);
        if (len > openclt::kMaxFrame)
            return false;
        if (cl.in.size() < 4 + len)
            return true;
        std::string frame = cl.in.substr(4, len);
        cl.in.erase(0, 4 + len);
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
        if (!openclt::sendFrame(cl.fd, openclt::encodeResponse(resp)))
            return false;
    }
}

// Reads what client i sent (recv flags: MSG_DONTWAIT for a read that must
// not wait) and serves its complete frames; closes the client at its end of
// input, on an error or when it is to be dropped.
void readAndServe(std::vector<Client>& clients, size_t i, int flags, SwitchState& st, Controls& ctl)
{
    char buf[65536];
    ssize_t r = recv(clients[i].fd, buf, sizeof buf, flags);
    if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (r <= 0) {
        closeClient(clients, i);
        return;
    }
    clients[i].in.append(buf, static_cast<size_t>(r));
    if (!serveBuffered(clients[i], st, ctl))
        closeClient(clients, i);
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
    Controls ctl;
    std::vector<Client> clients;
    while (!g_stop) {
        std::vector<pollfd> fds;
        fds.push_back(pollfd{g_listen, POLLIN, 0});
        for (const Client& c : clients)
            fds.push_back(pollfd{c.fd, POLLIN, 0});
        int n = poll(fds.data(), fds.size(), ctl.unsaved ? kSaveIdleMs : 1000);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        saveIfDue(opts, st, ctl, n == 0);
        for (size_t i = clients.size(); i-- > 0;)
            if (fds[i + 1].revents)
                readAndServe(clients, i, 0, st, ctl);
        if (fds[0].revents & POLLIN) {
            int fd = accept4(g_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                Client c;
                c.fd = fd;
                clients.push_back(c);
                // A client writes its first frames right after connecting:
                // serve what has already come without waiting a turn of poll.
                readAndServe(clients, clients.size() - 1, MSG_DONTWAIT, st, ctl);
            }
        }
    }
    saveIfDue(opts, st, ctl, true);
    for (const Client& c : clients)
        close(c.fd);
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
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
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
