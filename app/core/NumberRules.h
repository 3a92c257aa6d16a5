#pragma once

#include <QString>
#include <cstdint>

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int64_t roundHalfEven(double value);

// A field's number: trimmed, its leading numeric part (optional sign, digits, optional
// fraction), rounded half to even; empty or non-numeric text gives 0. Saturates at the
// 16-bit range the fields are stored in.
int16_t numberRule(const QString& text);

// Two-digit text: values up to 9 get a leading "0".
QString padTwo(int n);
