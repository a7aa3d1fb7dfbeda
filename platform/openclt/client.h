// Client side of the switch control API: one connection per handle, one
// request and one answer per operation.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/openclt/wire.h"

namespace openclt {

/// Sends one call and waits for its answer; fills `out` in argument order.
int32_t roundTrip(OpenClientHandle* client, Request& req, std::vector<std::string>* outs);

template <class T>
void encodeArg(Request& req, const T& v)
{
    WireArg a;
    a.kind = ArgTraits<T>::kind;
    if constexpr (std::is_same<T, BufDesc>::value) {
        a.data.assign(v.pstart ? v.pstart : "", v.pstart ? v.size : 0);
        a.cap = v.size;
    } else if constexpr (std::is_same<T, BufDesc*>::value) {
        a.cap = v ? v->size : 0;
        if (v && v->pstart)
            a.data.assign(v->pstart, v->size);
    } else if constexpr (std::is_pointer<T>::value) {
        using R = std::remove_cv_t<std::remove_pointer_t<T>>;
        a.cap = sizeof(R);
        if (v)
            a.data.assign(reinterpret_cast<const char*>(v), sizeof(R));
        else
            a.data.assign(sizeof(R), '\0');
    } else {
        a.cap = sizeof(T);
        a.data.assign(reinterpret_cast<const char*>(&v), sizeof(T));
    }
    req.args.push_back(std::move(a));
}

template <class T>
void decodeArg(T v, const std::string& data)
{
    if constexpr (std::is_same<T, BufDesc*>::value) {
        if (!v || !v->pstart || v->size == 0)
            return;
        // The server cuts texts to leave room for their NUL; bytes beyond the
        // buffer are never written.
        size_t n = data.size() < v->size ? data.size() : v->size;
        memcpy(v->pstart, data.data(), n);
        if (n < v->size)
            v->pstart[n] = '\0';
        v->size = static_cast<uint32_t>(n);
    } else {
        using R = std::remove_pointer_t<T>;
        if (v && data.size() == sizeof(R))
            memcpy(static_cast<void*>(v), data.data(), sizeof(R));
    }
}

template <class T>
void decodeIfOutput(const std::vector<std::string>& outs, size_t* next, T v)
{
    if constexpr (ArgTraits<T>::kind == kArgInOut || ArgTraits<T>::kind == kArgBufInOut) {
        if (*next < outs.size())
            decodeArg(v, outs[*next]);
        ++*next;
    } else {
        (void)outs;
        (void)next;
        (void)v;
    }
}

template <class... T>
int32_t invoke(OpenClientHandle* client, const char* name, T... args)
{
    Request req;
    req.type = kMsgCall;
    req.name = name;
    (encodeArg(req, args), ...);
    std::vector<std::string> outs;
    int32_t status = roundTrip(client, req, &outs);
    if (status == 0 || status == kOpenExists) {  // "already exists" names the existing entry
        size_t next = 0;
        (decodeIfOutput(outs, &next, args), ...);
    }
    return status;
}

}  // namespace openclt
