#include "CsvFile.h"

QString CsvField(const QString& text) {
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
