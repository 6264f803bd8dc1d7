#include "BarcodeCheckDigit.h"
#include "BarcodeError.h"
#include "BarcodePattern.h"
#include "BarcodeSymbologies.h"

#include <array>

namespace {

// Module counts of the symbol values 0 to 102.
constexpr std::array<const char*, 103> Symbols{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131",
};

constexpr int Fnc1 = 102;
constexpr const char* Stop = "2331112";

enum class TSubset { A, B, C };

struct TStart {
    TSubset Subset;
    bool Gs1;
    int Value;
    const char* Modules;
};

TStart StartOf(TBarcodeType typ) {
    switch (typ) {
    case bcCode128A:
        return {TSubset::A, false, 103, "211412"};
    case bcCode128B:
        return {TSubset::B, false, 104, "211214"};
    case bcCode128C:
        return {TSubset::C, false, 105, "211232"};
    case bcCodeEAN128A:
        return {TSubset::A, true, 103, "211412"};
    case bcCodeEAN128B:
        return {TSubset::B, true, 104, "211214"};
    case bcCodeEAN128C:
        return {TSubset::C, true, 105, "211232"};
    default:
        throw EBarcodeError(QStringLiteral("%1: wrong BarcodeType in Code_128").arg(BarcodeClassName));
    }
}

// Subset A holds blank to '_', subset B blank to '~', both from value 0; anything else is
// encoded as the blank.
int CharacterValue(QChar ch, TSubset subset) {
    const char16_t last = subset == TSubset::A ? u'_' : u'~';
    const char16_t c = ch.unicode();
    return c >= u' ' && c <= last ? c - u' ' : 0;
}

bool IsDigit(QChar ch) {
    return ch.unicode() >= u'0' && ch.unicode() <= u'9';
}

// A pair that is not two digits is encoded as "00".
int PairValue(QChar high, QChar low) {
    if (!IsDigit(high) || !IsDigit(low)) {
        return 0;
    }
    return (high.unicode() - u'0') * 10 + (low.unicode() - u'0');
}

class TSymbolWriter {
public:
    TSymbolWriter(int startValue, const char* startModules) : sum_(startValue), modules_(startModules) {}

    void Add(int value) {
        modules_ += Symbols[static_cast<std::size_t>(value)];
        sum_ += value * weight_;
        ++weight_;
    }

    QString Finish() {
        modules_ += Symbols[static_cast<std::size_t>(sum_ % 103)];
        modules_ += Stop;
        return ModulesToPattern(QString::fromLatin1(modules_));
    }

private:
    int sum_;
    int weight_ = 1;
    QByteArray modules_;
};

} // namespace

TBarcodeEncoding EncodeCode128(const TBarcodeRequest& request) {
    const TStart start = StartOf(request.Typ);
    TSymbolWriter writer(start.Value, start.Modules);
    QString text = request.Text;
    QString data = text;
    if (start.Gs1) {
        writer.Add(Fnc1);
        if (request.Checksum) {
            data += OptionalCheckDigit(request.CheckSumMethod, text);
        }
    }
    if (start.Subset == TSubset::C) {
        if (data.size() % 2 != 0) {
            data.prepend(u'0');
            text.prepend(u'0');
        }
        for (qsizetype i = 0; i < data.size(); i += 2) {
            writer.Add(PairValue(data[i], data[i + 1]));
        }
    } else {
        for (const QChar ch : data) {
            writer.Add(CharacterValue(ch, start.Subset));
        }
    }
    return {writer.Finish(), text, data};
}
