// The switch control process: serves calls on a Unix socket against one
// SwitchState, saves it after every change, and takes test controls.
#pragma once

#include <string>

#include "sim/state.h"

namespace sim {

struct ServerOptions {
    std::string socketPath;
    std::string statePath;  // empty: state lives in memory only
};

/// Binds the socket; false (with a message on stderr) on failure.
bool serverBind(const ServerOptions& opts);
/// Serves until SIGTERM or SIGINT; removes the socket on the way out.
int serverRun(const ServerOptions& opts, SwitchState& st);

/// Sends one control command (name and text arguments) to a running
/// simulator and prints its answer; the process exit status.
int controlMain(const std::string& socketPath, int argc, char** argv);

}  // namespace sim
