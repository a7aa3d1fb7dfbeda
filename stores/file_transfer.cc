// Text writers, raw downloads and multipart uploads.
#include "stores/file_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "access/cli_bridge.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/text_convert.h"

// --- Writers ---------------------------------------------------------------------

namespace {

int writeAnswer(TextWrite w)
{
    switch (w) {
    case TextWrite::kWritten:
        return kResultOk;
    case TextWrite::kMissingArgument:
        return kResultInvalidArgument;
    default:
        return -1;
    }
}

}  // namespace

int writeFile(const char* path, const char* mode, const char* text)
{
    return writeAnswer(writeTextAs(__func__, path, mode, text));
}

int writeAppendToFile(const char* path, const char* text)
{
    return writeAnswer(writeTextAs(__func__, path, "a", text));
}

// --- Download --------------------------------------------------------------------

int download(const char* path)
{
    // Opened first, so that the size announced is the size of the file sent.
    // No link is followed (a work file could have been replaced by one) and a
    // FIFO or device neither blocks the open nor is sent.
    int fd = path ? open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC) : -1;
    struct stat st;
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(fd);
        fd = -1;
    }
    long long size = fd >= 0 ? static_cast<long long>(st.st_size) : 0;
    printf("Content-Length:%lld\n\n", size);
    LOG(kLogDebug, "download file info filename:%s size:%lld\r\n", path ? path : "", size);
    if (fd < 0) {
        fflush(stdout);
        LOG(kLogError, "downlaod file open file error\r\n");
        return kResultOpenFailed;
    }
    ResultCode rc = kResultOk;
    char block[kTransferBlock];
    long long left = size;
    while (left > 0) {
        size_t want = left < static_cast<long long>(sizeof block) ? static_cast<size_t>(left) : sizeof block;
        ssize_t n = read(fd, block, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            LOG(kLogError, "download file read error, %lld bytes short\r\n", left);
            rc = kResultReadFailed;
            break;
        }
        if (fwrite(block, 1, static_cast<size_t>(n), stdout) != static_cast<size_t>(n)) {
            rc = kResultWriteFailed;
            break;
        }
        left -= n;
    }
    close(fd);
    if (fflush(stdout) != 0 && rc == kResultOk)
        rc = kResultWriteFailed;
    if (rc == kResultWriteFailed)
        LOG(kLogError, "download file write error\r\n");
    return rc;
}

// --- Upload ----------------------------------------------------------------------

namespace {

// Process ids stay below 2^22 on Linux: at most 7 digits.
constexpr size_t kPidDigitsMax = 7;

// A name that stands for one file of the directory.
bool plainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// The file being received: a work file of this process, created afresh and
// written through a buffer; removed when the upload does not complete.
class WorkFile {
public:
    ~WorkFile() { discard(); }

    const std::string& path() const { return path_; }
    bool open(const std::string& path)
    {
        // Whatever is already there, a link or a file, is someone else's.
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd_ < 0)
            return false;
        path_ = path;
        return true;
    }
    bool isOpen() const { return fd_ >= 0; }
    void put(char c)
    {
        buf_[used_++] = c;
        if (used_ == sizeof buf_)
            flush();
    }
    void put(const char* p, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            put(p[i]);
    }
    bool failed() const { return failed_; }
    /// Writes what is held and closes; false when any write failed.
    bool close()
    {
        flush();
        if (::close(fd_) != 0)
            failed_ = true;
        fd_ = -1;
        return !failed_;
    }
    /// Gives the file its final name; the work file is no more.
    bool keepAs(const std::string& finalPath)
    {
        if (rename(path_.c_str(), finalPath.c_str()) != 0)
            return false;
        path_.clear();
        return true;
    }

private:
    void flush()
    {
        size_t off = 0;
        while (!failed_ && off < used_) {
            ssize_t n = write(fd_, buf_ + off, used_ - off);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                failed_ = true;
            else
                off += static_cast<size_t>(n);
        }
        used_ = 0;
    }
    void discard()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        if (!path_.empty())
            unlink(path_.c_str());
        path_.clear();
    }

    int fd_ = -1;
    bool failed_ = false;
    std::string path_;  // set while this process owns a file under it
    char buf_[kTransferBlock];
    size_t used_ = 0;
};

// The multipart body, byte by byte: its state survives from block to block,
// so a boundary, a name or a header end may fall across two blocks.
class MultipartReader {
public:
    MultipartReader(const std::string& directory, WorkFile* file) : dir_(directory), file_(file) {}

    /// Takes the next bytes of the body; 0 to go on, or the failure.
    ResultCode feed(const char* p, size_t n)
    {
        for (size_t i = 0; i < n && state_ != kDone; ++i) {
            ResultCode rc = step(p[i]);
            if (rc != kResultOk)
                return rc;
        }
        return kResultOk;
    }
    bool done() const { return state_ == kDone; }
    bool sawFile() const { return state_ >= kHeaderEnd; }

private:
    enum State { kBoundary, kFileKey, kFileName, kHeaderEnd, kContent, kDone };
    static constexpr const char kFileKeyText[] = "filename=";
    static constexpr const char kHeaderEndText[] = "\r\n\r\n";

