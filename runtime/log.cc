// Process log. One zero-initialised state per process; the level threshold is
// the first byte of a 4-byte file mapped shared by every process on the switch.
#include "runtime/log.h"

#include <fcntl.h>
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <syslog.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace logtest {
const char* const kLevelFile = "/tmp/devmgr_log_level";
const char* const kLogFile = "/tmp/qv700.log";
const char* const kOldLogFile = "/tmp/qv700.log.old";
}  // namespace logtest

namespace {

struct LogState {
    const char* identity;
    FILE* file;
    int fileSize;
    volatile char* levelMap;
    bool started;
    bool levelMapAttached;
    pthread_mutex_t mutex;
    int mask;
    int facility;
    int levelFd;
    char nameBuf[64];
};

LogState g_log = {nullptr, nullptr, 0, nullptr, false, false, PTHREAD_MUTEX_INITIALIZER, 0, 0, -1, {0}};

const char* levelName(int level)
{
    static const char* const kNames[] = {"", "", "", "ERROR", "WARN", "NOTICE", "INFO", "DEBUG"};
    if (level < 0 || level > 7)
        return "";
    return kNames[level];
}

// Another process may truncate the level file while it is mapped ("echo 7 >"
// empties it before writing): a read of the mapped byte then faults with
// SIGBUS. Reads and writes of the byte go through levelByte*, which turn such
// a fault into "no digit" instead of the death of the request.
sigjmp_buf g_levelJump;
volatile sig_atomic_t g_levelGuarded = 0;

void levelFault(int sig, siginfo_t* info, void* ctx)
{
    if (g_levelGuarded) {
        g_levelGuarded = 0;
        siglongjmp(g_levelJump, 1);
    }
    // Not ours: die of it as the process would have without this handler.
    (void)info;
    (void)ctx;
    signal(sig, SIG_DFL);
    raise(sig);
}

void levelFaultInstall()
{
    static bool installed = false;
    if (installed)
        return;
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_sigaction = levelFault;
    // SA_NODEFER: the jump out of the handler skips the mask restore, so the
    // signal must not stay blocked after it.
    sa.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    installed = sigaction(SIGBUS, &sa, nullptr) == 0;
}

/// The first byte of the level map, or 0 when it cannot be read.
char levelByteRead()
{
    volatile char c = 0;
    if (sigsetjmp(g_levelJump, 0) == 0) {
        g_levelGuarded = 1;
        c = g_log.levelMap[0];
    }
    g_levelGuarded = 0;
    return c;
}

void levelByteWrite(char c)
{
    if (sigsetjmp(g_levelJump, 0) == 0) {
        g_levelGuarded = 1;
        g_log.levelMap[0] = c;
    }
    g_levelGuarded = 0;
}

int threshold()
{
    if (g_log.levelMap) {
        char c = levelByteRead();
        if (c >= '0' && c <= '9')
            return c - '0';
    }
    return 6;
}

void releaseLevelMap()
{
    if (g_log.levelMap)
        munmap(const_cast<char*>(g_log.levelMap), 4);
    g_log.levelMap = nullptr;
    if (g_log.levelFd >= 0)
        close(g_log.levelFd);
    g_log.levelFd = -1;
}

void closeFileLocked()
{
    pthread_mutex_lock(&g_log.mutex);
    if (g_log.file)
        fclose(g_log.file);
    g_log.file = nullptr;
    pthread_mutex_unlock(&g_log.mutex);
}

// A file of /tmp that every process shares, opened without following a
// link planted at its name and only when it is a regular file (a FIFO there
// must neither block nor be written to). -1 otherwise.
int openSharedTmpFile(const char* path, int flags)
{
    int fd = open(path, flags | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

void attachLevelMap()
{
    int fd = openSharedTmpFile(logtest::kLevelFile, O_RDWR);
    if (fd < 0)
        return;
    // The mapped bytes must exist in the file before they are touched: a
    // length set by ftruncate alone leaves a hole that a full /tmp cannot
    // fill, and the first read of the map would fault. Writing the missing
    // bytes fails cleanly instead.
    struct stat st;
    bool sized = fstat(fd, &st) == 0;
    if (sized && st.st_size < 4) {
        static const char kZeros[4] = {0, 0, 0, 0};
        size_t have = static_cast<size_t>(st.st_size);
        sized = pwrite(fd, kZeros + have, 4 - have, static_cast<off_t>(have)) == static_cast<ssize_t>(4 - have);
    } else if (sized && st.st_size > 4) {
        sized = ftruncate(fd, 4) == 0;
    }
    if (!sized) {
        close(fd);
        return;
    }
    void* map = mmap(nullptr, 4, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        close(fd);
        return;
    }
    levelFaultInstall();
    g_log.levelFd = fd;
    g_log.levelMap = static_cast<volatile char*>(map);
    char c = levelByteRead();
    if (c < '0' || c > '9')
        levelByteWrite('6');
    g_log.levelMapAttached = true;
}

FILE* openLogFile()
{
    int fd = openSharedTmpFile(logtest::kLogFile, O_RDWR | O_APPEND);
    if (fd < 0)
        return nullptr;
    FILE* f = fdopen(fd, "a+");
    if (!f)
        close(fd);
    return f;
}

// The identity of a process that logs before logOpen: its name from /proc.
void readProcessName()
{
    FILE* f = fopen("/proc/self/status", "re");
    if (!f)
        return;
    while (fgets(g_log.nameBuf, sizeof g_log.nameBuf, f)) {
        if (strncmp(g_log.nameBuf, "Name:", 5) == 0) {
            char* p = g_log.nameBuf + 5;
            p += strspn(p, "\t ");
            size_t n = strcspn(p, "\t\n");
            memmove(g_log.nameBuf, p, n);
            g_log.nameBuf[n] = '\0';
            g_log.identity = g_log.nameBuf;
            break;
        }
    }
    fclose(f);
}

void rotateIfFull()
{
    if (g_log.fileSize <= logtest::kRotateBytes)
        return;
    fclose(g_log.file);
    unlink(logtest::kOldLogFile);
    rename(logtest::kLogFile, logtest::kOldLogFile);
    g_log.file = openLogFile();
    g_log.fileSize = 0;
}

void logLineWrite(FILE* stream, int level, const char* fmt, va_list ap)
{
    char stamp[64];
    struct timespec ts;
    struct tm tmv;
    bool haveStamp = clock_gettime(CLOCK_REALTIME, &ts) == 0 && localtime_r(&ts.tv_sec, &tmv) != nullptr;
    const char* ident = g_log.identity ? g_log.identity : "";
    int n = 0;
    if (haveStamp) {
        snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03ld", tmv.tm_year + 1900, tmv.tm_mon + 1,
                 tmv.tm_mday, tmv.tm_hour, tmv.tm_min, tmv.tm_sec, static_cast<long>(ts.tv_nsec / 1000000));
        n = fprintf(stream, "%s (%s): %s: ", stamp, levelName(level), ident);
    } else {
        n = fprintf(stream, "(%s): %s: ", levelName(level), ident);
    }
    int m = vfprintf(stream, fmt, ap);
    if (stream == g_log.file && g_log.file) {
        g_log.fileSize += (n > 0 ? n : 0) + (m > 0 ? m : 0);
        rotateIfFull();
        if (g_log.file)
            fflush(g_log.file);
    }
}

}  // namespace

void logOpen(const char* identity, int mask, int facility)
{
    if (g_log.started) {
        if (g_log.mask & kLogToSyslog)
            closelog();
        if (g_log.mask & kLogToFile)
            closeFileLocked();
        releaseLevelMap();
        g_log.started = false;
        g_log.levelMapAttached = false;
    }
    g_log.identity = identity;
    g_log.mask = mask;
    g_log.facility = facility;
    if (!g_log.levelMapAttached)
        attachLevelMap();
    if (mask & kLogToFile) {
        pthread_mutex_lock(&g_log.mutex);
        if (!g_log.file) {
            g_log.file = openLogFile();
            if (g_log.file) {
                struct stat st;
                g_log.fileSize = fstat(fileno(g_log.file), &st) == 0 ? static_cast<int>(st.st_size) : 0;
            }
        }
        pthread_mutex_unlock(&g_log.mutex);
    }
}

void logPrintV(int level, const char* fmt, va_list ap)
{
    if (level > threshold())
        return;
    if (!g_log.started) {
        if (g_log.mask < 0)
            g_log.mask = kLogToStdout;
        if (g_log.facility < 0)
            g_log.facility = 8;
        if (!g_log.identity && g_log.mask != kLogToStdout)
            readProcessName();
        if (g_log.mask & kLogToSyslog)
            openlog(g_log.identity, 0, g_log.facility);
        g_log.started = true;
    }
    if (g_log.mask & kLogToStdout) {
        va_list cp;
        va_copy(cp, ap);
        logLineWrite(stdout, level, fmt, cp);
        va_end(cp);
    }
    if (g_log.mask & kLogToFile) {
        va_list cp;
        va_copy(cp, ap);
        pthread_mutex_lock(&g_log.mutex);
        // Without the log file, lines go to standard error (the web
        // server's error log): standard output carries only the response.
        logLineWrite(g_log.file ? g_log.file : stderr, level, fmt, cp);
        pthread_mutex_unlock(&g_log.mutex);
        va_end(cp);
    }
    if (g_log.mask & kLogToSyslog) {
        va_list cp;
        va_copy(cp, ap);
        vsyslog(level, fmt, cp);
        va_end(cp);
    }
}

void logPrint(int level, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    logPrintV(level, fmt, ap);
    va_end(ap);
}

void logClose()
{
    if (!g_log.started)
        return;
    if (g_log.mask & kLogToSyslog)
        closelog();
    if (g_log.mask & kLogToFile)
        closeFileLocked();
    releaseLevelMap();
    g_log.started = false;
    g_log.levelMapAttached = false;
}
