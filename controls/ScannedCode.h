#pragma once

#include <functional>

class QLineEdit;
class QString;

// A barcode reader types a code as a burst of digits ending with Enter. In a field that takes
// data (a number of days, a note, a reason) such a code is never data: the field gets back what
// it held before the burst, and the code goes to the search instead. Digits the clerk types by
// hand, or a short number, stay in the field as typed.
void RunOnScannedCode(QLineEdit* field, std::function<void(const QString& code)> search);
