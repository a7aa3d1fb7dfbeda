// Whether a process of a given name runs, read from the process table in
// /proc. A process has a name when its kernel name (/proc/<pid>/comm) or the
// last part of its first command-line word is exactly that name.
#pragma once

/// Longest name the checks look for.
constexpr unsigned kProcessNameMax = 99;

/// 1 when at least one process (this one included) has the name; 0 when none
/// has, and without looking when the name is missing, longer than
/// kProcessNameMax or holds a character other than A-Z a-z 0-9 . _ -;
/// -1 when the process table cannot be read.
int processRunningCheck(const char* name);

/// How many processes (this one included) have the name: 0 when none has,
/// and without looking for a name processRunningCheck refuses; -1 when the
/// process table cannot be read.
int processRunningCount(const char* name);
