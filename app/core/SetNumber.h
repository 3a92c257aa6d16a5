#pragma once

class QLineEdit;

// Gives a text box the digits-only edit style (on) or takes it away (off): typed, pasted,
// dropped and input-method text gets in only as digits, full-width ones becoming plain
// digits. Text set by the program itself is not checked.
void SetNumber(QLineEdit* box, bool on);
bool hasDigitsOnlyStyle(const QLineEdit* box);
