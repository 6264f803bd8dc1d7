#include "CodeSearch.h"

#include "GlobFunc.h"

TCodeSearch ReadCodeSearch(const QString& typed) {
    const QString trimmed = typed.trimmed();
    if (typed.size() > 6)
        return {true, trimmed};
    bool ok = false;
    int number = trimmed.toInt(&ok);
    if (!ok || number < 0)
        number = 0;
    return {false, IntToStrZero(number, 6)};
}

QString CodeCondition(const QString& column, const QString& typed) {
    const TCodeSearch search = ReadCodeSearch(typed);
    if (search.fullCode)
        return column + QStringLiteral(" = '") + SqlEscape(search.code) + u'\'';
    // The same rows as "like '%000123'", found through the index on the code's end.
    return QStringLiteral("right(") + column + QStringLiteral(", 6) = '") + search.code + u'\'';
}
