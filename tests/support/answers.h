// Requests to the programs and readings of their answers, for tests that
// check answers by member rather than byte for byte.
#pragma once

#include <cjson/cJSON.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace harness {

/// What may follow the closing brace of a program's one JSON document.
enum class Ending {
    Bare,           // nothing: an answer to a read
    Newline,        // exactly one "\n": an answer to a write
    BareOrNewline,  // either, when the caller does not know which the handler prints
};

/// Parses `text` as exactly one JSON document: it starts at the first byte
/// and is followed only by what `ending` allows, so a second document, stray
/// text before or after it, or a log line fails. Returns the tree (the caller
/// deletes it), or nullptr with the reason in `*why`.
cJSON* parseOne(const std::string& text, Ending ending, std::string* why = nullptr);

/// One JSON document read with parseOne (root nullptr, and `why` set, when
/// the text is not exactly one document), freed with it.
struct Json {
    std::string why;  // before root: the constructor fills it while parsing
    cJSON* root = nullptr;
    explicit Json(const std::string& text, Ending ending = Ending::BareOrNewline)
        : root(parseOne(text, ending, &why))
    {
    }
    ~Json() { cJSON_Delete(root); }
    Json(const Json&) = delete;
    Json& operator=(const Json&) = delete;
};

/// The envelope of an answer: the JSON header, then exactly one envelope
/// ending as `ending` allows. Its root is nullptr otherwise.
std::unique_ptr<Json> envelope(const CgiResult& r, Ending ending = Ending::BareOrNewline);

/// Runs `method` on `uri` (its query after "?" also becomes QUERY_STRING) in pathgate.
CgiResult request(const std::string& method, const std::string& uri, const std::string& body = "");
/// Runs `method` on `path` below the directory `dir` of `program` (the
/// part of `path` after "?" is the query) and checks, as a test expectation,
/// that no work file outlives the request.
CgiResult requestIn(const std::string& program, const std::string& dir, const std::string& method,
                    const std::string& path, const std::string& body = "");
/// Writes at `path` the state file of a fresh switch (as switchsim saves
/// it) whose member `area` is the JSON text `areaJson` and which has VLAN 10
/// ("video") besides. Test assertions (ASSERT) report what went wrong.
void writeStateWithArea(const std::string& path, const char* area, const char* areaJson);
/// The envelope's respCode, -1 when the answer is not exactly one envelope.
int codeOf(const CgiResult& r);
/// The answer's data object under `member`, printed unformatted ("" when
/// absent or when the answer is not exactly one envelope).
std::string dataOf(const CgiResult& r, const char* member);
/// Names in /mnt/application/oxel/tmp, the CLI bridge's work directory.
std::vector<std::string> workFiles();
/// The dynamic symbols a built program defines, as `nm -D --defined-only`
/// lists them ("" when nm cannot be run).
std::string exportedSymbols(const std::string& program);
/// How many calls of `op` the simulator's call log holds.
int callsTo(Simulator& sim, const std::string& op);

}  // namespace harness
