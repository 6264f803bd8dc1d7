#include "CustomerSql.h"

#include "GlobFunc.h"

#include <QStringList>

namespace {

QString Flag(bool on) {
    return on ? QStringLiteral("'A'") : QStringLiteral("'N'");
}

} // namespace

QString CustomerByCodeSql(const QString& typed) {
    if (typed.size() > 6)
        return QStringLiteral("select KOD_ZAK from ZAKAZNICI where EAN_KOD = '") +
               SqlEscape(typed.trimmed()) + u'\'';
    bool ok = false;
    const int number = typed.trimmed().toInt(&ok);
    return QStringLiteral("select KOD_ZAK from ZAKAZNICI where KOD_ZAK = ") +
           QString::number(ok ? number : -1);
}

QString CustomerBySurnameSql(const QString& surname) {
    return QStringLiteral("select KOD_ZAK from ZAKAZNICI where Upper(PRIJMENI) like '%") +
           SqlEscape(UpperCz(surname)) + QStringLiteral("%'");
}

QString CustomerLoadSql(int key) {
    return QStringLiteral("select ") + SqlFullName(QStringLiteral("ur")) +
           QStringLiteral(" as UZIV_REG_R, ") + SqlFullName(QStringLiteral("uz")) +
           QStringLiteral(" as UZIV_REG_Z, ") + SqlFullName(QStringLiteral("uu")) +
           QStringLiteral(
               " as UZIV_REG_U, z.* from ZAKAZNICI z join UZIVATELE ur on (z.UZIV_REG = "
               "ur.KOD_UZIV) join UZIVATELE uz on (z.UZIV_ZMENA = uz.KOD_UZIV) left join UZIVATELE uu "
               "on (z.UZIV_UKON = uu.KOD_UZIV) where z.KOD_ZAK = ") +
           QString::number(key);
}

QString CustomerInsertSql(int key, int user, const QString& cardCode, const TCustomerFields& f) {
    const QString sep = QStringLiteral(", ");
    const QString userText = QString::number(user);
    return QStringLiteral(
               "insert into ZAKAZNICI (KOD_ZAK, D_REGISTRACE, UZIV_REG, D_ZMENY, UZIV_ZMENA, EAN_KOD, "
               "TITUL_PRED, JMENO, PRIJMENI, TITUL_ZA, ADR_ULICE, ADR_PSC, ADR_OBEC, CISLO_OP, EMAIL, "
               "TELEFON, MOBIL_SMS, VIP, CENA_VIP_DVD, CENA_VIP_VHS, POSILAT_NOVINKY, POZNAMKY, "
               "POCET_PUJCEK) values (") +
           QString::number(key) + sep + QStringLiteral("CURRENT_TIMESTAMP") + sep + userText + sep +
           QStringLiteral("CURRENT_TIMESTAMP") + sep + userText + sep + SqlText(cardCode) + sep +
           SqlText(f.TitulPred) + sep + SqlText(f.Jmeno) + sep + SqlText(f.Prijmeni) + sep +
           SqlText(f.TitulZa) + sep + SqlText(f.AdrUlice) + sep + SqlText(f.AdrPsc) + sep +
           SqlText(f.AdrObec) + sep + SqlText(f.CisloOP) + sep + SqlText(f.Email) + sep + SqlText(f.Telefon) +
           sep + SqlText(f.MobilSms) + sep + Flag(f.Vip) + sep + FloatToSql(f.CenaVipDvd) + sep +
           FloatToSql(f.CenaVipVhs) + sep + Flag(f.PosilatNovinky) + sep + SqlText(f.Poznamky, true) +
           QStringLiteral(", 0)");
}

QString CustomerUpdateSql(int key, int user, const TCustomerFields& loaded, const TCustomerFields& f,
                          bool ending) {
    // Only what the clerk changed: another counter's save of other columns since the load stays.
    QStringList pieces;
    const auto text = [&](const char* column, const QString& before, const QString& now, bool memo = false) {
        if (before != now)
            pieces << QString::fromLatin1(column) + QStringLiteral(" = ") + SqlText(now, memo);
    };
    text("TITUL_PRED", loaded.TitulPred, f.TitulPred);
    text("JMENO", loaded.Jmeno, f.Jmeno);
    text("PRIJMENI", loaded.Prijmeni, f.Prijmeni);
    text("TITUL_ZA", loaded.TitulZa, f.TitulZa);
    text("ADR_ULICE", loaded.AdrUlice, f.AdrUlice);
    text("ADR_PSC", loaded.AdrPsc, f.AdrPsc);
    text("ADR_OBEC", loaded.AdrObec, f.AdrObec);
    text("CISLO_OP", loaded.CisloOP, f.CisloOP);
    text("EMAIL", loaded.Email, f.Email);
    text("TELEFON", loaded.Telefon, f.Telefon);
    text("MOBIL_SMS", loaded.MobilSms, f.MobilSms);
    if (loaded.Vip != f.Vip)
        pieces << QStringLiteral("VIP = ") + Flag(f.Vip);
    if (loaded.CenaVipDvd != f.CenaVipDvd)
        pieces << QStringLiteral("CENA_VIP_DVD = ") + FloatToSql(f.CenaVipDvd);
    if (loaded.CenaVipVhs != f.CenaVipVhs)
        pieces << QStringLiteral("CENA_VIP_VHS = ") + FloatToSql(f.CenaVipVhs);
    if (loaded.PosilatNovinky != f.PosilatNovinky)
        pieces << QStringLiteral("POSILAT_NOVINKY = ") + Flag(f.PosilatNovinky);
    text("POZNAMKY", loaded.Poznamky, f.Poznamky, true);
    const QString userText = QString::number(user);
    pieces << QStringLiteral("D_ZMENY = CURRENT_TIMESTAMP") << QStringLiteral("UZIV_ZMENA = ") + userText;
    if (ending)
        pieces << QStringLiteral("D_UKONCENI = CURRENT_TIMESTAMP")
               << QStringLiteral("UZIV_UKON = ") + userText;
    return QStringLiteral("update ZAKAZNICI set ") + pieces.join(QStringLiteral(", ")) +
           QStringLiteral(" where KOD_ZAK = ") + QString::number(key);
}

QString CustomerNotFoundText(const QString& typed) {
    return QStringLiteral("Zákazník s EAN kódem ") + typed + QStringLiteral(" nebyl nalezen.");
}

QString CardNumberPart(const QString& cardCode) {
    return cardCode.mid(10, 6);
}

QString TimestampText(const QDateTime& value) {
    if (!value.isValid())
        return {};
    return DateTimeToText(QStringLiteral("dd.mm.yyyy"), QStringLiteral("hh:mm"), QStringLiteral(" "), value);
}
