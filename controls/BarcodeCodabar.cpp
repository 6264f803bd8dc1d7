#include "BarcodeSymbologies.h"

#include <array>

namespace {

struct TCodabarSymbol {
    char16_t Character;
    const char* Pattern;
};

constexpr std::array<TCodabarSymbol, 20> Symbols{{
    {u'0', "5050516"}, {u'1', "5050615"}, {u'2', "5051506"}, {u'3', "6150505"}, {u'4', "5060515"},
    {u'5', "6050515"}, {u'6', "5150506"}, {u'7', "5150605"}, {u'8', "5160505"}, {u'9', "6051505"},
    {u'-', "5051605"}, {u'$', "5061505"}, {u':', "6050606"}, {u'/', "6060506"}, {u'.', "6060605"},
    {u'+', "5060606"}, {u'A', "5061515"}, {u'B', "5151506"}, {u'C', "5051516"}, {u'D', "5051615"},
}};

constexpr std::size_t FirstStartStop = 16;

QString PatternOf(char16_t c) {
    for (const TCodabarSymbol& symbol : Symbols) {
        if (symbol.Character == c) {
            return QString::fromLatin1(symbol.Pattern);
        }
    }
    return {};
}

// Characters outside the table, and the start/stop letters A to D, which would end the symbol
// early for a reader, are left out of the data.
bool IsData(QChar ch) {
    for (std::size_t i = 0; i < FirstStartStop; ++i) {
        if (Symbols[i].Character == ch.unicode()) {
            return true;
        }
    }
    return false;
}

} // namespace

TBarcodeEncoding EncodeCodabar(const TBarcodeRequest& request) {
    QString pattern = PatternOf(u'A') + u'0';
    for (const QChar ch : request.Text) {
        if (IsData(ch)) {
            pattern += PatternOf(ch.unicode()) + u'0';
        }
    }
    pattern += PatternOf(u'B');
    return {pattern, request.Text, request.Text};
}
