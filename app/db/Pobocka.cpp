#include "Pobocka.h"

#include "GlobDB.h"
#include "SettingsRow.h"

const TPobocka::Values& TPobocka::Loaded() {
    if (IsLoaded())
        return values_;
    LoadSingleRow(db_, QStringLiteral("select * from POBOCKA"), [this](const TQuery& row) {
        const auto text = [&](const char* column) {
            return row.FieldByName(QString::fromLatin1(column)).AsString();
        };
        Values v;
        v.Jmeno = text("JMENO");
        v.AdrUlice = text("ADR_ULICE");
        v.AdrObec = text("ADR_OBEC");
        v.AdrPsc = text("ADR_PSC");
        v.Ic = text("IC");
        v.Dic = text("DIC");
        v.Tel = text("TEL");
        v.Fax = text("FAX");
        v.Email = text("EMAIL");
        v.Web = text("WEB");
        v.TextDoklad = text("TEXT_DOKLAD");
        const TField& logo = row.FieldByName(QStringLiteral("LOGO"));
        if (!logo.IsNull())
            v.Logo.loadFromData(logo.AsBytes(), "BMP");
        values_ = v;
    });
    return values_;
}
