#pragma once

#include <QString>

#include <optional>

enum class CopyStatus {
    Copied,
    AlreadyPresent, // someone put the file in place meanwhile; it is left as it is
    SourceMissing,
    NoPermission,
    NoSpace,
    Failed,
};

struct CopyResult {
    CopyStatus status = CopyStatus::Failed;
    QString detail; // the system's own words, for the window and the debug log
};

// The file operations the finisher needs. File and folder names are looked up without regard to
// case, as Windows names are ("System32", "SysWOW64", "msvbvm60.dll").
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The path of the folder named name in parent, or nothing.
    virtual std::optional<QString> findDirectory(const QString& parent, const QString& name) const = 0;
    // The path of the file named fileName in directory, or nothing.
    virtual std::optional<QString> findFile(const QString& directory, const QString& fileName) const = 0;
    // Copies source to target; an existing target is never replaced.
    virtual CopyResult copyFile(const QString& source, const QString& target) = 0;
};
