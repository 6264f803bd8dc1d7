#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Lists saved for a spreadsheet as Czech users open them by a double click: UTF-8 with a byte
// order mark (without it the spreadsheet reads the letters as Windows-1250), fields separated by
// semicolons (the comma is the decimal sign), lines ended by CR LF.

// A field quoted when it holds a semicolon, a quote, a line break or edge spaces; quotes doubled.
// Text a spreadsheet would run as a formula is kept text by a leading apostrophe.
QString CsvField(const QString& text);
// "1234,50": two decimals after a comma, no grouping, so the spreadsheet takes it as a number.
QString CsvAmount(double amount);
QByteArray CsvFile(const std::vector<QStringList>& rows);
