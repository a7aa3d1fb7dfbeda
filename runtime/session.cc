// Session check. The whole read, expiry and rewrite of a session file happens
// under an exclusive flock, so concurrent requests of one session serialise.
#include "runtime/session.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/log.h"
#include "runtime/route_tree.h"

namespace {

// Lines are logged under the name of the public check.
const char* const kFn = "checkSessionX";

// An identifier names a file directly under /tmp/session/; anything that
// would name another file (or the directory itself) is an unknown session.
bool sessionIdUsable(const char* id)
{
    return id && *id && !strchr(id, '/') && strcmp(id, ".") != 0 && strcmp(id, "..") != 0;
}

// Reads one line into buf like fgets; the empty text at end of file.
void readLine(FILE* f, char* buf, int size)
{
    if (!fgets(buf, size, f))
        buf[0] = '\0';
}

// Opens the session file for reading and writing: only a regular file at the
// path itself (a link planted there is not followed; a FIFO named like a
// session neither blocks nor counts). nullptr otherwise.
FILE* openSessionFile(const char* path)
{
    int fd = open(path, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st;
    FILE* f = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? fdopen(fd, "r+") : nullptr;
    if (!f)
        close(fd);
    return f;
}

// Whether the path still names the file open as `f`. A waiter for the lock
// may find that the holder before it expired the session and a login
// created it anew meanwhile: the locked file is then no longer the session.
bool stillNamed(FILE* f, const char* path)
{
    struct stat held, named;
    return fstat(fileno(f), &held) == 0 && lstat(path, &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

// Opens the session file and takes its exclusive lock, on the file the path
// names once the lock is held. nullptr (after the log line of the failure)
// when there is no such file or it cannot be locked.
FILE* lockSessionFile(const char* path, bool usable)
{
    // A session replaced while we wait is looked at again; a few rounds
    // bound the loop against a path that keeps being replaced.
    for (int round = 0; usable && round < 8; ++round) {
        FILE* f = openSessionFile(path);
        if (!f)
            break;
        int rc;
        do
            rc = flock(fileno(f), LOCK_EX);
        while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            LOG_AS(kFn, kLogError, "File lock failed\n");
            fclose(f);
            return nullptr;
        }
        if (stillNamed(f, path))
            return f;
        fclose(f);
    }
    LOG_AS(kFn, kLogDebug, "%s file not exsits, ignore\n", path);
    return nullptr;
}

int finish(FILE* f, int result)
{
    int fd = fileno(f);
    if (flock(fd, LOCK_UN) != 0) {
        LOG_AS(kFn, kLogError, "File unlock failed\n");
        fclose(f);
        return -1;
    }
    fclose(f);
    return result;
}

}  // namespace

int checkSessionX(const char* sessionId, const char* refresh, const RouteEntry* entry)
{
    struct sysinfo info;
    long uptime = sysinfo(&info) == 0 ? info.uptime : -1;
    return checkSessionAt(sessionId, refresh, entry, uptime);
}

int checkSessionAt(const char* sessionId, const char* refresh, const RouteEntry* entry, long uptime)
{
    char path[512];
    snprintf(path, sizeof path, "/tmp/session/%s", sessionId ? sessionId : "");
    FILE* f = lockSessionFile(path, sessionIdUsable(sessionId));
    if (!f)
        return -1;
    char user[200], stamp[200], priv[16];
    readLine(f, user, sizeof user);
    readLine(f, stamp, sizeof stamp);
    priv[0] = '\0';
    bool admin = strcmp(user, "admin\n") == 0;
    if (!admin) {
        readLine(f, priv, sizeof priv);
        bool refused;
        if (strncmp(priv, "ro", 2) == 0) {
            refused = entry->protection == 2 || entry->method != kMethodGet;
        } else if (strncmp(priv, "rw", 2) == 0) {
            refused = entry->protection == 2;
        } else {
            LOG_AS(kFn, kLogError, "Invalid priviledged level in user session\n");
            fclose(f);
            return -1;
        }
        if (refused) {
            LOG_AS(kFn, kLogError, "Permission denied, not a priviledged user\n");
            fclose(f);
            return -1;
        }
    }
    if (uptime < 0) {
        LOG_AS(kFn, kLogError, "Failed to get sysinfo\r\n");
        fclose(f);
        return -1;
    }
    // The stamp as the switch's 32-bit strtol reads it (saturating at the
    // 32-bit limits) on any host; the difference is taken in 64 bits, where
    // no stamp can overflow it.
    long long parsed = strtoll(stamp, nullptr, 10);
    long last = static_cast<long>(parsed < INT32_MIN ? INT32_MIN : parsed > INT32_MAX ? INT32_MAX : parsed);
    if (last != 0 && static_cast<long long>(uptime) - last > kSessionIdleLimit) {
        LOG_AS(kFn, kLogInfo, "Token timeout(%ld - %ld).please login again. (userName: %s timestamp: %s)\r\n", uptime, last,
            user, stamp);
        // Only the file we hold: the lock keeps other checks away, but the
        // login service may have replaced it without taking the lock.
        if (stillNamed(f, path))
            unlink(path);
        fclose(f);
        return -1;
    }
    if (!refresh) {
        char content[256];
        if (admin)
            snprintf(content, sizeof content, "%s%ld\n%s", user, uptime, sessionId);
        else
            snprintf(content, sizeof content, "%s%ld\n%s%s", user, uptime, priv, sessionId);
        fflush(f);
        if (ftruncate(fileno(f), 0) != 0 || fseek(f, 0, SEEK_SET) != 0 || fputs(content, f) < 0 ||
            fflush(f) != 0)
            LOG_AS(kFn, kLogError, "Token update to file failed\r\n");
        LOG_AS(kFn, kLogDebug, "Token update to file. (%s)\r\n", content);
    }
    return finish(f, 0);
}
