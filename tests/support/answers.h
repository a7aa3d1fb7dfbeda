// Requests to the programs and readings of their answers, for tests that
// check answers by member rather than byte for byte.
#pragma once

#include <cjson/cJSON.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace harness {

/// A parsed JSON text (root nullptr when it does not parse), freed with it.
struct Json {
    cJSON* root = nullptr;
    explicit Json(const std::string& text) : root(cJSON_Parse(text.c_str())) {}
    ~Json() { cJSON_Delete(root); }
    Json(const Json&) = delete;
    Json& operator=(const Json&) = delete;
};

/// The envelope of an answer (the text after the JSON header); its root is
/// nullptr when the answer is no envelope.
std::unique_ptr<Json> envelope(const CgiResult& r);

/// Runs `method` on `uri` (its query after "?" also becomes QUERY_STRING) in pathgate.
CgiResult request(const std::string& method, const std::string& uri, const std::string& body = "");
/// The envelope's respCode, -1 when the answer is no envelope.
int codeOf(const CgiResult& r);
/// The answer's data object under `member`, printed unformatted ("" when absent).
std::string dataOf(const CgiResult& r, const char* member);
/// Names in /mnt/application/oxel/tmp, the CLI bridge's work directory.
std::vector<std::string> workFiles();
/// The dynamic symbols a built program defines, as `nm -D --defined-only`
/// lists them ("" when nm cannot be run).
std::string exportedSymbols(const std::string& program);
/// How many calls of `op` the simulator's call log holds.
int callsTo(Simulator& sim, const std::string& op);

}  // namespace harness
