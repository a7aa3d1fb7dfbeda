// Runner of end-to-end rows.
#include "tests/e2e/e2e_rows.h"

#include <cstring>

namespace e2e {

namespace {

harness::CgiRequest requestOf(const char* program, const char* method, const char* uri, const char* body)
{
    harness::CgiRequest req;
    req.program = program;
    req.method = method;
    req.uri = uri;
    const char* q = strchr(uri, '?');
    if (q)
        req.query = q + 1;
    if (body)
        req.body = body;
    return req;
}

}  // namespace

harness::CgiResult runRow(const Row& row)
{
    harness::writeAdminSession();
    for (const std::string& line : row.setup) {
        size_t a = line.find(' ');
        size_t b = line.find(' ', a + 1);
        std::string method = line.substr(0, a);
        std::string uri = line.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
        std::string body = b == std::string::npos ? "" : line.substr(b + 1);
        harness::runCgi(requestOf(row.program, method.c_str(), uri.c_str(), body.c_str()));
    }
    return harness::runCgi(requestOf(row.program, row.method, row.uri, row.body));
}

std::string codeEnvelope(int code, const char* msg, bool newline)
{
    std::string s = "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t" + std::to_string(code) + ",\n\t\t\"respMsg\":\t\"" + msg +
                    "\",\n\t\t\"status\":\t\"" + (code == 0 ? "success" : "fail") + "\"\n\t}\n}";
    if (newline)
        s += "\n";
    return s;
}

std::string dataEnvelope(const char* member, std::initializer_list<Field> fields)
{
    std::string s = std::string("{\n\t\"") + member + "\":\t{";
    const char* sep = "\n\t\t";
    for (const Field& f : fields) {
        s += sep + std::string("\"") + f.name + "\":\t" + f.value.text;
        sep = ",\n\t\t";
    }
    // Then the resp member of a success envelope.
    return s + "\n\t}," + codeEnvelope(0, "Success", false).substr(1);
}

std::string dataEnvelopeNl(const char* member, std::initializer_list<Field> fields)
{
    return dataEnvelope(member, fields) + "\n";
}

Steps steps(std::initializer_list<Steps> parts)
{
    Steps all;
    for (const Steps& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace e2e
