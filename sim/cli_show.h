// Layout helpers of the simulated CLI's show output, and the capabilities of
// the model that show and configuration commands agree on.
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

/// Copper ports (up to 1G) supply PoE; the SFP+ ports do not.
bool poeCapable(const Interface& i);
/// The PTP transparent clock needs a single unit of a model other than the
/// KX810 family.
bool ptpSupported(const SwitchState& st);

}  // namespace cli
}  // namespace sim
