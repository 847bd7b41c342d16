#pragma once
// File names on Linux are bytes. A QString path is decoded UTF-8, so a name that is not valid
// UTF-8 has no QString that finds the file again: code that acts on a file it was shown keeps its
// std::filesystem::path (the bytes) and decodes only to show it.
#include <QFile>
#include <QString>

#include <filesystem>

namespace platform {

// The bytes Qt would use for a QString path.
std::filesystem::path NativePath(const QString &path);
// A path for showing; bytes that are not UTF-8 show as U+FFFD.
QString DisplayPath(const std::filesystem::path &path);

// Opens the file of these bytes for reading into file (which must be closed); false when it
// cannot be opened or is a folder, as QFile::open would say.
bool OpenForReading(QFile &file, const std::filesystem::path &path);

// Renames within a file system, never replacing an existing entry; false when it failed.
bool RenameNoReplace(const std::filesystem::path &from, const std::filesystem::path &to);

// Removes a file (never a folder); false when it failed.
bool RemoveFile(const std::filesystem::path &path);

} // namespace platform
