// Helpers the simulated CLI's areas share: the layout of show output, the
// text of addresses and interfaces, and the capabilities of the model that
// show and configuration commands agree on.
#pragma once

#include <string>

#include "sim/state.h"

namespace sim {
namespace cli {

/// Column where the value of a label line starts.
constexpr size_t kLabelValueColumn = 47;

/// "Label.......................... value\n": the label, a dotted leader to
/// column 46, a blank and the value at column 47.
std::string labelLine(const std::string& label, const std::string& value);
/// A run of n dashes (a table's separator cell).
std::string dashes(size_t n);
/// printf into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// "Enable"/"Disable" and "Enabled"/"Disabled" of a setting.
const char* enableText(uint32_t v);
const char* enabledText(uint32_t v);
/// A dotted quad as a number (0 when the text is none), and back.
uint32_t dotted(const std::string& s);
std::string dottedText(uint32_t v);
/// An interface's name ("1/0/5", "vlan 10"); empty for an unknown one.
std::string intfName(const SwitchState& st, uint32_t intIfNum);

/// Sets a field of the model, noting a change when the value is new.
template <class T, class S>
void assign(S& s, T& field, const T& value)
{
    if (field != value) {
        field = value;
        s.changed = true;
    }
}

/// Copper ports (up to 1G) supply PoE; the SFP+ ports do not.
bool poeCapable(const Interface& i);
/// The PTP transparent clock needs a single unit of a model other than the
/// KX810 family.
bool ptpSupported(const SwitchState& st);

}  // namespace cli
}  // namespace sim
