#include "MailSettings.h"

#include "GlobDB.h"
#include "SettingsRow.h"

const TSpecApp::Values& TSpecApp::Loaded() {
    if (loaded_)
        return values_;
    LoadSingleRow(db_, QStringLiteral("select * from SPEC_APP"), [this](const TQuery& row) {
        const auto text = [&](const char* column) {
            return row.FieldByName(QString::fromLatin1(column)).AsString();
        };
        values_ = {text("EMAIL"),     text("MAIL_ODESLAT"), text("MAIL_HOST"),     text("MAIL_PORT"),
                   text("SMS_LOGIN"), text("SMS_PSWD"),     text("UPOMINKA_SUBJ"), text("UPOMINKA_TEXT")};
    });
    loaded_ = true;
    return values_;
}
