// The simulated switch's command line. Configuration scripts and show
// commands run against the one switch model that the control API operations
// read too. Commands are rows of a table (mode, syntax, handler), registered
// from the files that implement them:
//
//   const CommandRegistrar kRows[] = {
//       {kModeConfig, "port-channel auto", lagAutoOn},
//       {kModeInterface, "speed {10|100|1000|2500|10000} {full-duplex|half-duplex}", speedFixed},
//   };
//
// Syntax words: a literal (matched without regard to case), a placeholder
// <type> whose word must be of that type, or a choice {a|b|c} of literals.
// Placeholders and choices are the command's parameters, numbered from 0 in
// syntax order. Types: <uint> decimal number; <vlan> 1-4093; <ipv4> dotted
// quad; <mask> contiguous netmask; <port> "slot/port" or "unit/slot/port";
// <name> 1-31 characters of letters, digits, '-', '_' and '.'; <word> any word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/state.h"

namespace sim {
namespace cli {

enum Mode : uint8_t {
    kModeExec,       // privileged exec, where every script starts
    kModeConfig,     // global configuration: "config" or "configure"
    kModeInterface,  // "interface 0/N", "interface U/S/P", "interface lag N", "interface vlan N"
    kModeVlanDb,     // "vlan database"
};

/// One CLI session: the switch, the current mode and what the mode addresses.
struct Session {
    explicit Session(SwitchState& s) : st(s) {}
    SwitchState& st;
    Mode mode = kModeExec;
    uint32_t intIfNum = 0;  // interface mode: the port or LAG, 0 for "interface vlan"
    uint32_t vlanId = 0;    // interface mode of "interface vlan N": N
    std::string intfText;   // the interface as typed, for the prompt
    bool changed = false;   // a command changed the model
};

/// The words of one command line and the word index of each parameter.
struct Args {
    std::vector<std::string> words;
    std::vector<size_t> columns;  // where each word starts in the line
    std::vector<size_t> params;   // word index of parameter i
    /// Parameter i as typed (a choice: the table's spelling).
    std::string param(size_t i) const;
    /// Parameter i as a number (0 when it is not one).
    uint32_t number(size_t i) const;
};

/// A handler's verdict: accepted, or refused (the command changed nothing).
struct Outcome {
    int badParam = -1;   // refused value: "% Invalid input detected at '^' marker." under it
    std::string reason;  // refused for another reason: "% Invalid input: <reason>"
    bool ok() const { return badParam < 0 && reason.empty(); }
};
inline Outcome accepted() { return Outcome(); }
inline Outcome refuseParam(int i) { Outcome o; o.badParam = i; return o; }
inline Outcome refuse(const std::string& why) { Outcome o; o.reason = why; return o; }

typedef Outcome (*Handler)(Session& s, const Args& a);
/// Appends a show command's text; false when the CLI refuses a parameter.
typedef bool (*Renderer)(const SwitchState& st, const Args& a, std::string* out);

/// Adds a configuration command row.
struct CommandRegistrar {
    CommandRegistrar(Mode mode, const char* syntax, Handler handler);
};
/// Adds a show command row (exec mode, syntax beginning "show").
struct ShowRegistrar {
    ShowRegistrar(const char* syntax, Renderer renderer);
};

/// Runs a configuration script line by line from exec mode and returns the
/// CLI's answer: each line echoed behind its prompt, followed by the CLI's
/// message when it refused the line. A line exec mode does not know runs in
/// global configuration when it is a configuration command there (scripts
/// may leave out "configure"). Blank lines and lines beginning "!" are
/// skipped. Sets *changed when the model changed.
std::string runScript(SwitchState& st, const std::string& script, bool* changed);

/// Renders one show command into *out: 0; kOpenUnsupported (-28) for a
/// command the CLI does not know; kOpenInvalidParam (-22) for a refused value.
int32_t runShow(const SwitchState& st, const std::string& command, std::string* out);

/// The prompt of the session's mode: "(KX810-A) (Config)#".
std::string prompt(const Session& s);

/// Recent script runs (input path and answer), for `switchsim --ctl cli-history`.
std::string historyText();
void historyAdd(const std::string& inputPath, const std::string& answer);
void historyClear();

}  // namespace cli

/// Directories the CLI reads scripts from and writes show output and
/// answers to.
constexpr const char* kCliWorkDir = "/mnt/application/oxel/tmp/";
constexpr const char* kCliTmpDir = "/tmp/";

/// True for an absolute path of a file under one of the two directories,
/// without "." or ".." components.
bool cliPathAllowed(const std::string& path);
/// Writes a file under an allowed directory, never through a symbolic link.
bool cliFileWrite(const std::string& path, const std::string& text);
/// Reads a regular file under an allowed directory (at most 1 MiB).
bool cliFileRead(const std::string& path, std::string* text);
/// Creates the work directory, as the switch's firmware does at boot.
void cliPrepareWorkDir();

}  // namespace sim
