// CLI bridge operations, work files and UTF-8 clean-up.
#include "access/cli_bridge.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/envelope.h"
#include "runtime/log.h"

namespace {

// Copies a text into a fixed buffer, cut silently to leave room for its NUL.
template <size_t N>
void copyTrunc(char (&dst)[N], const char* src)
{
    size_t n = strnlen(src, N - 1);
    memcpy(dst, src, n);
    dst[n] = '\0';
}

// An input text as the switch takes it: its characters and its NUL.
BufDesc textDesc(char* text)
{
    return BufDesc{static_cast<uint32_t>(strlen(text) + 1), text};
}

void removeIfPresent(const char* path)
{
    if (access(path, F_OK) == 0)
        unlink(path);
}

typedef int (*ApplyOp)(OpenClientHandle*, BufDesc, BufDesc);

int applyWith(const char* func, ApplyOp op, bool trace, OpenClientHandle* client, const char* inputPath,
              const char* outputPath)
{
    if (!inputPath || !outputPath) {
        LOG_AS(func, kLogError, "txtCfgApply: Invalid argument\r\n");
        return kResultInvalidArgument;
    }
    if (trace)
        LOG_AS(func, kLogDebug, "inputName=%s, outputName=%s\n", inputPath, outputPath);
    char in[kCliPathSize], out[kCliPathSize];
    copyTrunc(in, inputPath);
    copyTrunc(out, outputPath);
    int rc = op(client, textDesc(in), textDesc(out));
    if (rc != 0) {
        LOG_AS(func, kLogError, "Bad return code trying to apply the configuration. (result = %d)\n", rc);
        return kResultGeneralFailed;
    }
    return kResultOk;
}

}  // namespace

int cliShowExecuteToFile(OpenClientHandle* client, const char* command, const char* path)
{
    char cmdBuf[kCliCommandBufSize];
    char pathBuf[kCliShowPathBufSize];
    memset(cmdBuf, 0, sizeof cmdBuf);
    memset(pathBuf, 0, sizeof pathBuf);
    if (!command || !path) {
        LOG(kLogError, "cliShowExecuteToFile: Invalid argument\r\n");
        return kResultInvalidArgument;
    }
    copyTrunc(cmdBuf, command);
    copyTrunc(pathBuf, path);
    // A stale file must never reach the caller's parse: neither the one the
    // switch will write nor, for a path that was cut, the one the caller
    // will open.
    removeIfPresent(pathBuf);
    if (strcmp(pathBuf, path) != 0)
        removeIfPresent(path);
    int rc = openapiCliShowExecuteToFile(client, textDesc(cmdBuf), textDesc(pathBuf));
    if (rc != 0) {
        LOG(kLogError, "Execute show cmd faile, result:%d\r\n", rc);
        return kResultGeneralFailed;
    }
    return kResultOk;
}

int txtCfgApply(OpenClientHandle* client, const char* inputPath, const char* outputPath)
{
    return applyWith(__func__, openapiTxtCfgApply, true, client, inputPath, outputPath);
}

int txtCfgNDCApply(OpenClientHandle* client, const char* inputPath, const char* outputPath)
{
    return applyWith(__func__, openapiTxtCfgNDCApply, false, client, inputPath, outputPath);
}

int txtCfgNDCApplyUnCompress(OpenClientHandle* client, const char* inputPath, const char* outputPath)
{
    return applyWith(__func__, openapiTxtCfgNDCApply, false, client, inputPath, outputPath);
}

TextWrite writeTextAs(const char* func, const char* path, const char* mode, const char* text)
{
    if (!path || !text || !mode) {
        LOG_AS(func, kLogError, "Content error...\r\n");
        return TextWrite::kMissingArgument;
    }
    FILE* f = fopen(path, mode);
    if (!f) {
        LOG_AS(func, kLogError, "Open dir error...%s\r\n", path);
        return TextWrite::kOpenFailed;
    }
    // A script that reached the disk only in part must not be applied.
    size_t n = strlen(text);
    bool ok = fwrite(text, 1, n, f) == n;
    ok = fflush(f) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok) {
        LOG_AS(func, kLogError, "Write error...%s\r\n", path);
        return TextWrite::kWriteFailed;
    }
    return TextWrite::kWritten;
}

int writeToFile(const char* path, const char* text)
{
    switch (writeTextAs(__func__, path, "we", text)) {
    case TextWrite::kWritten:
        return kResultOk;
    case TextWrite::kMissingArgument:
        return kResultInvalidArgument;
    default:
        return kResultGeneralFailed;
    }
}

int tempFileSuffixGet(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    srand(static_cast<unsigned>(ts.tv_nsec));
    return rand();
}

namespace {

// Process ids stay below 2^22 on Linux: at most 7 digits.
constexpr size_t kPidDigitsMax = 7;
constexpr size_t kIntDigitsMax = 10;
static_assert(sizeof OXEL_TMP_DIR - 1 + kTempStemMax + 1 + kPidDigitsMax + 1 + kIntDigitsMax < kCliShowPathBufSize,
              "a show output's work file name must reach the switch whole");

// The number of a new work file: a random start per process, then one more
// for every file, so two holders of one process never share a name.
int tempFileNumberNext()
{
    static bool drawn = false;
    static unsigned next = 0;
    if (!drawn) {
        next = static_cast<unsigned>(tempFileSuffixGet());
        drawn = true;
    }
    return static_cast<int>(next++ & 0x7fffffffu);
}

}  // namespace

TempFile::TempFile(const char* stem) : number_(tempFileNumberNext())
{
    name(stem);
}

TempFile::TempFile(const char* stem, const TempFile& partner) : number_(partner.number_)
{
    name(stem);
}

TempFile::~TempFile()
{
    unlink(path_);
}

void TempFile::name(const char* stem)
{
    snprintf(path_, sizeof path_, OXEL_TMP_DIR "%.*s_%d_%d", static_cast<int>(kTempStemMax), stem ? stem : "",
             static_cast<int>(getpid()), number_);
}

char* utf8Sanitize(char* text)
{
    if (!text)
        return text;
    const unsigned char* in = reinterpret_cast<unsigned char*>(text);
    char* out = text;
    size_t i = 0;
    while (in[i]) {
        unsigned char c = in[i];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            ++i;
            continue;
        }
        size_t need;
        uint32_t cp, min, max = 0x10FFFF;
        if (c >= 0xC0 && c <= 0xDF) {
            need = 1, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF7) {
            need = 3, cp = c & 0x07, min = 0x10000;
        } else {
            ++i;  // a stray continuation byte or 0xF8-0xFF
            continue;
        }
        size_t k = 1;
        while (k <= need && (in[i + k] & 0xC0) == 0x80) {
            cp = cp << 6 | (in[i + k] & 0x3F);
            ++k;
        }
        if (k <= need) {
            ++i;  // continuation bytes missing: the lead byte alone goes
            continue;
        }
        bool allowed = cp >= min && cp <= max && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (allowed)
            for (size_t j = 0; j <= need; ++j)
                *out++ = static_cast<char>(in[i + j]);
        i += need + 1;
    }
    *out = '\0';
    return text;
}
