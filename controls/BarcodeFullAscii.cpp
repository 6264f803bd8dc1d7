#include "BarcodeFullAscii.h"

#include <array>

QString FullAsciiSequence(char16_t c) {
    static const std::array<const char*, 32> Controls{
        "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
        "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E"};
    if (c < 32) {
        return QString::fromLatin1(Controls[c]);
    }
    if (c == u' ' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) {
        return QString(QChar(c));
    }
    if (c >= u'!' && c <= u'/') {
        return QStringLiteral("/") + QChar(u'A' + (c - u'!'));
    }
    if (c == u':') {
        return QStringLiteral("/Z");
    }
    if (c >= u';' && c <= u'?') {
        return QStringLiteral("%") + QChar(u'F' + (c - u';'));
    }
    if (c == u'@') {
        return QStringLiteral("%V");
    }
    if (c >= u'[' && c <= u'_') {
        return QStringLiteral("%") + QChar(u'K' + (c - u'['));
    }
    if (c == u'`') {
        return QStringLiteral("%W");
    }
    if (c >= u'a' && c <= u'z') {
        return QStringLiteral("+") + QChar(u'A' + (c - u'a'));
    }
    return QStringLiteral("%") + QChar(u'P' + (c - u'{'));
}
