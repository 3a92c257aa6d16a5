#pragma once

#include <QString>

namespace vexlo::office {

// Why a workbook cannot be taken for writing, or why writing it failed.
enum class FileProblem {
    None,
    InUse,             // another program holds it (its lock, or the office opened it read-only)
    ReadOnlyFile,      // the file itself cannot be written
    ReadOnlyFolder,    // its folder takes no new files (the office keeps its lock beside it)
    DiskFull,          // no room left for it on its disk
    ProgramStopped,    // the spreadsheet program ended under the call
    FormatNotWritable, // read through a format the office cannot write back
    Unknown,
};

// What the file system says against writing `path` now: a read-only file or folder,
// or a disk too full for another copy of the file. None when nothing is against it.
FileProblem writeProblemOnDisk(const QString& path);

// A save failed for a reason the office did not name: the file system's view of it.
FileProblem diagnoseFailedSave(const QString& path);

} // namespace vexlo::office
