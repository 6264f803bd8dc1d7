#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The text of a customer e-mail as it goes on the wire: plain text in Windows-1250, 8-bit,
// lines ending in CR LF. No sockets here; the exchange lives in GlobMail.

// What the signature block under a new message is made of: the branch and the shop's sender.
struct TMailSignature {
    QString Jmeno, AdrUlice, AdrObec, AdrPsc, Tel, Fax, Web;
    QString MailOdeslat;
};
// One item per line; empty items of the address and contacts are left out.
QString MailSignatureText(const TMailSignature& signature);

// The addresses of an EMAIL value: split at ";", trimmed, empty parts dropped.
QStringList MailRecipients(const QString& email);
// The address for MAIL FROM / RCPT TO: the part inside "<" ">" when the text has both (a
// display name before it is the headers' business), otherwise the trimmed text.
QString EnvelopeAddress(const QString& address);

// "Tue, 8 Mar 2005 14:05:09 +0100": English names whatever the locale, the time's own offset.
QString Rfc822Date(const QDateTime& time);

// SMTP allows 998 bytes between line ends; longer lines are broken into pieces that together
// hold every byte of the line.
inline constexpr int kMailLineLimit = 998;

struct TMailContent {
    QString Sender;     // MAIL_ODESLAT as typed in the settings
    QString Recipients; // the EMAIL value as stored
    QString Subject;
    QString Body;
    QDateTime Date;
};
// Everything sent after the server's 354: header lines, an empty line, the body (long lines
// broken, a leading "." doubled) and the closing ".".
QByteArray MailData(const TMailContent& content);

// The longest message the dialog sends; the customer history shows as much.
inline constexpr int kMailMessageLimit = 4096;

// The clerk's warning when the message is too long or the subject or the message holds a
// character the mail's Windows-1250 cannot carry; empty when both can go.
QString MailInputProblem(const QString& subject, const QString& message);
