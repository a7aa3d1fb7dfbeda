// Runs one file transfer primitive the way a CGI program does (body on
// standard input, CONTENT_LENGTH in the environment) and prints its result
// after whatever it wrote, as "@@rc=<code>".
//   upload_probe upload <directory> <final name>
//   upload_probe plant <directory> <link target> <final name>
//       (first plants a link at this process's own work file name)
//   upload_probe download <path>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/log.h"
#include "stores/file_transfer.h"

int main(int argc, char** argv)
{
    logOpen("oxel_cgi", kLogToFile, 0);
    int rc = -1000;
    if (argc == 4 && strcmp(argv[1], "upload") == 0) {
        rc = upload(argv[2], argv[3]);
    } else if (argc == 5 && strcmp(argv[1], "plant") == 0) {
        std::string work = std::string(argv[2]) + UPLOAD_WORK_PREFIX + std::to_string(getpid());
        if (symlink(argv[3], work.c_str()) != 0)
            return 2;
        rc = upload(argv[2], argv[4]);
    } else if (argc == 3 && strcmp(argv[1], "download") == 0) {
        rc = download(argv[2]);
    } else {
        fprintf(stderr, "usage: upload_probe upload|plant|download ...\n");
        return 2;
    }
    printf("@@rc=%d", rc);
    logClose();
    return 0;
}
