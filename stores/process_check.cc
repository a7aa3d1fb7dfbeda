// Process checks over /proc: no shell, no command text built from the name.
#include "stores/process_check.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/log.h"

namespace {

bool nameUsable(const char* name)
{
    if (!name || !*name || strlen(name) > kProcessNameMax)
        return false;
    for (const char* p = name; *p; ++p)
        if (!isalnum(static_cast<unsigned char>(*p)) && *p != '.' && *p != '_' && *p != '-')
            return false;
    return true;
}

// Up to `size` bytes of a small /proc file; the empty text when it is gone.
std::string readSmall(const std::string& path, size_t size)
{
    std::string text;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    text.resize(size);
    ssize_t n = read(fd, &text[0], size);
    close(fd);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

bool hasName(const std::string& pidDir, const std::string& name)
{
    std::string comm = readSmall(pidDir + "/comm", 64);
    if (!comm.empty() && comm.back() == '\n')
        comm.pop_back();
    if (comm == name)
        return true;
    // The kernel name is cut to 15 characters; the command line is not.
    std::string cmd = readSmall(pidDir + "/cmdline", 4096);
    std::string first = cmd.substr(0, cmd.find('\0'));
    size_t slash = first.rfind('/');
    return (slash == std::string::npos ? first : first.substr(slash + 1)) == name;
}

// Processes of the name; -1 when /proc holds no process at all (this one is
// always there in a process table).
int countOf(const char* func, const char* name)
{
    if (!nameUsable(name))
        return 0;
    DIR* d = opendir("/proc");
    if (!d) {
        LOG_AS(func, kLogError, "cannot read the process table\r\n");
        return -1;
    }
    int processes = 0, count = 0;
    while (const dirent* e = readdir(d)) {
        if (!isdigit(static_cast<unsigned char>(e->d_name[0])))
            continue;
        ++processes;
        if (hasName(std::string("/proc/") + e->d_name, name))
            ++count;
    }
    closedir(d);
    if (processes == 0) {
        LOG_AS(func, kLogError, "no process table in /proc\r\n");
        return -1;
    }
    return count;
}

}  // namespace

int processRunningCheck(const char* name)
{
    int n = countOf(__func__, name);
    return n < 0 ? -1 : n > 0 ? 1 : 0;
}

int processRunningCount(const char* name)
{
    return countOf(__func__, name);
}
