#pragma once

#include <QString>

// How every code search reads what the clerk typed or the reader sent: more than six characters,
// blanks included, are a full label or card code; anything shorter is the record number, which
// is also the last six digits of every code.
struct TCodeSearch {
    bool fullCode = false;
    // The trimmed full code, or the number written with leading zeros to six digits (a text that
    // is no number reads as 0, which no record has).
    QString code;
};
TCodeSearch ReadCodeSearch(const QString& typed);

// The condition on a code column for what was typed; a number is looked up through the index on
// the code's last six digits. The typed text is escaped, so any input is safe.
QString CodeCondition(const QString& column, const QString& typed);
