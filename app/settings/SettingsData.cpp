#include "SettingsData.h"

#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "Pobocka.h"
#include "Win1250.h"

#include <QImage>
#include <QStringList>

namespace {

// "COLUMN = value" for each value that differs from the one loaded.
class TChanges final {
public:
    void Add(const QString& column, const QString& loaded, const QString& now) {
        if (loaded != now)
            items_ << column + QStringLiteral(" = ") + now;
    }
    bool Empty() const { return items_.isEmpty(); }
    QString Update(const QString& table) const {
        return QStringLiteral("update ") + table + QStringLiteral(" set ") +
               items_.join(QStringLiteral(", "));
    }

private:
    QStringList items_;
};

QString Flag(bool value) {
    return value ? QStringLiteral("'A'") : QStringLiteral("'N'");
}

struct TCodeTable {
    const char* table;
    const char* key;
    const char* name;
};

TCodeTable Table(TCodeList list) {
    switch (list) {
    case TCodeList::Genres:
        return {"ZANRY", "KOD_ZANR", "NAZEV_ZANR"};
    case TCodeList::SoundFormats:
        return {"FORMATY_ZVUKU", "KOD_FORMAT", "NAZEV_FORMAT"};
    case TCodeList::Subtitles:
        return {"FILM_TITULKY", "PORADI_TIT", "POPIS_TIT"};
    case TCodeList::Languages:
        break;
    }
    return {"FILM_JAZYKY", "PORADI_JAZ", "POPIS_JAZ"};
}

QString Latin(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

QList<TDiscountRow> LoadDiscounts(TDMGlobDB& db, TTransaction& transaction) {
    QList<TDiscountRow> rows;
    auto query =
        db.OpenQuery(transaction, QStringLiteral("select PUJCENO, SLEVA from SPEC_SLEVY order by PUJCENO"));
    for (query->Open(); !query->Eof(); query->Next())
        rows.append({query->FieldByName(QStringLiteral("PUJCENO")).AsInteger(),
                     query->FieldByName(QStringLiteral("SLEVA")).AsFloat()});
    return rows;
}

void SavePrices(TDMGlobDB& db, TSpecCena& specCena, const QList<TDiscountRow>& discounts,
                const std::array<bool, 7>& openDays, const std::optional<TBlockSetting>& block) {
    static const char* const kDays[] = {"PLAT_PO", "PLAT_UT", "PLAT_ST", "PLAT_CT",
                                        "PLAT_PA", "PLAT_SO", "PLAT_NE"};
    TSpecCena::Values values = specCena.Current();
    TChanges days;
    for (std::size_t i = 0; i < openDays.size(); ++i)
        days.Add(Latin(kDays[i]), Flag(values.Plat[i]), Flag(openDays[i]));
    TChanges rules;
    if (block) {
        rules.Add(QStringLiteral("BLOK_PUJCENI"), Flag(values.BlokPujceni), Flag(block->On));
        rules.Add(QStringLiteral("BLOK_DNY"), QString::number(values.BlokDny), QString::number(block->Days));
    }

    RunInTransaction(db.DB, [&](TTransaction& transaction) {
        db.ExecSql(transaction, QStringLiteral("delete from SPEC_SLEVY"));
        for (const TDiscountRow& row : discounts)
            db.ExecSql(transaction, QStringLiteral("insert into SPEC_SLEVY (PUJCENO, SLEVA) values (") +
                                        FloatToSql(row.Pujceno) + QStringLiteral(", ") +
                                        FloatToSql(row.Sleva) + QStringLiteral(")"));
        if (!days.Empty())
            db.ExecSql(transaction, days.Update(QStringLiteral("SPEC_CENA")));
        if (!rules.Empty())
            db.ExecSql(transaction, rules.Update(QStringLiteral("SPEC_PUJCKY")));
    });
    values.Plat = openDays;
    if (block) {
        values.BlokPujceni = block->On;
        values.BlokDny = block->Days;
    }
    specCena.Assign(values);
}

QList<TCodeRow> LoadCodeList(TDMGlobDB& db, TTransaction& transaction, TCodeList list) {
    const TCodeTable t = Table(list);
    QList<TCodeRow> rows;
    auto query = db.OpenQuery(
        transaction,
        QStringLiteral("select %1, %2 from %3 order by %4")
            .arg(Latin(t.key), Latin(t.name), Latin(t.table),
                 Latin(list == TCodeList::Genres || list == TCodeList::SoundFormats ? t.name : t.key)));
    for (query->Open(); !query->Eof(); query->Next()) {
        const QString name = query->FieldByName(Latin(t.name)).AsString();
        rows.append({query->FieldByName(Latin(t.key)).AsInteger(), name, name});
    }
    return rows;
}

std::optional<QString> CheckEnvironment(const TEnvironment& environment) {
    const TSpecCena::Values& p = environment.Prices;
    if (p.DphA < 0 || p.DphA >= 100 || p.DphB < 0 || p.DphB >= 100)
        return QStringLiteral("Sazba DPH musí být od 0 do 99,99 %. Data nelze uložit.");
    if (p.CenaVipDvd < 0 || p.CenaVipVhs < 0)
        return QStringLiteral("VIP cena nemůže být záporná. Data nelze uložit.");
    const TSpecApp::Values& a = environment.App;
    if (a.UpominkaText.size() > kReminderTextLimit)
        return QStringLiteral("Text upomínky může mít nejvýše %1 znaků, zadaný má %2. Data nelze uložit.")
            .arg(kReminderTextLimit)
            .arg(a.UpominkaText.size());
    for (const auto& [where, text] : {std::pair{QStringLiteral("Předmět upomínky"), a.UpominkaSubj},
                                      std::pair{QStringLiteral("Text upomínky"), a.UpominkaText}})
        for (qsizetype i = 0; i < text.size(); ++i)
            if (!Win1250::ToByte(text[i]))
                // A character beyond the first plane is named whole, both halves of it.
                return where + QStringLiteral(" obsahuje znak „") +
                       text.mid(i, text[i].isHighSurrogate() ? 2 : 1) +
                       QStringLiteral(
                           "“, který e-mail v kódování windows-1250 nepřenese. Data nelze uložit.");
    for (const QList<TCodeRow>& rows : environment.Lists)
        for (const TCodeRow& row : rows)
            if (!row.Key.isNull() && row.Name.trimmed().isEmpty())
                return QStringLiteral("Položka seznamu \"%1\" nemůže zůstat bez názvu. Data nelze uložit.")
                    .arg(row.Loaded);
    return std::nullopt;
}

void SaveEnvironment(TDMGlobDB& db, TSpecCena& specCena, TSpecApp& specApp, const TEnvironment& loaded,
                     const TEnvironment& environment) {
    const TSpecCena::Values& was = loaded.Prices;
    const TSpecCena::Values& now = environment.Prices;
    TChanges prices;
    prices.Add(QStringLiteral("DPH_A"), FloatToSql(was.DphA), FloatToSql(now.DphA));
    prices.Add(QStringLiteral("DPH_B"), FloatToSql(was.DphB), FloatToSql(now.DphB));
    prices.Add(QStringLiteral("MENA"), SqlText(was.Mena), SqlText(now.Mena));
    prices.Add(QStringLiteral("PLATCE_DPH"), Flag(was.PlatceDph), Flag(now.PlatceDph));
    prices.Add(QStringLiteral("CENA_VIP_DVD"), FloatToSql(was.CenaVipDvd), FloatToSql(now.CenaVipDvd));
    prices.Add(QStringLiteral("CENA_VIP_VHS"), FloatToSql(was.CenaVipVhs), FloatToSql(now.CenaVipVhs));
    prices.Add(QStringLiteral("DPH_PUJCKA"), SqlText(was.DphPujcka), SqlText(now.DphPujcka));

    const TSpecApp::Values& appWas = loaded.App;
    const TSpecApp::Values& appNow = environment.App;
    TChanges app;
    app.Add(QStringLiteral("EMAIL"), SqlText(appWas.Email), SqlText(appNow.Email));
    app.Add(QStringLiteral("MAIL_ODESLAT"), SqlText(appWas.MailOdeslat), SqlText(appNow.MailOdeslat));
    app.Add(QStringLiteral("MAIL_HOST"), SqlText(appWas.MailHost), SqlText(appNow.MailHost));
    app.Add(QStringLiteral("MAIL_PORT"), SqlText(appWas.MailPort), SqlText(appNow.MailPort));
    app.Add(QStringLiteral("SMS_LOGIN"), SqlText(appWas.SmsLogin), SqlText(appNow.SmsLogin));
    app.Add(QStringLiteral("SMS_PSWD"), SqlText(appWas.SmsPswd), SqlText(appNow.SmsPswd));
    app.Add(QStringLiteral("UPOMINKA_SUBJ"), SqlText(appWas.UpominkaSubj), SqlText(appNow.UpominkaSubj));
    app.Add(QStringLiteral("UPOMINKA_TEXT"), SqlText(appWas.UpominkaText, true),
            SqlText(appNow.UpominkaText, true));

    RunInTransaction(db.DB, [&](TTransaction& transaction) {
        if (!prices.Empty())
            db.ExecSql(transaction, prices.Update(QStringLiteral("SPEC_CENA")));
        if (!app.Empty())
            db.ExecSql(transaction, app.Update(QStringLiteral("SPEC_APP")));
        for (std::size_t i = 0; i < kCodeLists.size(); ++i) {
            const TCodeTable t = Table(kCodeLists[i]);
            for (const TCodeRow& row : environment.Lists[i]) {
                if (row.Key.isNull() && !row.Name.trimmed().isEmpty())
                    db.ExecSql(transaction, QStringLiteral("insert into %1 (%2) values ('%3')")
                                                .arg(Latin(t.table), Latin(t.name), SqlEscape(row.Name)));
                else if (!row.Key.isNull() && row.Name != row.Loaded)
                    db.ExecSql(transaction, QStringLiteral("update %1 set %2 = '%3' where %4 = %5")
                                                .arg(Latin(t.table), Latin(t.name), SqlEscape(row.Name),
                                                     Latin(t.key), QString::number(row.Key.toInt())));
            }
        }
    });

    // Only what is stored now reaches the shared records.
    TSpecCena::Values values = specCena.Current();
    values.DphA = now.DphA;
    values.DphB = now.DphB;
    values.Mena = now.Mena;
    values.PlatceDph = now.PlatceDph;
    values.CenaVipDvd = now.CenaVipDvd;
    values.CenaVipVhs = now.CenaVipVhs;
    values.DphPujcka = now.DphPujcka;
    specCena.Assign(values);
    specApp.Assign(appNow);
}

std::optional<TBranch> LoadBranch(TDMGlobDB& db, TTransaction& transaction) {
    auto query = db.OpenQuery(transaction, QStringLiteral("select * from POBOCKA"));
    query->Open();
    if (query->Eof())
        return std::nullopt;
    const auto text = [&](const char* column) { return query->FieldByName(Latin(column)).AsString(); };
    TBranch b;
    b.Jmeno = text("JMENO");
    b.AdrUlice = text("ADR_ULICE");
    b.AdrObec = text("ADR_OBEC");
    b.AdrPsc = text("ADR_PSC");
    b.Ic = text("IC");
    b.Dic = text("DIC");
    b.Tel = text("TEL");
    b.Fax = text("FAX");
    b.Email = text("EMAIL");
    b.Web = text("WEB");
    b.TextDoklad = text("TEXT_DOKLAD");
    const TField& logo = query->FieldByName(QStringLiteral("LOGO"));
    if (!logo.IsNull())
        b.Logo = logo.AsBytes();
    return b;
}

std::optional<QString> CheckBranch(const TBranch& branch) {
    if (branch.TextDoklad.size() > kTextDokladLength)
        return QStringLiteral("Text na doklad může mít nejvýše %1 znaků, zadaný má %2. Data nelze uložit.")
            .arg(kTextDokladLength)
            .arg(branch.TextDoklad.size());
    return std::nullopt;
}

void SaveBranch(TDMGlobDB& db, TPobocka& pobocka, const TBranch& loaded, const TBranch& branch) {
    TChanges changes;
    changes.Add(QStringLiteral("JMENO"), SqlText(loaded.Jmeno), SqlText(branch.Jmeno));
    changes.Add(QStringLiteral("ADR_ULICE"), SqlText(loaded.AdrUlice), SqlText(branch.AdrUlice));
    changes.Add(QStringLiteral("ADR_OBEC"), SqlText(loaded.AdrObec), SqlText(branch.AdrObec));
    changes.Add(QStringLiteral("ADR_PSC"), SqlText(loaded.AdrPsc), SqlText(branch.AdrPsc));
    changes.Add(QStringLiteral("IC"), SqlText(loaded.Ic), SqlText(branch.Ic));
    changes.Add(QStringLiteral("DIC"), SqlText(loaded.Dic), SqlText(branch.Dic));
    changes.Add(QStringLiteral("TEL"), SqlText(loaded.Tel), SqlText(branch.Tel));
    changes.Add(QStringLiteral("FAX"), SqlText(loaded.Fax), SqlText(branch.Fax));
    changes.Add(QStringLiteral("EMAIL"), SqlText(loaded.Email), SqlText(branch.Email));
    changes.Add(QStringLiteral("WEB"), SqlText(loaded.Web), SqlText(branch.Web));
    changes.Add(QStringLiteral("TEXT_DOKLAD"), SqlText(loaded.TextDoklad, true),
                SqlText(branch.TextDoklad, true));
    if (loaded.Logo != branch.Logo && branch.Logo.isEmpty())
        changes.Add(QStringLiteral("LOGO"), QString(), QStringLiteral("null"));

    RunInTransaction(db.DB, [&](TTransaction& transaction) {
        if (!changes.Empty())
            db.ExecSql(transaction, changes.Update(QStringLiteral("POBOCKA")));
        if (loaded.Logo != branch.Logo && !branch.Logo.isEmpty())
            db.ExecSqlBlob(transaction, QStringLiteral("update POBOCKA set LOGO = :LOGO"),
                           QStringLiteral("LOGO"), branch.Logo);
    });
    pobocka.Reload();
}

bool SaveDatabaseSettings(TDMGlobDB& db, const TDbConfig& config) {
    db.SaveConfig(config);
    const bool restart = config.Server != db.Config.Server || config.FileName != db.Config.FileName;
    const QString server = db.Config.Server;
    const QString fileName = db.Config.FileName;
    db.Config = config;
    db.Config.Server = server;
    db.Config.FileName = fileName;
    return restart;
}
