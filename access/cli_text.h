// CLI text plumbing of every program's CLI-backed routes: a show command's
// output read back as text, CLI text applied from a work file of its own, the
// CLI's refusals, label lines of show output, interface names in CLI notation
// and the interface scopes of a script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace clitext {

/// Most of a show output read by the views that take it line by line.
constexpr size_t kShowCap = 1 << 20;
/// Line buffer of the line-by-line readers: a longer line keeps its first
/// kLineSize - 1 characters.
constexpr size_t kLineSize = 1024;

/// Runs `command` into a work file "oxel_out_<stem>" of this request's own
/// (TempFile) and reads it whole, up to `cap` bytes; the file is removed on
/// every path. 0; the bridge's code when the command failed; 10016 when the
/// file cannot be opened (logged under `caller`); 10000 when it cannot be read.
int showToText(const char* stem, const char* command, size_t cap, std::string* text, const char* caller);

/// Writes `text` to a script "oxel_in_<stem>", applies it with the CLI's
/// answer in "oxel_out_<stem>" (both of one number) and removes both. The
/// bridge's result (10003 or 10000); 10000 when the script cannot be written.
int applyText(const char* stem, const std::string& text);
/// The same, handing back the CLI's answer (the output file's whole text,
/// read before it is removed) in *answer.
int applyTextAnswer(const char* stem, const std::string& text, std::string* answer);
/// Whether a CLI answer refused a line ("% Invalid input ...", "% Unrecognized command.").
bool cliRefused(const std::string& answer);

/// The lines of a show text as a kLineSize line reader takes them, without
/// their line ends; the part of a longer line beyond it is dropped rather
/// than read as a line of its own.
std::vector<std::string> linesOf(const std::string& text);
/// The value of the first line that starts (after blanks) with `label`:
/// blanks, tabs, dots and colons after the label skipped, at most `max`
/// characters, trailing blanks and tabs removed. False when no line starts
/// with the label.
bool labelValue(const std::string& text, const char* label, std::string* value, size_t max = 31);
/// The value of a dotted label line: the first line (after blanks) that
/// starts with `label` and has a "." after it, its run of dots and the blanks
/// after them skipped, up to the line's end, at most `size` - 1 characters,
/// trailing blanks, tabs, CR and LF removed. A line with the label but no
/// dot, or with nothing after its dots, is passed over. 0; 10003 for no
/// label or a size of 0; 10023 when no line gives a value.
int leaderValue(const std::string& text, const char* label, size_t size, std::string* value);
/// The word after the first occurrence of `label` anywhere in the text:
/// blanks and tabs after it skipped, up to the next blank, tab, CR or LF, at
/// most `size` - 1 characters. Empty when the label is absent.
std::string wordAfter(const std::string& text, const char* label, size_t size);
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

/// `tmpl` with its first "%u" or "%s" replaced by `value` (a value's own
/// "%u" stays text).
std::string fillTemplate(const char* tmpl, const std::string& value);

/// "configure\ninterface vlan <n>\n<line>\nexit\nexit\n"
std::string vlanScoped(uint32_t vlan, const std::string& line);
/// "configure\ninterface <name>\n<line>\nexit\nexit\n"
std::string intfScoped(const std::string& name, const std::string& line);

}  // namespace clitext
