#pragma once

#include <QDateTime>
#include <QRect>
#include <QString>

#include <vector>

// Formatting of SQL literals, dates, money and codes: every desk builds its statements
// and its printed texts through these, so one shop writes one format everywhere.

// Numbers in statements: a point as decimal separator, no grouping, whatever the locale.
QString FloatToSql(double value);
QString IntToStrZero(long long number, int width);

// Formats use "dd", "mm" (minutes after "hh"), "yy", "yyyy", "hh", "ss"; other characters are copied.
// An invalid date-time is the zero date and gives the empty text.
QString DateToText(const QString& format, const QDateTime& value);
QString DateToText(const QString& format, const QDate& value);
QString DateTimeToText(const QString& dateFormat, const QString& timeFormat, const QString& separator,
                       const QDateTime& value);

// SQL literals. keepControls is set only for multi-line memo texts.
QString SqlEscape(const QString& text, bool keepControls = false);
QString SqlText(const QString& text, bool keepControls = false);
QString SqlEquals(const QString& text, bool keepControls = false);
QString SqlDate(const QDate& value);
QString SqlTimestamp(const QDateTime& value);
// To the millisecond, for the rows of one save that must carry one and the same time.
QString SqlTimestampMs(const QDateTime& value);
// "JMENO PRIJMENI" of the row with this alias, as an SQL expression: a missing part (the shipped
// administrator has no first name) leaves the other, not a null name.
QString SqlFullName(const QString& alias);

// Folds letters as the database's UPPER() does on Windows-1250 text.
QString UpperCz(const QString& text);

double RoundTo(double step, double value);
double PriceWithoutVat(double priceWithVat, double ratePercent);

// The 16-digit codes of customer cards and medium labels.
QString NewCustomerCode(int customerKey, const QDateTime& now = QDateTime::currentDateTime());
QString NewMediumCode(int titleKey, int mediumKey, const QDateTime& now = QDateTime::currentDateTime());

// One entry of a check list showing a code list: its code number and its tick.
struct TCheckEntry {
    int code = 0;
    bool checked = false;
};
void CodesToCheckList(const QString& positions, std::vector<TCheckEntry>& list);
QString CheckListToCodes(const std::vector<TCheckEntry>& list);

// Where to show a picture of the given size inside a frame; an empty picture keeps current.
QRect FitPicture(int pictureWidth, int pictureHeight, const QRect& frame, const QRect& current);
