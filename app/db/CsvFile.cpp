#include "CsvFile.h"

#include <QRegularExpression>

namespace {

// A spreadsheet takes a cell beginning with one of these for a formula and runs it: a customer's
// name "=HYPERLINK(…)" would be a link, "+420 …" a sum. Amounts and counts stay numbers.
bool ReadAsFormula(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^-?\\d+(,\\d+)?$"));
    return !text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front()) &&
           !number.match(text).hasMatch();
}

} // namespace

QString CsvField(const QString& value) {
    const QString text = ReadAsFormula(value) ? u'\'' + value : value;
    const bool quoted = text.contains(u';') || text.contains(u'"') || text.contains(u'\n') ||
                        text.contains(u'\r') || text != text.trimmed();
    if (!quoted)
        return text;
    QString escaped = text;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString CsvAmount(double amount) {
    return QString::number(amount, 'f', 2).replace(u'.', u',');
}

QByteArray CsvFile(const std::vector<QStringList>& rows) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QStringList& row : rows) {
        QStringList fields;
        fields.reserve(row.size());
        for (const QString& field : row)
            fields << CsvField(field);
        bytes += fields.join(u';').toUtf8() + "\r\n";
    }
    return bytes;
}
