#include "GlobFunc.h"

#include <cmath>

namespace {

QString TwoDigits(int n) {
    return IntToStrZero(n, 2);
}

// Firebird and the shop's screens both take dates in these tokens; Qt's own format
// letters differ ("MM" for months), so the formats are interpreted here.
QString FormatTokens(const QString& format, const QDate& date, const QTime& time) {
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < format.size();) {
        const QStringView rest = QStringView(format).mid(i);
        if (rest.startsWith(u"yyyy")) {
            out += IntToStrZero(date.year(), 4);
            i += 4;
        } else if (rest.startsWith(u"yy")) {
            out += TwoDigits(date.year() % 100);
            i += 2;
        } else if (rest.startsWith(u"dd")) {
            out += TwoDigits(date.day());
            i += 2;
        } else if (rest.startsWith(u"mm")) {
            out += afterHour ? TwoDigits(time.minute()) : TwoDigits(date.month());
            afterHour = false;
            i += 2;
        } else if (rest.startsWith(u"hh")) {
            out += TwoDigits(time.hour());
            afterHour = true;
            i += 2;
        } else if (rest.startsWith(u"ss")) {
            out += TwoDigits(time.second());
            i += 2;
        } else {
            out += format[i];
            ++i;
        }
    }
    return out;
}

constexpr char16_t kCzechLower[] = u"áäčďéěëíĺňóöřšťúůüýž";
constexpr char16_t kCzechUpper[] = u"ÁÄČĎÉĚËÍĹŇÓÖŘŠŤÚŮÜÝŽ";
static_assert(sizeof(kCzechLower) == sizeof(kCzechUpper));

} // namespace

QString FloatToSql(double value) {
    if (value == 0)
        return QStringLiteral("0");
    // QString::number always uses the C locale, so the regional settings cannot leak in.
    return QString::number(value, 'g', 15);
}

QString IntToStrZero(long long number, int width) {
    QString text = QString::number(number);
    while (text.size() < width)
        text.prepend(u'0');
    return text;
}

QString DateToText(const QString& format, const QDateTime& value) {
    if (!value.isValid())
        return {};
    return FormatTokens(format, value.date(), value.time());
}

QString DateToText(const QString& format, const QDate& value) {
    if (!value.isValid())
        return {};
    return FormatTokens(format, value, QTime(0, 0));
}

QString DateTimeToText(const QString& dateFormat, const QString& timeFormat, const QString& separator,
                       const QDateTime& value) {
    const QDate date = value.isValid() ? value.date() : QDate(1899, 12, 30);
    const QTime time = value.isValid() ? value.time() : QTime(0, 0);
    return FormatTokens(dateFormat, date, time) + separator + FormatTokens(timeFormat, date, time);
}

QString SqlEscape(const QString& text, bool keepControls) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        // A control character becomes a blank before doubling; it is never an apostrophe.
        if (c.unicode() < 32 && !keepControls)
            out += u' ';
        else if (c == u'\'')
            out += QStringLiteral("''");
        else
            out += c;
    }
    return out;
}

QString SqlText(const QString& text, bool keepControls) {
    if (text.isEmpty())
        return QStringLiteral("null");
    return u'\'' + SqlEscape(text, keepControls) + u'\'';
}

QString SqlEquals(const QString& text, bool keepControls) {
    if (text.isEmpty())
        return QStringLiteral("is null");
    return QStringLiteral("= '") + SqlEscape(text, keepControls) + u'\'';
}

QString SqlDate(const QDate& value) {
    return u'\'' + DateToText(QStringLiteral("yyyy-mm-dd"), value) + u'\'';
}

QString SqlTimestamp(const QDateTime& value) {
    return u'\'' +
           DateTimeToText(QStringLiteral("yyyy-mm-dd"), QStringLiteral("hh:mm:ss"), QStringLiteral(" "),
                          value) +
           u'\'';
}

QString SqlTimestampMs(const QDateTime& value) {
    return SqlTimestamp(value).chopped(1) + u'.' + IntToStrZero(value.time().msec(), 3) + u'\'';
}

QString SqlFullName(const QString& alias) {
    return QStringLiteral("trim(coalesce(%1.JMENO, '') || ' ' || coalesce(%1.PRIJMENI, ''))").arg(alias);
}

QString UpperCz(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            c = QChar(u - u'a' + u'A');
            continue;
        }
        for (std::size_t i = 0; kCzechLower[i] != 0; ++i) {
            if (kCzechLower[i] == u) {
                c = QChar(kCzechUpper[i]);
                break;
            }
        }
    }
    return out;
}

double RoundTo(double step, double value) {
    // The tiny nudge keeps amounts such as 1.005, which binary floating point stores as
    // 1.00499999…, rounding up like the decimal amount they stand for.
    // Dividing by the whole number 1 / step, rather than multiplying by the inexact step,
    // gives the double nearest to the decimal amount (1.15, not 1.1500000000000001).
    const double inverse = 1.0 / step;
    const double scaled = std::fabs(value) * inverse;
    const double rounded = std::trunc(scaled + 0.5 + scaled * 1e-12) / inverse;
    return value < 0 ? -rounded : rounded;
}

double PriceWithoutVat(double priceWithVat, double ratePercent) {
    return RoundTo(0.01, priceWithVat / (ratePercent * 0.01 + 1));
}

QString NewCustomerCode(int customerKey, const QDateTime& now) {
    return DateToText(QStringLiteral("ddmmyy"), now.date()) +
           DateTimeToText({}, QStringLiteral("hhmm"), {}, now) + IntToStrZero(customerKey, 6);
}

QString NewMediumCode(int titleKey, int mediumKey, const QDateTime& now) {
    // The title key is cut before padding; the first digit is shifted last, so medium codes
    // start with 4 to 7 and can never be mistaken for a customer card (0 to 3).
    QString code = DateToText(QStringLiteral("ddmmyy"), now.date()) + IntToStrZero(titleKey % 10000, 4) +
                   IntToStrZero(mediumKey, 6);
    const int first = code[0].digitValue();
    code.replace(0, 1, QString::number(first + 4));
    return code;
}

void CodesToCheckList(const QString& positions, std::vector<TCheckEntry>& list) {
    for (auto& entry : list)
        entry.checked = false;
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const int code = static_cast<int>(i) + 1;
        for (auto& entry : list) {
            if (entry.code == code)
                entry.checked = positions[i] == u'A';
        }
    }
}

QString CheckListToCodes(const std::vector<TCheckEntry>& list) {
    QString positions(80, u'N');
    for (const auto& entry : list) {
        if (entry.checked && entry.code >= 1 && entry.code <= 80)
            positions[entry.code - 1] = u'A';
    }
    while (positions.endsWith(u'N'))
        positions.chop(1);
    return positions;
}

QRect FitPicture(int pictureWidth, int pictureHeight, const QRect& frame, const QRect& current) {
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return current;
    int height = frame.height() - 2;
    int width = static_cast<int>(static_cast<long long>(pictureWidth) * height / pictureHeight);
    if (width > frame.width() - 2) {
        width = frame.width() - 2;
        height = static_cast<int>(static_cast<long long>(pictureHeight) * width / pictureWidth);
    }
    width = std::min(width, pictureWidth);
    height = std::min(height, pictureHeight);
    const int left = frame.left() + frame.width() / 2 - width / 2;
    const int top = frame.top() + frame.height() / 2 - height / 2;
    return QRect(left, top, width, height);
}
