#pragma once

#include "FileSystem.h"

// The real disk. A copy is written to a hidden temporary file beside the target and only
// then moved into place, so a failed copy never leaves a half-written component that a later
// run would take for a good one and never replace.
class LocalFileSystem : public FileSystem {
public:
    std::optional<QString> findDirectory(const QString& parent, const QString& name) const override;
    std::optional<QString> findFile(const QString& directory, const QString& fileName) const override;
    CopyResult copyFile(const QString& source, const QString& target) override;
};
