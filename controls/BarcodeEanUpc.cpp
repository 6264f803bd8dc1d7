#include "BarcodeCheckDigit.h"
#include "BarcodeError.h"
#include "BarcodeSymbologies.h"

#include <algorithm>
#include <array>

namespace {

// Left odd-parity and right digit codes in the element alphabet; an even-parity code is the
// right code read backwards.
constexpr std::array<const char*, 10> LeftOdd{"2605", "1615", "1516", "0805", "0526",
                                              "0625", "0508", "0706", "0607", "2506"};
constexpr std::array<const char*, 10> Right{"7150", "6160", "6061", "5350", "5071",
                                            "5170", "5053", "5251", "5152", "7051"};

// Parity of the left digits, 'O' odd and 'E' even: EAN-13 by its first digit, UPC-E (number
// system 0) by its check digit, the 5-digit add-on by its check digit.
constexpr std::array<const char*, 10> Ean13Parity{"OOOOOO", "OOEOEE", "OOEEOE", "OOEEEO", "OEOOEE",
                                                  "OEEOOE", "OEEEOO", "OEOEOE", "OEOEEO", "OEEOEO"};
constexpr std::array<const char*, 10> UpcEParity{"EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO",
                                                 "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE"};
constexpr std::array<const char*, 10> Supp5Parity{"EEOOO", "EOEOO", "EOOEO", "EOOOE", "OEEOO",
                                                  "OOEEO", "OOOEE", "OEOEO", "OEOOE", "OOEOE"};
constexpr std::array<const char*, 4> Supp2Parity{"OO", "OE", "EO", "EE"};

int DigitAt(const QString& digits, qsizetype index) {
    return digits[index].unicode() - u'0';
}

QString RightCode(int digit) {
    return QString::fromLatin1(Right[static_cast<std::size_t>(digit)]);
}

QString LeftCode(int digit, bool even) {
    if (!even) {
        return QString::fromLatin1(LeftOdd[static_cast<std::size_t>(digit)]);
    }
    QString code = RightCode(digit);
    std::reverse(code.begin(), code.end());
    return code;
}

// The digits from the 1-based position on, one for each parity letter, in the left sets.
QString LeftDigits(const QString& digits, qsizetype from, const QString& parity) {
    QString codes;
    for (qsizetype i = 0; i < parity.size(); ++i) {
        codes += LeftCode(DigitAt(digits, from - 1 + i), parity[i] == u'E');
    }
    return codes;
}

QString RightDigits(const QString& digits, qsizetype from, qsizetype to) {
    QString codes;
    for (qsizetype i = from; i <= to; ++i) {
        codes += RightCode(DigitAt(digits, i - 1));
    }
    return codes;
}

void RequireLength(const QString& digits, qsizetype length, const char* message) {
    if (digits.size() != length) {
        throw EBarcodeError(QString::fromLatin1(message));
    }
}

// The user's text stays as given; a computed check digit is only encoded. A text longer than
// seven digits with Checksum is refused like a too long EAN-13, not cut to its last seven digits.
TBarcodeEncoding EncodeEan8(const TBarcodeRequest& request) {
    QString digits = PadWithZeros(request.Text, request.Checksum ? 7 : 8);
    if (request.Checksum) {
        digits += OptionalCheckDigit(request.CheckSumMethod, digits);
    }
    RequireLength(digits, 8, "Invalid Text len (EAN8)");
    const QString pattern = QStringLiteral("505") + LeftDigits(digits, 1, QStringLiteral("OOOO")) +
                            QStringLiteral("05050") + RightDigits(digits, 5, 8) + QStringLiteral("505");
    return {pattern, request.Text, request.Text};
}

TBarcodeEncoding EncodeEan13(const TBarcodeRequest& request) {
    QString digits = request.Checksum ? PadWithZeros(request.Text, 12) : PadWithZeros(request.Text, 13);
    if (request.Checksum) {
        digits += OptionalCheckDigit(request.CheckSumMethod, digits);
    }
    RequireLength(digits, 13, "Invalid Text len (EAN13)");
    const QString parity = QString::fromLatin1(Ean13Parity[static_cast<std::size_t>(DigitAt(digits, 0))]);
    const QString pattern = QStringLiteral("505") + LeftDigits(digits, 2, parity) + QStringLiteral("05050") +
                            RightDigits(digits, 8, 13) + QStringLiteral("505");
    return {pattern, request.Text, request.Text};
}

// With a check digit to add, the text is padded to the 11 digits it stands for; padding it to 12
// and keeping the first 11 would drop the last digit of an 11-digit text.
TBarcodeEncoding EncodeUpcA(const TBarcodeRequest& request) {
    const bool addCheck = request.Checksum && request.CheckSumMethod == csmModulo10;
    QString digits = PadWithZeros(request.Text, addCheck ? 11 : 12);
    if (addCheck) {
        const QString body = digits.left(11);
        digits = body + OptionalCheckDigit(request.CheckSumMethod, body);
    }
    const QString pattern = QStringLiteral("505") + LeftDigits(digits, 1, QStringLiteral("OOOOOO")) +
                            QStringLiteral("05050") + RightDigits(digits, 7, 12) + QStringLiteral("505");
    return {pattern, digits, digits};
}

// The UPC-A number the six digits stand for: number system, manufacturer and product code.
QString ExpandUpcE(const QString& d, int numberSystem) {
    const QString ns = QString::number(numberSystem);
    switch (DigitAt(d, 5)) {
    case 0:
    case 1:
    case 2:
        return ns + d.left(2) + d[5] + QStringLiteral("0000") + d.mid(2, 3);
    case 3:
        return ns + d.left(3) + QStringLiteral("00000") + d.mid(3, 2);
    case 4:
        return ns + d.left(4) + QStringLiteral("00000") + d[4];
    default:
        return ns + d.left(5) + QStringLiteral("0000") + d[5];
    }
}

// As with UPC-A, a text whose check digit is to be computed holds only the six data digits.
TBarcodeEncoding EncodeUpcE(const TBarcodeRequest& request, int numberSystem) {
    QString text = PadWithZeros(request.Text, request.Checksum ? 6 : 7);
    const QString six = text.left(6);
    const int check = Modulo10CheckDigit(ExpandUpcE(six, numberSystem));
    if (request.Checksum) {
        text = six + QString::number(check);
    }
    QString parity = QString::fromLatin1(UpcEParity[static_cast<std::size_t>(check)]);
    if (numberSystem == 1) {
        for (QChar& p : parity) {
            p = p == u'E' ? u'O' : u'E';
        }
    }
    const QString pattern = QStringLiteral("505") + LeftDigits(six, 1, parity) + QStringLiteral("050505");
    return {pattern, text, text};
}

QString AddOnPattern(const QString& digits, const QString& parity) {
    QString pattern = QStringLiteral("506");
    for (qsizetype i = 0; i < parity.size(); ++i) {
        if (i > 0) {
            pattern += QStringLiteral("05");
        }
        pattern += LeftCode(DigitAt(digits, i), parity[i] == u'E');
    }
    return pattern;
}

// The check digit only chooses the parity. With Checksum it replaces whatever follows the five
// digits, so encoding the same component again does not keep appending digits.
TBarcodeEncoding EncodeSupp5(const TBarcodeRequest& request) {
    QString text = PadWithZeros(request.Text, 5);
    const QString five = text.left(5);
    int sum = 0;
    for (qsizetype i = 0; i < 5; ++i) {
        sum += DigitAt(five, i) * (i % 2 == 0 ? 3 : 9);
    }
    const int check = sum % 10;
    if (request.Checksum) {
        text = five + QString::number(check);
    }
    return {AddOnPattern(five, QString::fromLatin1(Supp5Parity[static_cast<std::size_t>(check)])), text,
            text};
}

TBarcodeEncoding EncodeSupp2(const TBarcodeRequest& request) {
    const QString text = PadWithZeros(request.Text, 2);
    const int value = DigitAt(text, 0) * 10 + DigitAt(text, 1);
    return {AddOnPattern(text, QString::fromLatin1(Supp2Parity[static_cast<std::size_t>(value % 4)])), text,
            text};
}

} // namespace

TBarcodeEncoding EncodeEanUpc(const TBarcodeRequest& request) {
    switch (request.Typ) {
    case bcCodeEAN8:
        return EncodeEan8(request);
    case bcCodeEAN13:
        return EncodeEan13(request);
    case bcCodeUPC_A:
        return EncodeUpcA(request);
    case bcCodeUPC_E0:
        return EncodeUpcE(request, 0);
    case bcCodeUPC_E1:
        return EncodeUpcE(request, 1);
    case bcCodeUPC_Supp2:
        return EncodeSupp2(request);
    case bcCodeUPC_Supp5:
        return EncodeSupp5(request);
    default:
        throw EBarcodeError(QStringLiteral("%1: wrong BarcodeType").arg(BarcodeClassName));
    }
}
