#pragma once

#include <QString>
#include <QStringList>

// The address the logo opens and the product line shows. A build names the product's
// public page; a build that names none opens the program's own help start page.
namespace homePage {

// The address in force for a program run from programDir.
QString address(const QString& programDir);

// Where the bundled help start page may lie: beside the program (build tree) or in the
// installed data (lib/vexlo/../../share/vexlo/help).
QStringList helpStartCandidates(const QString& programDir);

// How the product line names the address: a web address without its scheme, the bundled
// help page by what it is (its path would not fit and means nothing to a teacher).
QString shownAs(const QString& address);

// The address a build setting gives, or the help start page when it gives none.
QString resolve(const QString& configured, const QString& programDir);

} // namespace homePage
