#include "BarcodeTypes.h"

#include "BarcodeError.h"

#include <array>

namespace {

constexpr std::array<TBCdata, bcCodeEAN128C + 1> TypeTable{{
    {"2_5_interleaved", true, true, 2.0, 3.0, false},
    {"2_5_industrial", true, true, 2.0, 3.0, false},
    {"2_5_matrix", true, true, 2.25, 3.0, false},
    {"Code39", false, true, 2.0, 3.0, false},
    {"Code39 Extended", false, true, 2.0, 3.0, false},
    {"Code128A", false, false, 0.0, 0.0, true},
    {"Code128B", false, false, 0.0, 0.0, true},
    {"Code128C", true, false, 0.0, 0.0, true},
    {"Code93", false, false, 0.0, 0.0, true},
    {"Code93 Extended", false, false, 0.0, 0.0, true},
    {"MSI", true, false, 0.0, 0.0, false},
    {"PostNet", true, false, 0.0, 0.0, false},
    {"Codebar", false, true, 2.0, 3.0, false},
    {"EAN8", true, true, 2.0, 3.0, true},
    {"EAN13", true, true, 2.0, 3.0, true},
    {"UPC_A", true, true, 2.0, 3.0, true},
    {"UPC_E0", true, true, 2.0, 3.0, true},
    {"UPC_E1", true, true, 2.0, 3.0, true},
    {"UPC Supp2", true, true, 2.0, 3.0, true},
    {"UPC Supp5", true, true, 2.0, 3.0, true},
    {"EAN128A", false, false, 0.0, 0.0, true},
    {"EAN128B", false, false, 0.0, 0.0, true},
    {"EAN128C", true, false, 0.0, 0.0, true},
}};

} // namespace

const TBCdata& BCdata(TBarcodeType typ) {
    const auto index = static_cast<int>(typ);
    if (index < 0 || index >= static_cast<int>(TypeTable.size())) {
        throw EBarcodeError(QStringLiteral("%1: wrong BarcodeType").arg(BarcodeClassName));
    }
    return TypeTable[static_cast<std::size_t>(index)];
}
