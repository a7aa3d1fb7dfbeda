// End-to-end cases as table rows: one request to one program against a
// fresh simulated switch, with the exact standard output and exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace e2e {

struct Row {
    const char* name;     // test name: letters, digits and underscores
    const char* program;  // "pathgate", "coregate", "swarmgate"
    const char* method;
    const char* uri;      // REQUEST_URI; the query after "?" also becomes QUERY_STRING
    const char* body;     // request body (POST, PUT) or nullptr
    const char* expect;   // exact standard output after the JSON header
    int exit = 0;
    std::vector<const char*> setup = {};  // requests run first (same form "METHOD URI [BODY]"), answers ignored
    friend void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }
};

/// Runs the row's setup requests and the row itself; returns the result.
harness::CgiResult runRow(const Row& row);

/// The envelope of a result code without data, as the programs print it.
std::string codeEnvelope(int code, const char* msg, bool newline);

}  // namespace e2e
