// Micro benchmarks of the request runtime: route tree construction and
// dispatch with pathgate's table, envelope rendering, switch control round
// trips against a switchsim child. The process first enters a private mount
// and network namespace with a fresh /tmp (as the tests do), so the session
// file and the simulator's socket never touch the host's /tmp.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "access/show_parse_system.h"
#include "platform/openclt/openclt.h"
#include "runtime/entry.h"
#include "runtime/envelope.h"
#include "routing/handlers.h"
#include "runtime/route_tree.h"

#ifndef OXEL_BIN_DIR
#error "OXEL_BIN_DIR must name the directory of the built programs"
#endif

namespace {

int g_binFd = -1;
const char* const kSession = "micro-bench";

}  // namespace

namespace {

void bringLoopbackUp()
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0)
        return;
    ifreq ifr{};
    snprintf(ifr.ifr_name, sizeof ifr.ifr_name, "lo");
    if (ioctl(s, SIOCGIFFLAGS, &ifr) == 0) {
        ifr.ifr_flags |= IFF_UP;
        ioctl(s, SIOCSIFFLAGS, &ifr);
    }
    close(s);
}

// The programs' directory: bin/ beside this program's bench/ directory (the
// build tree may be bound elsewhere, as bench/run.sh does), else the one the
// build configured.
int openBinDir()
{
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = '\0';
        if (char* slash = strrchr(self, '/')) {
            *slash = '\0';
            std::string dir = std::string(self) + "/../bin";
            int fd = open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0 && faccessat(fd, "switchsim", X_OK, 0) == 0)
                return fd;
            if (fd >= 0)
                close(fd);
        }
    }
    return open(OXEL_BIN_DIR, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

bool enterPrivateTmp()
{
    g_binFd = openBinDir();
    if (g_binFd < 0) {
        perror(OXEL_BIN_DIR);
        return false;
    }
    if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0) {
        perror("micro_bench: unshare (run as root)");
        return false;
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", "/tmp", "tmpfs", 0, "mode=1777") != 0 || mount("tmpfs", "/mnt", "tmpfs", 0, "mode=755") != 0) {
        perror("micro_bench: mount");
        return false;
    }
    bringLoopbackUp();
    mkdir("/tmp/session", 0755);
    FILE* f = fopen((std::string("/tmp/session/") + kSession).c_str(), "w");
    if (!f)
        return false;
    fputs("admin\n0\n", f);
    fclose(f);
    return true;
}

// Silences standard output (what a handler prints) for the life of the object.
class StdoutToNull {
public:
    StdoutToNull()
    {
        fflush(stdout);
        saved_ = dup(1);
        int nul = open("/dev/null", O_WRONLY);
        dup2(nul, 1);
        close(nul);
    }
    ~StdoutToNull()
    {
        fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }

private:
    int saved_;
};

// A switchsim child on the default socket of the private /tmp.
class SimChild {
public:
    SimChild()
    {
        std::string prog = "/proc/self/fd/" + std::to_string(g_binFd) + "/switchsim";
        pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent)
                _exit(1);
            int nul = open("/dev/null", O_RDWR);
            dup2(nul, 0);
            dup2(nul, 1);
            execl(prog.c_str(), "switchsim", "--state", "/tmp/micro-bench.state", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 500; ++i) {
            if (canConnect())
                return;
            usleep(10000);
        }
        stop();
    }
    ~SimChild() { stop(); }
    bool ok() const { return pid_ > 0; }

private:
    static bool canConnect()
    {
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        snprintf(a.sun_path, sizeof a.sun_path, "%s", "/tmp/switchsim.sock");
        bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(fd);
        return ok;
    }
    void stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        int st;
        waitpid(pid_, &st, 0);
        pid_ = -1;
    }
    int pid_ = -1;
};

RouteTree* buildTree()
{
    RouteTree* tree = routeTreeCreate();
    pathgate::registerRoutes(tree);
    return tree;
}

// The tree lives in the runtime's process-lifetime arena, which is never
// released: every iteration leaks one tree by design (as each request process
// builds its tree in fresh memory). The fixed iteration count bounds the leak
// to a few tens of MiB.
void BM_RouteTreeBuild(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(buildTree());
    state.SetLabel(std::to_string(pathgate::kRowCount) + " routes");
}
BENCHMARK(BM_RouteTreeBuild)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// The route whose directory is deepest; among those, the one registered first
// in its directory, which the dispatcher's entry list reaches last.
size_t deepestRoute()
{
    size_t best = 0;
    int bestDepth = -1;
    for (size_t i = 0; i < pathgate::kRowCount; ++i) {
        int depth = 0;
        for (const char* p = pathgate::kRows[i].dir->path; *p; ++p)
            depth += *p == '/';
        if (depth > bestDepth) {
            bestDepth = depth;
            best = i;
        }
    }
    return best;
}

