// Message format between the client library and the switch control process.
// A frame is a 32-bit length followed by that many bytes, all integers in
// little-endian order, so that clients and server of any word size agree.
//   request:  u8 type, u16 name length, name, u8 argc, argc x (u8 kind, u32 cap, u32 len, bytes)
//   response: i32 status, u8 outc, outc x (u32 len, bytes)   (outputs in argument order)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/openclt/openclt.h"

namespace openclt {

enum MsgType : uint8_t { kMsgCall = 1, kMsgControl = 2, kMsgRegister = 3, kMsgTearDown = 4 };

enum ArgKind : uint8_t {
    kArgIn = 0,         // scalar or record passed by value
    kArgInOut = 1,      // scalar or record passed by address, rewritten by the call
    kArgBufIn = 2,      // counted input buffer
    kArgBufInOut = 3,   // counted output buffer: capacity in, bytes out
};

constexpr uint32_t kMaxFrame = 1u << 20;
constexpr const char* kDefaultSocket = "/tmp/switchsim.sock";

/// Socket path: $SWITCHSIM_SOCKET or the default.
const char* socketPath();

/// How long a client waits for the switch: to connect, to hand over a
/// request and for each part of an answer. Long enough for the slowest
/// operation on a loaded switch; $OPENCLT_REPLY_TIMEOUT_MS (1 to 3600000)
/// sets another bound, for tests that stop the switch.
constexpr int kDefaultReplyTimeoutMs = 30000;
constexpr int kMaxReplyTimeoutMs = 3600000;
int replyTimeoutMs();

/// A stream socket connected to the switch at `path`, every later send and
/// read on it bounded by `timeoutMs` (a read or write that waits longer
/// fails with EAGAIN); -1 on failure, with *timedOut set when the switch's
/// queue of new connections stayed full for the whole bound.
int connectSwitch(const char* path, int timeoutMs, bool* timedOut);

template <class T, class = void>
struct ArgTraits;
template <class T>
struct ArgTraits<T, std::enable_if_t<std::is_integral<T>::value || std::is_enum<T>::value>> {
    static constexpr ArgKind kind = kArgIn;
};
template <>
struct ArgTraits<BufDesc> {
    static constexpr ArgKind kind = kArgBufIn;
};
template <>
struct ArgTraits<BufDesc*> {
    static constexpr ArgKind kind = kArgBufInOut;
};
template <class T>
struct ArgTraits<T*, std::enable_if_t<!std::is_const<T>::value && !std::is_same<T, BufDesc>::value>> {
    static_assert(std::is_trivially_copyable<T>::value, "records must be plain data");
    static constexpr ArgKind kind = kArgInOut;
};
template <class T>
struct ArgTraits<const T*> {
    static_assert(std::is_trivially_copyable<T>::value, "records must be plain data");
    static constexpr ArgKind kind = kArgIn;
};

/// One catalog row as the server sees it.
struct OpInfo {
    const char* name;
    int keys;
    int argc;
    const uint8_t* kinds;
};

/// The whole catalog, in row order.
const std::vector<OpInfo>& catalog();
const OpInfo* findOp(const std::string& name);

/// One argument on the wire.
struct WireArg {
    uint8_t kind = kArgIn;
    uint32_t cap = 0;
    std::string data;
    bool isOutput() const { return kind == kArgInOut || kind == kArgBufInOut; }
};

struct Request {
    uint8_t type = kMsgCall;
    std::string name;
    std::vector<WireArg> args;
};

struct Response {
    int32_t status = 0;
    std::vector<std::string> outs;
};

/// Appends little-endian integers and counted strings.
class Writer {
public:
    void u8(uint8_t v) { buf_.push_back(static_cast<char>(v)); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void bytes(const void* p, size_t n) { buf_.append(static_cast<const char*>(p), n); }
    std::string& buf() { return buf_; }

private:
    std::string buf_;
};

/// Reads what Writer wrote; every read fails cleanly past the end.
class Reader {
public:
    Reader(const char* p, size_t n) : p_(p), end_(p + n) {}
    bool u8(uint8_t* v);
    bool u16(uint16_t* v);
    bool u32(uint32_t* v);
    bool bytes(size_t n, std::string* out);
    bool done() const { return p_ == end_; }

private:
    const char* p_;
    const char* end_;
};

std::string encodeRequest(const Request& r);
bool decodeRequest(const std::string& frame, Request* r);
std::string encodeResponse(const Response& r);
bool decodeResponse(const std::string& frame, Response* r);

/// Writes one frame (length prefix and payload); false on error.
bool sendFrame(int fd, const std::string& payload, bool* timedOut = nullptr);
/// Writes `count` frames with one write; false on error. *timedOut, when
/// given, tells a peer that took no bytes within the socket's send bound.
bool sendFrames(int fd, const std::string* payloads, size_t count, bool* timedOut = nullptr);
/// Reads the one frame that answers a request; false on end of input, error,
/// an oversized frame or bytes past the frame (the exchange is one frame
/// each way at a time). *timedOut, when given, tells a peer that sent
/// nothing within the socket's receive bound.
bool recvFrame(int fd, std::string* payload, bool* timedOut = nullptr);

}  // namespace openclt
