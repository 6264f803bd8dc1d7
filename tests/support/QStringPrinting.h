#pragma once

#include <QString>

#include <ostream>

// Readable texts in failure reports.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
