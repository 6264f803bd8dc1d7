#pragma once

#include <QByteArray>
#include <QString>

// The licence is delivered as rich text; Qt shows HTML. This reads the plain rich-text subset
// the licence is written in: paragraphs and line breaks, bold, italic and underline, Windows-1250
// characters as \'hh and Unicode ones as \uN. Font, colour and other tables and groups marked
// "\*" are skipped.
QString RtfToHtml(const QByteArray& rtf);
