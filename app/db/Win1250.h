#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The database stores its texts in Windows-1250; receipts, mail and configuration files
// leave the program in it too. Qt 6 carries no codec for it, so the table lives here.
namespace Win1250 {

// The byte of a character, or nothing when Windows-1250 cannot hold it.
std::optional<char> ToByte(QChar c);
QChar FromByte(unsigned char byte);

// Characters that cannot be held are written as '?'.
QByteArray Encode(const QString& text);
QString Decode(const QByteArray& bytes);

// The first character of the text that Windows-1250 cannot hold, if any.
std::optional<QChar> FirstUnencodable(const QString& text);

} // namespace Win1250
