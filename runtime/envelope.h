// Response envelope, result codes and the switch status translation.
#pragma once

#include <cstdint>

struct cJSON;

/// Result codes of the API (0 success, anything else a failure).
typedef int32_t ResultCode;
enum : ResultCode {
    kResultOk = 0,
    kResultGeneralFailed = 10000,
    kResultInvalidArgument = 10003,
    kResultNotImplemented = 10004,
    kResultOutOfMemory = 10005,
    kResultObjectExist = 10011,
    kResultOpenFailed = 10016,
    kResultReadFailed = 10017,
    kResultWriteFailed = 10018,
    kResultApiNotFound = 10023,
    kResultUploadFailed = 10025,
    kResultUnsupported = 17002,
};

/// Message of a result code; "Error code unknown" for codes outside the table.
const char* respMsgGet(ResultCode code);
/// Maps a switch control API status to a result code.
ResultCode OpenResultTranslate(int openResult);
/// Renders the envelope (formatted) into *out, freeing what *out held; 0 or 10000.
int responseJsonRreallocStr(ResultCode code, const char* member, const char* data, char** out);
/// Renders the envelope into a zero-filled caller buffer of `size` bytes; 0 or -1.
int responseJsonStr(ResultCode code, const char* member, const char* data, char* buf, unsigned size);
/// Renders a JSON tree formatted into *out; 0 or 10000.
int responseJsonToStr(const cJSON* tree, char** out);

/// Builds and writes one envelope to standard output, followed by a newline
/// when `newline` is set (answers to writes end with one). Returns the code,
/// or 10000 when nothing could be rendered.
ResultCode replyEnvelope(ResultCode code, const char* member, const char* data, bool newline);
