#include "BarcodeEncoder.h"

#include "BarcodeError.h"

#include <algorithm>

namespace {

bool AllDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return ch.unicode() >= u'0' && ch.unicode() <= u'9'; });
}

TBarcodeEncoding EncodeFamily(const TBarcodeRequest& request) {
    switch (request.Typ) {
    case bcCode_2_5_interleaved:
    case bcCode_2_5_industrial:
    case bcCode_2_5_matrix:
        return EncodeTwoOfFive(request);
    case bcCode39:
    case bcCode39Extended:
        return EncodeCode39(request);
    case bcCode93:
    case bcCode93Extended:
        return EncodeCode93(request);
    case bcCodeMSI:
        return EncodeMsi(request);
    case bcCodePostNet:
        return EncodePostNet(request);
    case bcCodeCodabar:
        return EncodeCodabar(request);
    case bcCodeEAN8:
    case bcCodeEAN13:
    case bcCodeUPC_A:
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
    case bcCodeUPC_Supp2:
    case bcCodeUPC_Supp5:
        return EncodeEanUpc(request);
    default:
        return EncodeCode128(request);
    }
}

} // namespace

TBarcodeEncoding EncodeBarcode(const TBarcodeRequest& request) {
    const TBCdata& data = BCdata(request.Typ);
    TBarcodeRequest checked = request;
    if (data.Numeric) {
        checked.Text = request.Text.trimmed();
        if (!AllDigits(checked.Text)) {
            throw EBarcodeError(QStringLiteral("Barcode must be numeric"));
        }
    }
    return EncodeFamily(checked);
}
