// File primitives beside JSON: text writers, a raw download of a file to the
// client, and a file received from a browser as multipart form data.
#pragma once

#include <cstddef>

/// Writes `text` to `path` opened with the fopen `mode` ("w", "a" ...). 0;
/// 10003 for a missing argument; -1 when the file cannot be opened or the
/// text does not reach it whole. Directories are never created.
int writeFile(const char* path, const char* mode, const char* text);
/// writeFile with mode "a": `text` is added at the end of the file.
int writeAppendToFile(const char* path, const char* text);

/// Size of the blocks a download copies and an upload reads.
constexpr size_t kTransferBlock = 10240;

/// Writes "Content-Length:<size>\n\n" and the file's bytes to standard
/// output. The file is opened before the header is written, without
/// following a link at `path`; only a regular file is sent, and no more than
/// the size announced. A file that cannot be opened (missing, a link, not a
/// regular file) still gets the header line, with size 0, and answers 10016.
/// 0; 10016; 10017 when the file ends before its announced size or cannot be
/// read; 10018 when standard output takes the bytes no more.
int download(const char* path);

/// Longest boundary line of a multipart body (without its CR LF).
constexpr size_t kUploadBoundaryMax = 99;
/// Longest path of an upload: the directory and a file name together.
constexpr size_t kUploadPathMax = 255;
/// The file being received lives under the directory as this word followed
/// by the process id until it is complete.
#define UPLOAD_WORK_PREFIX ".upload_"

/// Receives the one file of a multipart body of CONTENT_LENGTH bytes on
/// standard input and stores it as `directory` followed by `finalName`
/// ("%s%s": the directory ends with "/"). The final name, and the name the
/// browser sends (its last component when it carries a path), must be plain
/// names: not empty, ".", ".." and without "/"; the body opens with a
/// boundary line of at most kUploadBoundaryMax characters. The content is
/// written to a work file of this process (UPLOAD_WORK_PREFIX) created
/// afresh, never through a link, and renamed to the final name only when the
/// whole body has arrived and the closing boundary was seen; on every failure
/// it is removed and the final name is left as it was.
/// 0; 10016 when the work file cannot be created; 10025 for anything else
/// (no or a bad length, a bad name or boundary, no file in the body, a short
/// body, no closing boundary, a write or rename failure).
int upload(const char* directory, const char* finalName);
