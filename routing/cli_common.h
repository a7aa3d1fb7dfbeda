// Work files, show text reading, script application and value conversions
// shared by the routes of pathgate that go through the switch's CLI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace clitext {

/// A group of CLI-backed routes: the word in its work file names and the most
/// of a show output it reads.
struct Group {
    const char* word;
    size_t cap;
};
extern const Group kIpv6;    // "ip6m", 131072 bytes
extern const Group kRadv;    // "ipra", 65536 bytes
extern const Group kHelper;  // "iph", 65536 bytes

/// Runs `command` into a show file of the group's own ("oxel_out_<word>",
/// named by TempFile) and reads it whole, up to the group's cap; the file is
/// removed on every path. 0; the bridge's code when the command failed;
/// 10016 when the file cannot be opened; 10000 when nothing could be read.
int showAndRead(const Group& g, const char* command, std::string* text);
/// The same into a show file named by `stem`, read up to `cap` bytes.
int showToText(const char* stem, const char* command, size_t cap, std::string* text, const char* caller);

/// Writes `text` to a script file named by the stem "oxel_in_<word>_<token>",
/// applies it with the CLI's answer in "oxel_out_<word>_<token>" (the same
/// number) and removes both. The bridge's result; 10000 when the script
/// cannot be written.
int applyText(const char* word, const char* token, const std::string& text);
/// The same, handing back the CLI's answer (the output file's text, read
/// before it is removed) in *answer.
int applyTextAnswer(const char* word, const char* token, const std::string& text, std::string* answer);
/// Whether a CLI answer refused a line ("% Invalid input ...", "% Unrecognized command.").
bool cliRefused(const std::string& answer);

/// The value of the first line that starts (after blanks) with `label`:
/// blanks, tabs, dots and colons after the label skipped, at most 31
/// characters, trailing blanks and tabs removed. False when no line starts
/// with the label.
bool labelValue(const std::string& text, const char* label, std::string* value);
/// Decimal value (unsigned, up to the first non-digit; none gives 0).
uint32_t decimalOf(const std::string& v);
/// 1 when the value's first letter is E, T or Y (either case), else 0.
uint32_t modeOf(const std::string& v);

/// The CLI name "u/s/p" of an interface. 0; 17002 when it resolves to all
/// zeros; the translated switch status when the lookup fails.
int intfCliName(uint32_t intIfNum, std::string* name);

/// Whether a request text may become part of a CLI line: no control
/// characters (line breaks, carriage returns ...), which would start lines
/// of their own in the script.
bool cliSafe(const std::string& text);
bool cliSafe(const char* text);

/// "configure\ninterface vlan <n>\n<line>\nexit\nexit\n"
std::string vlanScoped(uint32_t vlan, const std::string& line);
/// "configure\ninterface <name>\n<line>\nexit\nexit\n"
std::string intfScoped(const std::string& name, const std::string& line);

}  // namespace clitext
