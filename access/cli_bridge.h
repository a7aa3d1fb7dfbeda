// CLI bridge: one show command's output into a file, CLI configuration
// scripts applied from a file, the temporary files of both, and the CLI-text
// setters, lock-file wrappers and interface notation built on them
// (access/cli_setters.h, access/safe_wrap.h, access/intf_notation.h).
#pragma once

#include <cstddef>

#include "platform/openclt/openclt.h"

/// Directory of every work file of the bridge and its callers.
#define OXEL_TMP_DIR "/mnt/application/oxel/tmp/"

/// Size of the path buffers of every caller.
constexpr size_t kCliPathSize = 512;
/// The show bridge's own copies: at most 254 command characters and 95 path
/// characters reach the switch (longer ones are cut, not refused).
constexpr size_t kCliCommandBufSize = 255;
constexpr size_t kCliShowPathBufSize = 96;

/// Runs one show command on the switch, which writes its whole output to
/// `path` (removed first). 0; 10003 for a missing command or path; 10000 when
/// the switch fails the command.
int cliShowExecuteToFile(OpenClientHandle* client, const char* command, const char* path);

/// Applies the script at `inputPath`; the switch writes the CLI's answer to
/// `outputPath`. Neither file is created or removed here. 0; 10003 for a
/// missing path; 10000 when the switch fails the call.
int txtCfgApply(OpenClientHandle* client, const char* inputPath, const char* outputPath);
/// The same through the switch's second text-configuration call.
int txtCfgNDCApply(OpenClientHandle* client, const char* inputPath, const char* outputPath);
/// Identical to txtCfgNDCApply, logging under its own name.
int txtCfgNDCApplyUnCompress(OpenClientHandle* client, const char* inputPath, const char* outputPath);

/// Writes `text` to `path` (created or truncated). 0; 10003 for a missing
/// argument; 10000 when the file cannot be opened or written.
int writeToFile(const char* path, const char* text);

/// What writeTextAs did.
enum class TextWrite { kWritten, kMissingArgument, kOpenFailed, kWriteFailed };
/// The one text writer of the library (writeToFile, and writeFile and
/// writeAppendToFile of stores/file_transfer.h answer from it): opens `path`
/// with the fopen `mode`, writes `text` whole, flushes and closes, logging a
/// failure under `func`. A text that reached the file only in part is a
/// write failure.
TextWrite writeTextAs(const char* func, const char* path, const char* mode, const char* text);

/// A non-negative number that keeps the temporary files of concurrent
/// requests apart; the files of one operation share one number.
int tempFileSuffixGet(void);

/// Longest stem of a TempFile name: with it a show output's path still fits
/// the show bridge's path buffer whatever the process id and number.
constexpr size_t kTempStemMax = 50;

/// A work file of one operation: "<OXEL_TMP_DIR><stem>_<pid>_<number>",
/// where the number starts at a random suffix per process and counts up, so
/// that no concurrent request, and no other work file of this request, has
/// the same name while the holder lives. The holder removes the file (made by
/// whoever wrote it: the caller, or the switch) when it goes, on every path
/// of the operation. The two files of one operation, a script and the CLI's
/// answer, share one number: build the answer's holder from the script's.
class TempFile {
public:
    /// A file with a number of its own. A stem is the caller's constant
    /// word ("oxel_out_show_arp_brief"); a longer one than kTempStemMax is cut.
    explicit TempFile(const char* stem);
    /// A file sharing `partner`'s number.
    TempFile(const char* stem, const TempFile& partner);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const char* path() const { return path_; }

private:
    void name(const char* stem);
    int number_;
    char path_[kCliPathSize];
};

/// Drops from `text`, in place, every byte that does not start a valid UTF-8
/// sequence and every complete sequence that is overlong, a surrogate or
/// beyond U+10FFFF. Returns `text` (a missing text as is).
char* utf8Sanitize(char* text);
