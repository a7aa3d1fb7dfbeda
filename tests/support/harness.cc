// Test harness: private root, program runner and simulator control.
#include "tests/support/harness.h"

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#ifndef OXEL_BIN_DIR
#error "OXEL_BIN_DIR must name the directory of the built programs"
#endif

namespace harness {

const char* const kJsonHeader = "Content-Type: application/json\r\n\r\n";
const char* const kStubEnvelope =
    "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t17002,\n\t\t\"respMsg\":\t\"Unsupported Feature\",\n\t\t\"status\":\t\"fail\"\n\t}\n}";

namespace {

int g_binFd = -1;
int g_srcFd = -1;

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

std::vector<char*> argvOf(std::vector<std::string>& v)
{
    std::vector<char*> a;
    for (std::string& s : v)
        a.push_back(&s[0]);
    a.push_back(nullptr);
    return a;
}

std::vector<std::string> commandFor(const std::string& program, const std::vector<std::string>& args)
{
    std::vector<std::string> cmd = emulatorPrefix();
    cmd.push_back(programPath(program));
    cmd.insert(cmd.end(), args.begin(), args.end());
    return cmd;
}

// Runs argv with the environment `env` (nullptr: inherit), feeding `input`.
CgiResult runWith(std::vector<std::string> cmd, std::vector<std::string>* env, const std::string& input)
{
    CgiResult r;
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0)
        return r;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        close(in[0]);
        close(in[1]);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv = argvOf(cmd);
        if (env) {
            std::vector<char*> envp = argvOf(*env);
            execve(argv[0], argv.data(), envp.data());
        } else {
            execv(argv[0], argv.data());
        }
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    signal(SIGPIPE, SIG_IGN);
    // The body is small; write it all, then read the answer.
    size_t off = 0;
    while (off < input.size()) {
        ssize_t w = write(in[1], input.data() + off, input.size() - off);
        if (w <= 0)
            break;
        off += static_cast<size_t>(w);
    }
    close(in[1]);
    char buf[65536];
    ssize_t n;
    while ((n = read(out[0], buf, sizeof buf)) > 0)
        r.out.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return r;
}

bool canConnect(const std::string& path)
{
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    snprintf(a.sun_path, sizeof a.sun_path, "%s", path.c_str());
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(fd);
    return ok;
}

}  // namespace

bool enterPrivateRoot()
{
    // The build tree may itself live under /tmp: keep a handle on it first.
    g_binFd = open(OXEL_BIN_DIR, O_PATH | O_DIRECTORY);
    if (g_binFd < 0) {
        fprintf(stderr, "harness: cannot open %s: %s\n", OXEL_BIN_DIR, strerror(errno));
        return false;
    }
    g_srcFd = open(OXEL_SOURCE_DIR, O_PATH | O_DIRECTORY);
    if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0) {
        fprintf(stderr, "harness: unshare: %s (the tests need root)\n", strerror(errno));
        return false;
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", "/tmp", "tmpfs", 0, "mode=1777") != 0 || mount("tmpfs", "/mnt", "tmpfs", 0, "mode=755") != 0) {
        fprintf(stderr, "harness: mount: %s\n", strerror(errno));
        return false;
    }
    bringLoopbackUp();
    return true;
}

std::string programPath(const std::string& name)
{
    return "/proc/self/fd/" + std::to_string(g_binFd) + "/" + name;
}

std::string sourcePath(const std::string& rel)
{
    return "/proc/self/fd/" + std::to_string(g_srcFd) + "/" + rel;
}

std::vector<std::string> emulatorPrefix()
{
    std::vector<std::string> v;
    const char* e = getenv("OXEL_EMULATOR");
    if (!e)
        return v;
    std::istringstream ss(e);
    std::string w;
    while (ss >> w)
        v.push_back(w);
    return v;
}

CgiResult runCgi(const CgiRequest& req)
{
    std::vector<std::string> env = {"REQUEST_URI=" + req.uri, "REQUEST_METHOD=" + req.method, "PATH=/usr/bin:/bin"};
    if (!req.queryAbsent)
        env.push_back("QUERY_STRING=" + req.query);
    if (req.method == "POST" || req.method == "PUT" || !req.contentLength.empty())
        env.push_back("CONTENT_LENGTH=" +
                      (req.contentLength.empty() ? std::to_string(req.body.size()) : req.contentLength));
    if (!req.sessionAbsent)
        env.push_back("HTTP_SESSION=" + req.session);
    if (req.refreshPresent)
        env.push_back("HTTP_REFRESH=" + req.refresh);
    if (const char* s = getenv("SWITCHSIM_SOCKET"))
        env.push_back(std::string("SWITCHSIM_SOCKET=") + s);
    for (const char* keep : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "QEMU_LD_PREFIX"})
        if (const char* v = getenv(keep))
            env.push_back(std::string(keep) + "=" + v);
    env.insert(env.end(), req.extraEnv.begin(), req.extraEnv.end());
    return runWith(commandFor(req.program, {}), &env, req.body);
}

CgiResult runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& input)
{
    return runWith(commandFor(program, args), nullptr, input);
}

Simulator::Simulator(const std::vector<std::string>& args)
{
    std::vector<std::string> cmd = commandFor("switchsim", args);
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        std::vector<char*> argv = argvOf(cmd);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const char* sock = getenv("SWITCHSIM_SOCKET");
    std::string path = sock && *sock ? sock : "/tmp/switchsim.sock";
    for (int i = 0; i < 1000; ++i) {
        if (canConnect(path))
            return;
        int st;
        if (waitpid(pid_, &st, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        usleep(10000);
    }
    stop();
}

Simulator::~Simulator() { stop(); }

void Simulator::stop(int sig)
{
    if (pid_ <= 0)
        return;
    kill(pid_, sig);
    int st;
    waitpid(pid_, &st, 0);
    pid_ = -1;
}

std::string Simulator::ctl(const std::vector<std::string>& args, int* status)
{
    std::vector<std::string> a = {"--ctl"};
    a.insert(a.end(), args.begin(), args.end());
    CgiResult r = runProgram("switchsim", a);
    if (status)
        *status = r.status;
    return r.out;
}

long uptimeSeconds()
{
    struct sysinfo info;
    return sysinfo(&info) == 0 ? info.uptime : -1;
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << content;
}

std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

bool fileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void writeSession(const std::string& id, const std::string& content)
{
    mkdir("/tmp/session", 0755);
    writeFile("/tmp/session/" + id, content);
}

void writeAdminSession(const std::string& id)
{
    writeSession(id, "admin\n0\n");
}

}  // namespace harness
