// Test harness: every test process runs in its own mount and network
// namespace with fresh tmpfs on /tmp and /mnt, so the programs' literal paths
// (/tmp/session, /tmp/qv700.log, /mnt/application/...) are private to it.
#pragma once

#include <signal.h>

#include <string>
#include <vector>

namespace harness {

/// Enters the private root; called by the test main before any test runs.
/// Returns false (with a message) when namespaces are not available.
bool enterPrivateRoot();

/// Path of a built program ("pathgate", "switchsim" ...), usable after the
/// private root hides the build tree.
std::string programPath(const std::string& name);

/// Path of a file of the source tree (test tables), after the private root.
std::string sourcePath(const std::string& rel);

/// Command prefix that runs target binaries (empty natively, qemu for ARM).
std::vector<std::string> emulatorPrefix();

struct CgiRequest {
    std::string program = "pathgate";
    std::string method = "GET";
    std::string uri;
    std::string query;          // QUERY_STRING; absent when queryAbsent
    bool queryAbsent = false;
    std::string body;           // fed on stdin; CONTENT_LENGTH is its size unless contentLength is set
    std::string contentLength;  // explicit CONTENT_LENGTH text
    std::string session = "admin-1";
    bool sessionAbsent = false;
    std::string refresh;
    bool refreshPresent = false;
    std::vector<std::string> extraEnv;
};

struct CgiResult {
    std::string out;
    int status = -1;
};

/// Runs the program with the CGI environment of the request.
CgiResult runCgi(const CgiRequest& req);

/// Runs a command (program name, arguments) and returns stdout and status.
CgiResult runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& input = "");

/// The simulated switch, started as a child that dies with the test.
class Simulator {
public:
    explicit Simulator(const std::vector<std::string>& args = {});
    ~Simulator();
    bool ok() const { return pid_ > 0; }
    /// switchsim --ctl ...; returns its output.
    std::string ctl(const std::vector<std::string>& args, int* status = nullptr);
    /// Ends the simulator with `sig` (SIGTERM: it saves its state and exits).
    void stop(int sig = SIGTERM);

private:
    int pid_ = -1;
};

/// System uptime in whole seconds, as the session check reads it.
long uptimeSeconds();

/// Writes /tmp/session/<id>.
void writeSession(const std::string& id, const std::string& content);
/// An admin session file with a time stamp of 0 (never expires).
void writeAdminSession(const std::string& id = "admin-1");

std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

/// The header the dispatcher writes before every API answer.
extern const char* const kJsonHeader;
/// The 17002 envelope, as every stub answers it.
extern const char* const kStubEnvelope;

}  // namespace harness
