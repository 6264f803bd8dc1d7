#include "PriceSettings.h"

#include "GlobDB.h"
#include "SettingsRow.h"

const TSpecCena::Values& TSpecCena::Loaded() {
    if (IsLoaded())
        return values_;
    LoadSingleRow(db_, QStringLiteral("select * from SPEC_CENA"), [this](const TQuery& row) {
        const auto flag = [&](const char* column) {
            return row.FieldByName(QString::fromLatin1(column)).AsString() == QStringLiteral("A");
        };
        Values v;
        v.DphA = row.FieldByName(QStringLiteral("DPH_A")).AsFloat();
        v.DphB = row.FieldByName(QStringLiteral("DPH_B")).AsFloat();
        v.PlatceDph = flag("PLATCE_DPH");
        v.Mena = row.FieldByName(QStringLiteral("MENA")).AsString();
        v.DphPujcka = row.FieldByName(QStringLiteral("DPH_PUJCKA")).AsString();
        v.Plat = {flag("PLAT_PO"), flag("PLAT_UT"), flag("PLAT_ST"), flag("PLAT_CT"),
                  flag("PLAT_PA"), flag("PLAT_SO"), flag("PLAT_NE")};
        v.CenaVipDvd = row.FieldByName(QStringLiteral("CENA_VIP_DVD")).AsFloat();
        v.CenaVipVhs = row.FieldByName(QStringLiteral("CENA_VIP_VHS")).AsFloat();
        values_ = v;
    });
    Values& v = values_;
    LoadSingleRow(
        db_, QStringLiteral("select BLOK_PUJCENI, BLOK_DNY from SPEC_PUJCKY"), [&v](const TQuery& row) {
            v.BlokPujceni = row.FieldByName(QStringLiteral("BLOK_PUJCENI")).AsString() == QStringLiteral("A");
            if (const TField& days = row.FieldByName(QStringLiteral("BLOK_DNY")); !days.IsNull())
                v.BlokDny = days.AsInteger();
        });
    return values_;
}

double TSpecCena::GetSazbaPujcka() {
    const QString vatClass = GetDphPujcka();
    if (vatClass == QStringLiteral("A"))
        return GetDphA();
    if (vatClass == QStringLiteral("B"))
        return GetDphB();
    return 0;
}

bool TSpecCena::IsChargedDay(const QDate& date) {
    // QDate counts Monday as 1 … Sunday as 7; a date read from a null column has no weekday.
    if (!date.isValid())
        return false;
    return Loaded().Plat[static_cast<std::size_t>(date.dayOfWeek() - 1)];
}

int TSpecCena::ChargedDays(const QDateTime& earlier, const QDateTime& later) {
    // A span with a missing end (a null column) would never reach its last day.
    if (!earlier.isValid() || !later.isValid())
        return 1;
    const QDate first = earlier.date().addDays(1);
    const QDate last = later.date().addDays(-1);
    if (last < first)
        return 1;
    int days = 1;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        if (IsChargedDay(day))
            ++days;
    }
    return days;
}