    ResultCode step(char c)
    {
        switch (state_) {
        case kBoundary:
            return boundaryByte(c);
        case kFileKey:
            // 'f' occurs in the key only at its start.
            matched_ = c == kFileKeyText[matched_] ? matched_ + 1 : c == kFileKeyText[0];
            if (matched_ == sizeof kFileKeyText - 1)
                state_ = kFileName;
            return kResultOk;
        case kFileName:
            return nameByte(c);
        case kHeaderEnd:
            // After "\r\n\r" a CR still begins a header end.
            matched_ = c == kHeaderEndText[matched_] ? matched_ + 1 : c == '\r';
            if (matched_ == sizeof kHeaderEndText - 1) {
                state_ = kContent;
                matched_ = 0;
            }
            return kResultOk;
        case kContent:
            contentByte(c);
            return kResultOk;
        case kDone:
            break;
        }
        return kResultOk;
    }

    // The first line is the boundary; the content ends at CR LF and it.
    ResultCode boundaryByte(char c)
    {
        if (c == '\n' && !delimiter_.empty() && delimiter_.back() == '\r') {
            delimiter_.pop_back();
            if (delimiter_.size() == 2) {
                LOG(kLogError, "upload without boundary\r\n");
                return kResultUploadFailed;
            }
            state_ = kFileKey;
            return kResultOk;
        }
        // The CR of the line end is held; a CR inside the line is refused, so
        // that a CR starts the delimiter only at its first byte.
        if ((!delimiter_.empty() && delimiter_.back() == '\r') || delimiter_.size() > kUploadBoundaryMax + 2) {
            LOG(kLogError, "upload boundary too long or broken\r\n");
            return kResultUploadFailed;
        }
        delimiter_.push_back(c);
        return kResultOk;
    }

    // The file name runs to the next CR; quotes are dropped and a slash or
    // backslash starts it anew, so a browser's path leaves its last part.
    ResultCode nameByte(char c)
    {
        if (c == '"')
            return kResultOk;
        if (c == '\\' || c == '/') {
            name_.clear();
            return kResultOk;
        }
        if (c != '\r') {
            if (dir_.size() + name_.size() >= kUploadPathMax) {
                LOG(kLogError, "upload file name too long\r\n");
                return kResultUploadFailed;
            }
            name_.push_back(c);
            return kResultOk;
        }
        if (!plainName(name_)) {
            LOG(kLogError, "upload file name refused\r\n");
            return kResultUploadFailed;
        }
        std::string work = dir_ + UPLOAD_WORK_PREFIX + std::to_string(getpid());
        if (!file_->open(work)) {
            LOG(kLogError, "open file error\n");
            return kResultOpenFailed;
        }
        LOG(kLogDebug, "upload file %s into %s\r\n", name_.c_str(), work.c_str());
        state_ = kHeaderEnd;
        matched_ = 1;  // the CR that ended the name may begin the header end
        return kResultOk;
    }

    // A CR begins a possible delimiter; its bytes are held until they match
    // it whole (the content ends) or differ (they are content).
    void contentByte(char c)
    {
        if (matched_ > 0) {
            if (c == delimiter_[matched_]) {
                if (++matched_ == delimiter_.size()) {
                    LOG(kLogDebug, "file upload success\r\n");
                    state_ = kDone;
                }
                return;
            }
            file_->put(delimiter_.data(), matched_);
            matched_ = 0;
        }
        if (c == '\r')
            matched_ = 1;
        else
            file_->put(c);
    }

    const std::string dir_;
    WorkFile* file_;
    State state_ = kBoundary;
    std::string delimiter_ = "\r\n";  // CR LF and the boundary line
    std::string name_;
    size_t matched_ = 0;
};

}  // namespace

int upload(const char* directory, const char* finalName)
{
    if (!directory || !finalName || !plainName(finalName) ||
        strlen(directory) + strlen(finalName) > kUploadPathMax ||
        strlen(directory) + strlen(UPLOAD_WORK_PREFIX) + kPidDigitsMax > kUploadPathMax) {
        LOG(kLogError, "upload target refused\r\n");
        return kResultUploadFailed;
    }
    const char* lengthText = getenv("CONTENT_LENGTH");
    if (!lengthText) {
        LOG(kLogError, "No data length obtained!");
        return kResultUploadFailed;
    }
    uint32_t length = 0;
    if (!conv::parseU32(lengthText, &length) || length == 0) {
        LOG(kLogError, "upload data length refused: %s\r\n", lengthText);
        return kResultUploadFailed;
    }
    WorkFile file;
    MultipartReader reader(directory, &file);
    char block[kTransferBlock];
    for (uint32_t left = length; left > 0;) {
        size_t want = left < sizeof block ? left : sizeof block;
        if (fread(block, 1, want, stdin) != want) {
            LOG(kLogError, "Failed to read recovery data, please try again!");
            return kResultUploadFailed;
        }
        left -= static_cast<uint32_t>(want);
        ResultCode rc = reader.feed(block, want);
        if (rc != kResultOk)
            return rc;
    }
    if (!reader.done()) {
        LOG(kLogError, "%s\r\n", reader.sawFile() ? "upload ends before its closing boundary" : "upload without a file");
        return kResultUploadFailed;
    }
    std::string finalPath = std::string(directory) + finalName;
    if (!file.close() || !file.keepAs(finalPath)) {
        LOG(kLogError, "upload file not stored as %s: %s\r\n", finalPath.c_str(), strerror(errno));
        return kResultUploadFailed;
    }
    return kResultOk;
}