void BM_DispatchDeepest(benchmark::State& state)
{
    static RouteTree* tree = buildTree();
    const hf::RowInfo& r = pathgate::kRows[deepestRoute()];
    std::string uri = std::string(r.dir->path) + "/" + r.leaf;
    setenv("REQUEST_URI", uri.c_str(), 1);
    setenv("REQUEST_METHOD", methodText(r.method), 1);
    setenv("QUERY_STRING", "", 1);
    setenv("HTTP_SESSION", kSession, 1);
    unsetenv("HTTP_REFRESH");
    {
        StdoutToNull quiet;
        for (auto _ : state)
            httpdProcessRequest(tree);
    }
    state.SetLabel(std::string(methodText(r.method)) + " " + uri);
}
BENCHMARK(BM_DispatchDeepest)->Unit(benchmark::kMicrosecond);

void BM_EnvelopeRender50(benchmark::State& state)
{
    std::string data = "{";
    for (int i = 0; i < 50; ++i) {
        char member[64];
        if (i % 2)
            snprintf(member, sizeof member, "%s\"member%02d\": %d", i ? "," : "", i, 1000 + i);
        else
            snprintf(member, sizeof member, "%s\"member%02d\": \"value %d\"", i ? "," : "", i, i);
        data += member;
    }
    data += "}";
    char* out = nullptr;
    for (auto _ : state) {
        if (responseJsonRreallocStr(kResultOk, "routingConfig", data.c_str(), &out) != 0) {
            state.SkipWithError("envelope not rendered");
            break;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(out ? strlen(out) : 0));
    free(out);
}
BENCHMARK(BM_EnvelopeRender50)->Unit(benchmark::kMicrosecond);

// One switch control call on an established client session.
void BM_SwitchRoundTrip(benchmark::State& state)
{
    SimChild sim;
    if (!sim.ok()) {
        state.SkipWithError("switchsim did not start");
        return;
    }
    OpenClientHandle h;
    openapiClientRegister("micro_bench", &h);
    if (rpcclt_openapiConnectivityCheck(&h) != 0) {
        state.SkipWithError("no connectivity");
        return;
    }
    char version[100];
    for (auto _ : state) {
        BufDesc d{sizeof version, version};
        if (rpcclt_openapiNetworkOSVersionGet(&h, &d) != 0) {
            state.SkipWithError("version query failed");
            break;
        }
    }
    openapiClientTearDown(&h);
}
BENCHMARK(BM_SwitchRoundTrip)->Unit(benchmark::kMicrosecond);

// What every request process does with the switch: register, connectivity
// check, two version queries, teardown.
void BM_ClientStartupContract(benchmark::State& state)
{
    SimChild sim;
    if (!sim.ok()) {
        state.SkipWithError("switchsim did not start");
        return;
    }
    char version[100];
    for (auto _ : state) {
        OpenClientHandle h;
        openapiClientRegister("micro_bench", &h);
        BufDesc d{sizeof version, version};
        ApiVersion api{};
        if (rpcclt_openapiConnectivityCheck(&h) != 0 || rpcclt_openapiNetworkOSVersionGet(&h, &d) != 0 ||
            rpcclt_openapiApiVersionGet(&h, &api) != 0) {
            state.SkipWithError("switch calls failed");
            break;
        }
        openapiClientTearDown(&h);
    }
}
BENCHMARK(BM_ClientStartupContract)->Unit(benchmark::kMicrosecond);

// One CLI show command into a work file and its parse: the management
// interface settings, read through the bridge and the show parser.
void BM_ShowAndParse(benchmark::State& state)
{
    SimChild sim;
    if (!sim.ok()) {
        state.SkipWithError("switchsim did not start");
        return;
    }
    OpenClientHandle h;
    openapiClientRegister("micro_bench", &h);
    for (auto _ : state) {
        uint32_t vlan = 0;
        char method[kMgmtTextSize], address[kMgmtTextSize], mask[kMgmtTextSize], gateway[kMgmtTextSize];
        int rc = managementPortIPv4ParametersGet(&h, &vlan, method, address, mask, gateway);
        if (rc != 0) {
            state.SkipWithError(("show and parse failed: " + std::to_string(rc)).c_str());
            break;
        }
        benchmark::DoNotOptimize(vlan);
    }
    openapiClientTearDown(&h);
}
BENCHMARK(BM_ShowAndParse);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!enterPrivateTmp()) {
        fprintf(stderr, "micro_bench: needs a private mount and network namespace (run as root)\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
