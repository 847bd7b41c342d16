#pragma once
// File names on Linux are bytes. A QString path is decoded UTF-8, so a name that is not valid
// UTF-8 has no QString that finds the file again: code that acts on a file it was shown keeps its
// std::filesystem::path (the bytes) and decodes only to show it.
#include "platform/base/Exception.h"

#include <QFile>
#include <QString>

#include <filesystem>

namespace platform {

// The bytes Qt would use for a QString path.
std::filesystem::path NativePath(const QString &path);
// A path for showing; bytes that are not UTF-8 show as U+FFFD.
QString DisplayPath(const std::filesystem::path &path);

// A path that names a pipe, a socket or a device where a file was to be read: reading one could wait
// for ever, so none is ever read.
class ENotARegularFile : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Opens the file of these bytes for reading into file (which must be closed); false when it
// cannot be opened or is a folder, as QFile::open would say. Raises ENotARegularFile, naming the
// file, for anything else that is not a regular file; the kind is told without waiting on it.
bool OpenForReading(QFile &file, const std::filesystem::path &path);

// A new, empty file in folder named prefix + six random characters + suffix, created exclusively
// and never through a link (so nothing planted in a shared folder is followed or reused),
// readable and writable by its owner only. Answers its descriptor (close-on-exec) and sets
// createdPath, or -1 with errno set.
int CreateUniqueFile(const std::filesystem::path &folder, const std::string &prefix, const std::string &suffix,
                     std::filesystem::path &createdPath);

// Writes all of size bytes to fd, going on after interruptions and short writes; false with errno
// set when the system refuses the rest (a full disk).
bool WriteAll(int fd, const char *data, size_t size);

// Renames within a file system, never replacing an existing entry; false when it failed.
bool RenameNoReplace(const std::filesystem::path &from, const std::filesystem::path &to);

// Removes a file (never a folder); false when it failed.
bool RemoveFile(const std::filesystem::path &path);

} // namespace platform
