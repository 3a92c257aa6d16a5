#pragma once

#include <QString>
#include <QStringList>

// Splits a command text into program and arguments the way the command interpreter would:
// blanks and tabs separate words, double quotes group a word (and are dropped), backslashes
// are ordinary characters because the texts carry Windows paths and registry keys.
// An unterminated quote runs to the end of the text; "" gives an empty argument.
QStringList splitCommandLine(const QString& commandText);
