#pragma once

#include "CustomerMail.h"
#include "MailText.h"
#include "Overdue.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

class TDMGlobDB;
class TSpecCena;

// Reminders of overdue media by e-mail, sent through the shop's mail exchange: one message per
// customer with the shop's text, the customer's overdue media and the signature, recorded in
// ZAK_ZPRAVY as a reminder of the day.

struct TReminderCustomer {
    int kodZak = 0;
    QString zakaznik;
};
// The customers of the rows chosen, each once, in the order they first appear.
std::vector<TReminderCustomer> ReminderCustomers(const std::vector<TOverdueLoan>& chosen);

// The shop's text, one line per medium ("Název (CN kód) - termín vrácení, dní po termínu,
// půjčovné") and the signature block.
QString ReminderBody(const QString& text, const std::vector<TOverdueLoan>& loans, const QString& currency,
                     const TMailSignature& signature);

struct TReminderRun {
    QDate Today;
    QString Host, Port, Sender; // the shop's settings
    QString Subject, Text;      // the reminder as set on the settings desk
    QString Currency;
    TMailSignature Signature;
    int KodUziv = 0;
    int TimeoutMs = TDMGlobMail::kMessageTimeoutMs;
};

struct TReminderResult {
    int Sent = 0;
    int Failed = 0;
    bool Cancelled = false;
    QStringList NoEmail;       // the customers skipped for having no address
    QStringList RemindedToday; // a reminder of today is on record already
    QStringList OtherCounter;  // another counter is sending them one right now
    QStringList NothingDue;    // everything overdue came back since the list was read
};

// Each customer in a transaction of their own, which reads their address and overdue media again
// and records the reminder before the mail goes, and commits only once the server took it: the
// unique reminder of the day refuses a second counter at its insert, so a customer never gets
// two on one day. A message the server did not take leaves no record; one taken that could not
// be recorded is reported through Failed.
TReminderResult SendReminders(TDMGlobDB& db, TSpecCena& prices, const TReminderRun& run,
                              const std::vector<TReminderCustomer>& customers, const TMailRunHooks& hooks);
