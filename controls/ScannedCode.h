#pragma once

#include <functional>

class QString;
class QWidget;

// A barcode reader types a code as a burst of digits ending with Enter. In a field that takes
// data (a number of days, a note, a reason) such a code is never data: the field gets back what
// it held before the burst, and the code goes to the search instead. Digits the clerk types by
// hand, or a short number, stay in the field as typed. On a button the code is what the button
// is to work on.
void RunOnScannedCode(QWidget* target, std::function<void(const QString& code)> search);
