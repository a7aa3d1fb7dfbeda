// End-to-end cases as table rows: one request to one program against a
// fresh simulated switch, with the exact standard output and exit status.
// The rows spell their answers with the envelope builders below and their
// set-up with the named steps.
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/support/harness.h"

namespace e2e {

/// Requests run before a row's own, each "METHOD URI [BODY]"; answers ignored.
using Steps = std::vector<std::string>;

struct Row {
    const char* name;     // test name: letters, digits and underscores
    const char* program;  // "pathgate", "coregate", "swarmgate"
    const char* method;
    const char* uri;      // REQUEST_URI; the query after "?" also becomes QUERY_STRING
    const char* body;     // request body (POST, PUT) or nullptr
    std::string expect;   // exact standard output after the JSON header
    int exit = 0;
    Steps setup = {};
    friend void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }
};

/// Runs the row's setup requests and the row itself; returns the result.
harness::CgiResult runRow(const Row& row);

/// The envelope of a result code without data, as the programs print it.
std::string codeEnvelope(int code, const char* msg, bool newline);

/// A member value as the envelope prints it: a number, true or false, or a
/// text in quotes (taken as it stands: the rows' texts need no escapes).
struct Value {
    std::string text;
    Value(const char* s) : text(std::string("\"") + s + "\"") {}
    Value(bool b) : text(b ? "true" : "false") {}
    template <typename T, typename = std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>>
    Value(T n) : text(std::to_string(n))
    {
    }
};

struct Field {
    const char* name;
    Value value;
};

/// The success envelope whose data member `member` holds an object of
/// `fields` in order, as a read answers it (no trailing newline).
std::string dataEnvelope(const char* member, std::initializer_list<Field> fields);
/// The same with the newline that writes (and some walks) print after it.
std::string dataEnvelopeNl(const char* member, std::initializer_list<Field> fields);

// The common answers without data; "Nl" ones end with the newline. Inline
// variables, so they are built before the row tables that use them.
inline const std::string kOkNl = codeEnvelope(0, "Success", true);
inline const std::string kInvalid = codeEnvelope(10003, "Invalid argument", false);
inline const std::string kInvalidNl = codeEnvelope(10003, "Invalid argument", true);
inline const std::string kNotFound = codeEnvelope(10023, "Request api not found", false);
inline const std::string kNotFoundNl = codeEnvelope(10023, "Request api not found", true);
inline const std::string kUnsupported = codeEnvelope(17002, "Unsupported Feature", false);
inline const std::string kUnsupportedNl = codeEnvelope(17002, "Unsupported Feature", true);

/// The parts' steps in order.
Steps steps(std::initializer_list<Steps> parts);

// Named set-up steps of pathgate's rows. VLAN 10's routing interface is
// interface 37 (VLAN 20's 38).
inline const Steps kSetupVlan10 = {"POST /api/v2/routing/routing-config/rtr-vlan-intf?vlanId=10"};
/// VLAN 10 routing with 192.168.10.1/24 on interface 37.
inline const Steps kSetupVlan10Routing = steps(
    {kSetupVlan10,
     {"POST /api/v2/routing/routing-config/rtr-intf-ip-addr {\"af\":1,\"intf\":37,\"ipAddr\":\"192.168.10.1/24\"}"}});
/// VLAN 10 routing with a second address, 192.168.20.1/16.
inline const Steps kSetupVlan10TwoAddrs = steps(
    {kSetupVlan10Routing,
     {"POST /api/v2/routing/routing-config/rtr-intf-ip-addr {\"af\":1,\"intf\":37,\"ipAddr\":\"192.168.20.1/16\"}"}});
/// VLAN 10 routing and a static route to 10.99.0.0/16 through 192.168.10.2.
inline const Steps kSetupStaticRoute = steps(
    {kSetupVlan10Routing,
     {"POST /api/v2/routing/routing/route "
      "{\"route\":{\"destPfx\":\"10.99.0.0\",\"pfxLen\":16,\"pref\":1},\"nextHops\":[{\"nhAddr\":\"192.168.10.2\"}]}"}});
/// VLANs 10 and 20 routing, with 10.1.1.1/8 on 37 and 10.0.0.1/24 on 38.
inline const Steps kSetupTwoVlansInNet10 = {
    "POST /api/v2/routing/routing-config/rtr-vlan-intf?vlanId=10",
    "POST /api/v2/routing/routing-config/rtr-vlan-intf?vlanId=20",
    "POST /api/v2/routing/routing-config/rtr-intf-ip-addr {\"af\":1,\"intf\":37,\"ipAddr\":\"10.1.1.1/8\"}",
    "POST /api/v2/routing/routing-config/rtr-intf-ip-addr {\"af\":1,\"intf\":38,\"ipAddr\":\"10.0.0.1/24\"}"};
/// VLANs 30 and 40 routing.
inline const Steps kSetupVlans30And40 = {"POST /api/v2/routing/routing-config/rtr-vlan-intf?vlanId=30",
                                         "POST /api/v2/routing/routing-config/rtr-vlan-intf?vlanId=40"};
/// Two helper addresses: 10.1.1.1 port 67 on every interface, 10.2.2.2 port 53 on interface 5.
inline const Steps kSetupHelpers = {
    "POST /api/v2/routing/routing-config/ip-helper-address {\"ipAddr\":\"10.1.1.1\",\"udpPort\":67}",
    "POST /api/v2/routing/routing-config/rtr-intf-ip-helper-address {\"intf\":5,\"ipAddr\":\"10.2.2.2\",\"udpPort\":53}"};

}  // namespace e2e
