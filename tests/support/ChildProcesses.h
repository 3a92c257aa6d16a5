#pragma once

// The processes a test started, and whatever they started in turn, ended by their ids
// when the test is over, never by a name that could match somebody else's process.
#include <QByteArray>
#include <QList>

namespace testsupport {

// Makes this test process the new parent of orphans among its descendants (a program
// started detached, the office of a program that was killed), so that they can still be
// found and ended. Call before starting anything.
void adoptOrphans();

// Live children of this process whose kernel name (comm) is `name`, started or still
// starting.
QList<qint64> childrenNamed(const QByteArray& name);

// Ends every live descendant of this process: asked first (SIGTERM), forced after a
// grace, reaped. Returns how many there were.
int endDescendants(int graceMs = 3000);

} // namespace testsupport
