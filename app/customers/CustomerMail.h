#pragma once

#include "GlobMail.h"

#include <QString>

#include <functional>
#include <vector>

class TDMGlobDB;
class TTransaction;

// Mail to customers: whom it goes to, the sending of one message after another, and the record
// in ZAK_ZPRAVY of each message the server took.

enum class TMailChoice { All, One };

// The customers who want news (All) or the one customer (One), each with an address value.
QString MailRecipientsSql(TMailChoice choice, int kodZak);
// A reminder of overdue media carries today's date in UPOMINKA: one per customer and day.
QString MailLogSql(int kodZak, int kodUziv, const QString& email, const QString& subject,
                   const QString& message, bool reminder = false);
// What the clerk is shown for a message that did not go: the address and the exchange's error.
QString MailFailureText(const QString& email, const QString& error);
// What the clerk is shown for a message the server took that could not be recorded.
QString MailUnrecordedText(const QString& email, const QString& reason);

struct TMailRecipient {
    int KodZak = 0;
    QString Email; // one or more addresses separated by ";"
};
// Read in one go, so that no transaction stays open while the server is talked to.
std::vector<TMailRecipient> ReadMailRecipients(TDMGlobDB& db, TMailChoice choice, int kodZak);

struct TMailRun {
    QString Host, Port, Sender; // the shop's settings
    QString Subject, Message;
    int KodUziv = 0; // who sends
    int TimeoutMs = TDMGlobMail::kMessageTimeoutMs;
};

struct TMailRunHooks {
    // A message that did not go, with the text to show.
    std::function<void(const QString& text)> Failed;
    // Called before each message with the messages done so far; false ends the run there.
    std::function<bool(int done, int count)> Progress;
    // The exchange on its way (null once it ended), for an interruption in the middle of it.
    std::function<void(TDMGlobMail* current)> Current;
};

struct TMailRunResult {
    int Sent = 0;
    int Failed = 0;
    bool Cancelled = false;
};

// One message per recipient, one after the other; each message the server took is recorded at
// once in its own transaction, so an interruption or a failure later keeps what went. A message
// that went but could not be recorded is reported through Failed and counts as sent.
TMailRunResult SendCustomerMail(TDMGlobDB& db, const TMailRun& run,
                                const std::vector<TMailRecipient>& recipients, const TMailRunHooks& hooks);
