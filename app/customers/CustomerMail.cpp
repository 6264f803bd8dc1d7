#include "CustomerMail.h"

#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"

QString MailRecipientsSql(TMailChoice choice, int kodZak) {
    if (choice == TMailChoice::All)
        return QStringLiteral(
            "select KOD_ZAK, EMAIL from ZAKAZNICI where POSILAT_NOVINKY = 'A' and EMAIL is not null");
    return QStringLiteral("select KOD_ZAK, EMAIL from ZAKAZNICI where KOD_ZAK = ") + QString::number(kodZak) +
           QStringLiteral(" and EMAIL is not null");
}

QString MailLogSql(int kodZak, int kodUziv, const QString& email, const QString& subject,
                   const QString& message, bool reminder) {
    return QStringLiteral("insert into ZAK_ZPRAVY (KOD_ZAK, DATUM_ODS, UZIV_ODS, EMAIL_ADR, EMAIL_SUBJ, "
                          "EMAIL_MESSAGE, UPOMINKA) values (") +
           QString::number(kodZak) + QStringLiteral(", CURRENT_TIMESTAMP, ") + QString::number(kodUziv) +
           QStringLiteral(", '") + SqlEscape(email) + QStringLiteral("', ") + SqlText(subject) +
           QStringLiteral(", ") + SqlText(message, true) +
           (reminder ? QStringLiteral(", CURRENT_DATE)") : QStringLiteral(", null)"));
}

QString MailUnrecordedText(const QString& email, const QString& reason) {
    return QStringLiteral("Mail na adresu:") + email +
           QStringLiteral(" byl odeslán, ale do historie zákazníka se ho nepodařilo zapsat.\r") + reason;
}

QString MailFailureText(const QString& email, const QString& error) {
    return QStringLiteral("Mail se nepodařilo odeslat na adresu:") + email + QStringLiteral(".\r") + error;
}

std::vector<TMailRecipient> ReadMailRecipients(TDMGlobDB& db, TMailChoice choice, int kodZak) {
    std::vector<TMailRecipient> recipients;
    RunInTransaction(db.DB, [&](TTransaction& transaction) {
        auto query = db.OpenQuery(transaction, MailRecipientsSql(choice, kodZak));
        query->Open();
        for (; !query->Eof(); query->Next())
            recipients.push_back({query->FieldByName(QStringLiteral("KOD_ZAK")).AsInteger(),
                                  query->FieldByName(QStringLiteral("EMAIL")).AsString()});
    });
    return recipients;
}

TMailRunResult SendCustomerMail(TDMGlobDB& db, const TMailRun& run,
                                const std::vector<TMailRecipient>& recipients, const TMailRunHooks& hooks) {
    TMailRunResult result;
    const int count = static_cast<int>(recipients.size());
    for (const TMailRecipient& recipient : recipients) {
        if (hooks.Progress && !hooks.Progress(result.Sent + result.Failed, count)) {
            result.Cancelled = true;
            return result;
        }
        TDMGlobMail mail;
        mail.SetTimeout(run.TimeoutMs);
        const TMailContent content{run.Sender, recipient.Email, run.Subject, run.Message,
                                   QDateTime::currentDateTime()};
        if (hooks.Current)
            hooks.Current(&mail);
        const bool sent = mail.Send(run.Host, run.Port, content);
        if (hooks.Current)
            hooks.Current(nullptr);
        if (!sent && mail.Aborted()) {
            result.Cancelled = true;
            return result;
        }
        if (!sent) {
            ++result.Failed;
            if (hooks.Failed)
                hooks.Failed(MailFailureText(recipient.Email, mail.Error()));
            continue;
        }
        ++result.Sent;
        try {
            RunInTransaction(db.DB, [&](TTransaction& transaction) {
                db.ExecSql(transaction, MailLogSql(recipient.KodZak, run.KodUziv, recipient.Email,
                                                   run.Subject, run.Message));
            });
        } catch (const ECinemonError& failure) {
            // The customer has the message: the clerk must learn that the history lacks it.
            if (hooks.Failed)
                hooks.Failed(MailUnrecordedText(recipient.Email, failure.Message()));
        }
    }
    return result;
}
