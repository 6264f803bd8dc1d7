#include "OverdueReminder.h"

#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Money.h"

#include <QDateTime>

#include <set>

std::vector<TReminderCustomer> ReminderCustomers(const std::vector<TOverdueLoan>& chosen) {
    std::vector<TReminderCustomer> customers;
    std::set<int> seen;
    for (const TOverdueLoan& loan : chosen)
        if (seen.insert(loan.kodZak).second)
            customers.push_back({loan.kodZak, loan.zakaznik});
    return customers;
}

QString ReminderBody(const QString& text, const std::vector<TOverdueLoan>& loans, const QString& currency,
                     const TMailSignature& signature) {
    QString body = text.trimmed() + QStringLiteral("\n\n");
    for (const TOverdueLoan& loan : loans)
        body += loan.nazevCesky + QStringLiteral(" (") + loan.eanKod + QStringLiteral(") - termín vrácení ") +
                DateToText(QStringLiteral("dd.mm.yyyy"), loan.terminVraceni) +
                QStringLiteral(", dní po termínu: ") + QString::number(loan.dniPoTerminu) +
                QStringLiteral(", půjčovné: ") + MoneyText(loan.poplatek, currency) + u'\n';
    return body + MailSignatureText(signature);
}

namespace {

bool RemindedToday(TDMGlobDB& db, TTransaction& transaction, int kodZak) {
    auto query = db.OpenQuery(transaction, QStringLiteral("select KOD_ZAK from ZAK_ZPRAVY where KOD_ZAK = ") +
                                               QString::number(kodZak) +
                                               QStringLiteral(" and UPOMINKA = CURRENT_DATE"));
    query->Open();
    return !query->Eof();
}

} // namespace

TReminderResult SendReminders(TDMGlobDB& db, TSpecCena& prices, const TReminderRun& run,
                              const std::vector<TReminderCustomer>& customers, const TMailRunHooks& hooks) {
    TReminderResult result;
    const int count = static_cast<int>(customers.size());
    for (int i = 0; i < count; ++i) {
        const TReminderCustomer& customer = customers[static_cast<std::size_t>(i)];
        if (hooks.Progress && !hooks.Progress(i, count)) {
            result.Cancelled = true;
            return result;
        }
        TTransaction transaction(db.DB);
        transaction.StartTransaction();
        const std::vector<TOverdueLoan> loans =
            LoadOverdueLoans(db, transaction, prices, run.Today, customer.kodZak);
        if (loans.empty()) {
            result.NothingDue << customer.zakaznik;
            continue;
        }
        const QString email = loans.front().email;
        if (MailRecipients(email).isEmpty()) {
            result.NoEmail << customer.zakaznik;
            continue;
        }
        if (RemindedToday(db, transaction, customer.kodZak)) {
            result.RemindedToday << customer.zakaznik;
            continue;
        }
        const QString body = ReminderBody(run.Text, loans, run.Currency, run.Signature);
        try {
            db.ExecSql(transaction, MailLogSql(customer.kodZak, run.KodUziv, email, run.Subject, body, true));
        } catch (const EDatabaseError& failure) {
            if (!failure.WrittenByAnotherCounter())
                throw;
            result.OtherCounter << customer.zakaznik;
            continue;
        }
        TDMGlobMail mail;
        mail.SetTimeout(run.TimeoutMs);
        if (hooks.Current)
            hooks.Current(&mail);
        const bool sent = mail.Send(run.Host, run.Port,
                                    {run.Sender, email, run.Subject, body, QDateTime::currentDateTime()});
        if (hooks.Current)
            hooks.Current(nullptr);
        if (!sent) {
            transaction.Rollback();
            if (mail.Aborted()) {
                result.Cancelled = true;
                return result;
            }
            ++result.Failed;
            if (hooks.Failed)
                hooks.Failed(MailFailureText(email, mail.Error()));
            continue;
        }
        ++result.Sent;
        try {
            transaction.Commit();
        } catch (const ECinemonError& failure) {
            // The customer has the message: the clerk must learn that the history lacks it.
            if (hooks.Failed)
                hooks.Failed(MailUnrecordedText(email, failure.Message()));
        }
    }
    return result;
}
