#pragma once

#include "BarcodeSymbologies.h"

// Text to pattern for any symbology, without a drawing surface. Numeric types get their text
// trimmed first (the returned Text carries the trimmed value). Throws EBarcodeError with the
// message the user is shown.
TBarcodeEncoding EncodeBarcode(const TBarcodeRequest& request);
