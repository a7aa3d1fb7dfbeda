// Frame encoding shared by the client library and the switch control process.
#include "platform/openclt/wire.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace openclt {

const char* socketPath()
{
    const char* p = getenv("SWITCHSIM_SOCKET");
    return p && *p ? p : kDefaultSocket;
}

int replyTimeoutMs()
{
    const char* text = getenv("OPENCLT_REPLY_TIMEOUT_MS");
    if (!text || !*text)
        return kDefaultReplyTimeoutMs;
    char* end = nullptr;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (errno != 0 || *end || v < 1 || v > kMaxReplyTimeoutMs)
        return kDefaultReplyTimeoutMs;
    return static_cast<int>(v);
}

namespace {

bool isTimeout(int err) { return err == EAGAIN || err == EWOULDBLOCK || err == EINPROGRESS || err == ETIMEDOUT; }

}  // namespace

int connectSwitch(const char* path, int timeoutMs, bool* timedOut)
{
    *timedOut = false;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // The send bound also bounds connect, which waits while the switch's
    // queue of connections not yet accepted is full (a stopped switch).
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path);
    if (setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0 ||
        connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        *timedOut = isTimeout(errno);
        close(fd);
        return -1;
    }
    return fd;
}

void Writer::u16(uint16_t v)
{
    u8(static_cast<uint8_t>(v));
    u8(static_cast<uint8_t>(v >> 8));
}

void Writer::u32(uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        u8(static_cast<uint8_t>(v >> (8 * i)));
}

bool Reader::u8(uint8_t* v)
{
    if (p_ >= end_)
        return false;
    *v = static_cast<uint8_t>(*p_++);
    return true;
}

bool Reader::u16(uint16_t* v)
{
    uint8_t a, b;
    if (!u8(&a) || !u8(&b))
        return false;
    *v = static_cast<uint16_t>(a | (b << 8));
    return true;
}

bool Reader::u32(uint32_t* v)
{
    uint32_t r = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t b;
        if (!u8(&b))
            return false;
        r |= static_cast<uint32_t>(b) << (8 * i);
    }
    *v = r;
    return true;
}

bool Reader::bytes(size_t n, std::string* out)
{
    if (static_cast<size_t>(end_ - p_) < n)
        return false;
    out->assign(p_, n);
    p_ += n;
    return true;
}

std::string encodeRequest(const Request& r)
{
    Writer w;
    w.u8(r.type);
    w.u16(static_cast<uint16_t>(r.name.size()));
    w.bytes(r.name.data(), r.name.size());
    w.u8(static_cast<uint8_t>(r.args.size()));
    for (const WireArg& a : r.args) {
        w.u8(a.kind);
        w.u32(a.cap);
        w.u32(static_cast<uint32_t>(a.data.size()));
        w.bytes(a.data.data(), a.data.size());
    }
    return std::move(w.buf());
}

bool decodeRequest(const std::string& frame, Request* r)
{
    Reader rd(frame.data(), frame.size());
    uint16_t nameLen;
    uint8_t argc;
    if (!rd.u8(&r->type) || !rd.u16(&nameLen) || !rd.bytes(nameLen, &r->name) || !rd.u8(&argc))
        return false;
    r->args.resize(argc);
    for (WireArg& a : r->args) {
        uint32_t len;
        if (!rd.u8(&a.kind) || a.kind > kArgBufInOut || !rd.u32(&a.cap) || !rd.u32(&len) || !rd.bytes(len, &a.data))
            return false;
    }
    return rd.done();
}

std::string encodeResponse(const Response& r)
{
    Writer w;
    w.u32(static_cast<uint32_t>(r.status));
    w.u8(static_cast<uint8_t>(r.outs.size()));
    for (const std::string& o : r.outs) {
        w.u32(static_cast<uint32_t>(o.size()));
        w.bytes(o.data(), o.size());
    }
    return std::move(w.buf());
}

bool decodeResponse(const std::string& frame, Response* r)
{
    Reader rd(frame.data(), frame.size());
    uint32_t status;
    uint8_t outc;
    if (!rd.u32(&status) || !rd.u8(&outc))
        return false;
    r->status = static_cast<int32_t>(status);
    r->outs.resize(outc);
    for (std::string& o : r->outs) {
        uint32_t len;
        if (!rd.u32(&len) || !rd.bytes(len, &o))
            return false;
    }
    return rd.done();
}

namespace {

// Notes a wait that ended at the socket's bound.
void noteTimeout(ssize_t r, bool* timedOut)
{
    if (timedOut && r < 0 && isTimeout(errno))
        *timedOut = true;
}

bool writeAll(int fd, const char* p, size_t n, bool* timedOut)
{
    while (n > 0) {
        ssize_t w = send(fd, p, n, MSG_NOSIGNAL);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            noteTimeout(w, timedOut);
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

bool readAll(int fd, char* p, size_t n, bool* timedOut)
{
    while (n > 0) {
        ssize_t r = read(fd, p, n);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            noteTimeout(r, timedOut);
            return false;
        }
        p += r;
        n -= static_cast<size_t>(r);
    }
    return true;
}

}  // namespace

bool sendFrame(int fd, const std::string& payload, bool* timedOut)
{
    return sendFrames(fd, &payload, 1, timedOut);
}

bool sendFrames(int fd, const std::string* payloads, size_t count, bool* timedOut)
{
    if (timedOut)
        *timedOut = false;
    size_t total = 0;
    for (size_t i = 0; i < count; ++i)
        total += 4 + payloads[i].size();
    Writer w;
    w.buf().reserve(total);
    for (size_t i = 0; i < count; ++i) {
        w.u32(static_cast<uint32_t>(payloads[i].size()));
        w.bytes(payloads[i].data(), payloads[i].size());
    }
    return writeAll(fd, w.buf().data(), w.buf().size(), timedOut);
}

bool recvFrame(int fd, std::string* payload, bool* timedOut)
{
    if (timedOut)
        *timedOut = false;
    // The peer writes each frame with one write, so one read usually brings
    // the length and the whole payload.
    char first[4096];
    size_t got = 0;
    while (got < 4) {
        ssize_t r = read(fd, first + got, sizeof first - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            noteTimeout(r, timedOut);
            return false;
        }
        got += static_cast<size_t>(r);
    }
    const unsigned char* head = reinterpret_cast<const unsigned char*>(first);
    uint32_t len = head[0] | (head[1] << 8) | (head[2] << 16) | (static_cast<uint32_t>(head[3]) << 24);
    size_t part = got - 4;
    if (len > kMaxFrame || part > len)  // oversized, or bytes past the one frame asked for
        return false;
    payload->assign(first + 4, part);
    payload->resize(len);
    return part == len || readAll(fd, &(*payload)[part], len - part, timedOut);
}

}  // namespace openclt
