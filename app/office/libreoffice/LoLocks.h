#pragma once

#include <QString>

#include <optional>

namespace vexlo::office::lo {

// The lock file an office keeps beside a document it has open: ".~lock.<name>#".
QString lockFileOf(const QString& documentPath);

// What a lock file says of its owner: ",<user>,<host>,<date>,<profile url>;".
struct OfficeLock {
    QString host;
    QString profileDir; // local path of the owner's user profile
};
std::optional<OfficeLock> readOfficeLock(const QString& lockFile);

// Whether an office runs on this machine with that user profile, whoever's it is: read
// from the process table (its -env:UserInstallation, or the default profile of the
// process's user).
bool officeRunsWithProfile(const QString& profileDir);

QString localHostName();

} // namespace vexlo::office::lo
