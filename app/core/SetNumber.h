#pragma once

class QLineEdit;

// Gives a text box the digits-only edit style (on) or takes it away (off). Like the
// desktop's own style bit it refuses typed characters other than digits; pasted or
// programmatically set text still gets in, which the callers' own checks deal with.
void SetNumber(QLineEdit* box, bool on);
bool hasDigitsOnlyStyle(const QLineEdit* box);
