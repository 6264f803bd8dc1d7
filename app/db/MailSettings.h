#pragma once

#include <QString>

class TDMGlobDB;

// Mail and text-message settings (the single row of SPEC_APP), loaded on first use, with the
// shop's reminder of overdue media.
class TSpecApp final {
public:
    struct Values {
        QString Email, MailOdeslat, MailHost, MailPort, SmsLogin, SmsPswd;
        QString UpominkaSubj, UpominkaText;
    };

    explicit TSpecApp(TDMGlobDB& db) : db_(db) {}

    QString GetEmail() { return Loaded().Email; }
    QString GetMailOdeslat() { return Loaded().MailOdeslat; }
    QString GetMailHost() { return Loaded().MailHost; }
    QString GetMailPort() { return Loaded().MailPort; }
    QString GetSmsLogin() { return Loaded().SmsLogin; }
    QString GetSmsPswd() { return Loaded().SmsPswd; }
    QString GetUpominkaSubj() { return Loaded().UpominkaSubj; }
    QString GetUpominkaText() { return Loaded().UpominkaText; }

    bool IsLoaded() const { return loaded_; }
    // The settings desk stores new values here after writing them to the database.
    void Assign(const Values& values) {
        values_ = values;
        loaded_ = true;
    }

private:
    const Values& Loaded();
    TDMGlobDB& db_;
    Values values_;
    bool loaded_ = false;
};
