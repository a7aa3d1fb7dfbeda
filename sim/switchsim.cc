// switchsim: the simulated switch control process.
//   switchsim [--socket PATH] [--state FILE] [--detach] [--pidfile FILE]
//   switchsim [--socket PATH] --ctl COMMAND [ARG...]
#include <errno.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/openclt/wire.h"
#include "sim/cli_engine.h"
#include "sim/server.h"

int main(int argc, char** argv)
{
    sim::ServerOptions opts;
    opts.socketPath = openclt::socketPath();
    std::string pidfile = "/tmp/switchsim.pid";
    bool detach = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* what) -> std::string {
            if (i + 1 >= argc) {
                fprintf(stderr, "switchsim: %s needs a value\n", what);
                exit(2);
            }
            return argv[++i];
        };
        if (a == "--socket")
            opts.socketPath = value("--socket");
        else if (a == "--state")
            opts.statePath = value("--state");
        else if (a == "--pidfile")
            pidfile = value("--pidfile");
        else if (a == "--detach")
            detach = true;
        else if (a == "--ctl")
            return sim::controlMain(opts.socketPath, argc - i - 1, argv + i + 1);
        else {
            fprintf(stderr, "usage: switchsim [--socket PATH] [--state FILE] [--detach] [--pidfile FILE]\n"
                            "       switchsim [--socket PATH] --ctl COMMAND [ARG...]\n");
            return 2;
        }
    }
    sim::SwitchState st = sim::defaultSwitch();
    if (!opts.statePath.empty()) {
        // A file that is there but cannot be read as state is left as it
        // is: it may be the only copy of a switch someone set up.
        std::string why;
        if (access(opts.statePath.c_str(), F_OK) != 0 && errno == ENOENT) {
            sim::saveState(st, opts.statePath);
        } else if (!sim::loadState(&st, opts.statePath, &why)) {
            fprintf(stderr, "switchsim: %s is not a state file: %s\n", opts.statePath.c_str(), why.c_str());
            return 1;
        }
    }
    sim::cliPrepareWorkDir();
    // The socket accepts connections from here on, before any fork.
    if (!sim::serverBind(opts))
        return 1;
    if (detach) {
        pid_t pid = fork();
        if (pid < 0) {
            perror("switchsim: fork");
            return 1;
        }
        if (pid > 0) {
            FILE* f = fopen(pidfile.c_str(), "we");
            if (f) {
                fprintf(f, "%d\n", static_cast<int>(pid));
                fclose(f);
            }
            return 0;
        }
        setsid();
        if (!freopen("/dev/null", "r", stdin) || !freopen("/dev/null", "w", stdout) ||
            !freopen("/dev/null", "w", stderr))
            return 1;
    }
    return sim::serverRun(opts, st);
}
