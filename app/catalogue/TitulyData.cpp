#include "TitulyData.h"

#include "GlobFunc.h"

const QString kZanrySql = QStringLiteral("select KOD_ZANR, NAZEV_ZANR from ZANRY order by NAZEV_ZANR");
const QString kFormatyZvukuSql =
    QStringLiteral("select KOD_FORMAT, NAZEV_FORMAT from FORMATY_ZVUKU order by NAZEV_FORMAT");
const QString kFilmTitulkySql =
    QStringLiteral("select POPIS_TIT, PORADI_TIT from FILM_TITULKY order by PORADI_TIT");
const QString kFilmJazykySql =
    QStringLiteral("select POPIS_JAZ, PORADI_JAZ from FILM_JAZYKY order by PORADI_JAZ");

const QString kUnsavedQuestion = QStringLiteral("Provedené změny nebyly uloženy. Uložit?");
const QString kTitleNotFound = QStringLiteral("Chyba v datech. Data k titulu nebyla nalezena.");

namespace {

QString Key(int key) {
    return QString::number(key);
}

QString CodeOrNull(int code) {
    return code < 0 ? QStringLiteral("null") : QString::number(code);
}

} // namespace

QString CodeSearchSql(const QString& codeText) {
    if (codeText.isEmpty())
        return {};
    const QString trimmed = codeText.trimmed();
    if (codeText.size() > 6) {
        // Two lookups, each through the index on its code: one condition over both tables would
        // read every medium of the shop. The outer join makes the title the first stream, so the
        // optimiser starts from its code even where the statistics are empty; a title without
        // media is still not found, as before.
        const QString code = SqlEscape(trimmed);
        return QStringLiteral("select n.KOD_TITUL, n.KOD_NOSIC from NOSICE n where n.EAN_KOD = '") + code +
               QStringLiteral("' union select t.KOD_TITUL, n.KOD_NOSIC from TITULY t left join NOSICE n on "
                              "(t.KOD_TITUL = n.KOD_TITUL) where t.EAN_KOD = '") +
               code + QStringLiteral("' and n.KOD_NOSIC is not null");
    }
    bool ok = false;
    int number = trimmed.toInt(&ok);
    if (!ok || number < 0)
        number = 0;
    // The same rows as "EAN_KOD like '%000123'", found through the index on the code's end.
    return QStringLiteral("select KOD_TITUL, KOD_NOSIC from NOSICE where right(EAN_KOD, 6) = '") +
           IntToStrZero(number, 6) + u'\'';
}

QString NameSearchSql(const QString& nameText) {
    const QString folded = SqlEscape(UpperCz(nameText));
    return QStringLiteral("select KOD_TITUL from TITULY where Upper(NAZEV_CESKY) like '%") + folded +
           QStringLiteral("%' or Upper(NAZEV_ORIG) like '%") + folded + QStringLiteral("%'");
}

QString LoadTitleSql(int kodTitul) {
    return QStringLiteral("select ") + SqlFullName(QStringLiteral("uz")) +
           QStringLiteral(" as UZIV_ZMENA_JM, t.* from TITULY t left join UZIVATELE uz on "
                          "(t.UZIV_ZMENA = uz.KOD_UZIV) where t.KOD_TITUL = ") +
           Key(kodTitul);
}

QString LoadMediaSql(int kodTitul) {
    return QStringLiteral("select n.KOD_NOSIC, n.EAN_KOD, n.CENA_NAKUP, n.D_PRIJMU, ") +
           SqlFullName(QStringLiteral("up")) + QStringLiteral(" as UZIV_PRIJAL, n.D_ZRUSENI, ") +
           SqlFullName(QStringLiteral("uu")) +
           QStringLiteral(
               " as UZIV_ZRUSIL, n.DUVOD_ZRUSENI, 1 as SAVED_NOSIC from NOSICE n left join UZIVATELE up "
               "on (n.UZIV_PRIJAL = up.KOD_UZIV) left join UZIVATELE uu on (n.UZIV_ZRUSIL = uu.KOD_UZIV) "
               "where n.KOD_TITUL = ") +
           Key(kodTitul) + QStringLiteral(" order by n.KOD_NOSIC");
}

QString OpenLoanSql(int kodNosic) {
    return QStringLiteral("select KOD_NOSIC from PUJCKY where KOD_NOSIC = ") + Key(kodNosic) +
           QStringLiteral(" and D_VRACENI is null");
}

QString PicturesSql(int kodTitul) {
    return QStringLiteral("select KOD_OBR from OBRAZKY where KOD_TITUL = ") + Key(kodTitul) +
           QStringLiteral(" order by KOD_OBR");
}

QString PictureSql(int kodObr) {
    return QStringLiteral("select OBRAZEK from OBRAZKY where KOD_OBR = ") + Key(kodObr);
}

QString TitleCountsSql(int kodTitul) {
    return QStringLiteral("select POCET_CELKEM, POCET_PRITOMNO from TITULY where KOD_TITUL = ") +
           Key(kodTitul);
}

QString InsertTitleSql(const TTitleRecord& t, int userKey) {
    const QStringList values{
        Key(t.kodTitul),
        QStringLiteral("CURRENT_TIMESTAMP"),
        Key(userKey),
        SqlText(t.eanKod),
        SqlText(t.nazevCesky),
        SqlText(t.nazevOrig),
        Key(t.pocetCelkem),
        Key(t.pocetCelkem),
        u'\'' + QString(t.typNosice) + u'\'',
        FloatToSql(t.cenaPujcka),
        SqlText(t.poznamky, true),
        CodeOrNull(t.zanr),
        SqlText(t.rezie),
        SqlText(t.scenar),
        SqlText(t.hraji),
        Key(t.rok),
        Key(t.delka),
        Key(t.pristup),
        SqlText(t.zeme),
        SqlText(t.producent),
        SqlText(t.obsah, true),
        CodeOrNull(t.zvuk),
        SqlText(t.titulky),
        SqlText(t.jazyky),
    };
    return QStringLiteral(
               "insert into TITULY (KOD_TITUL, D_ZMENY, UZIV_ZMENA, EAN_KOD, NAZEV_CESKY, NAZEV_ORIG, "
               "POCET_CELKEM, POCET_PRITOMNO, TYP_NOSICE, CENA_PUJCKA, POZNAMKY,FILM_ZANR, FILM_REZIE, "
               "FILM_SCENAR, FILM_HRAJI, FILM_ROK, FILM_DELKA, FILM_PRISTUP, FILM_ZEME, FILM_PRODUCENT, "
               "FILM_OBSAH, FILM_ZVUK, FILM_TITULKY, FILM_JAZYKY) values (") +
           values.join(QStringLiteral(", ")) + u')';
}

QString UpdateTitleSql(const TTitleRecord& loaded, const TTitleRecord& t, int userKey, int deltaCelkem,
                       int deltaPritomno) {
    const auto relative = [](const char* column, int delta) {
        const QString name = QString::fromLatin1(column);
        return name + QStringLiteral(" = ") + name +
               (delta < 0 ? QStringLiteral(" - ") : QStringLiteral(" + ")) + QString::number(std::abs(delta));
    };
    // Only what the clerk changed: another counter's save of other columns since the load stays.
    QStringList pieces;
    const auto put = [&pieces](const char* column, bool changed, const QString& value) {
        if (changed)
            pieces << QString::fromLatin1(column) + QStringLiteral(" = ") + value;
    };
    put("NAZEV_CESKY", loaded.nazevCesky != t.nazevCesky, SqlText(t.nazevCesky));
    put("NAZEV_ORIG", loaded.nazevOrig != t.nazevOrig, SqlText(t.nazevOrig));
    put("POZNAMKY", loaded.poznamky != t.poznamky, SqlText(t.poznamky, true));
    put("EAN_KOD", loaded.eanKod != t.eanKod, SqlText(t.eanKod));
    put("CENA_PUJCKA", loaded.cenaPujcka != t.cenaPujcka, FloatToSql(t.cenaPujcka));
    pieces << relative("POCET_CELKEM", deltaCelkem) << relative("POCET_PRITOMNO", deltaPritomno);
    put("TYP_NOSICE", loaded.typNosice != t.typNosice, u'\'' + QString(t.typNosice) + u'\'');
    put("FILM_ZANR", loaded.zanr != t.zanr, CodeOrNull(t.zanr));
    put("FILM_ZVUK", loaded.zvuk != t.zvuk, CodeOrNull(t.zvuk));
    put("FILM_REZIE", loaded.rezie != t.rezie, SqlText(t.rezie));
    put("FILM_SCENAR", loaded.scenar != t.scenar, SqlText(t.scenar));
    put("FILM_HRAJI", loaded.hraji != t.hraji, SqlText(t.hraji));
    put("FILM_ROK", loaded.rok != t.rok, Key(t.rok));
    put("FILM_DELKA", loaded.delka != t.delka, Key(t.delka));
    put("FILM_PRISTUP", loaded.pristup != t.pristup, Key(t.pristup));
    put("FILM_ZEME", loaded.zeme != t.zeme, SqlText(t.zeme));
    put("FILM_PRODUCENT", loaded.producent != t.producent, SqlText(t.producent));
    put("FILM_OBSAH", loaded.obsah != t.obsah, SqlText(t.obsah, true));
    put("FILM_TITULKY", loaded.titulky != t.titulky, SqlText(t.titulky));
    put("FILM_JAZYKY", loaded.jazyky != t.jazyky, SqlText(t.jazyky));
    pieces << QStringLiteral("D_ZMENY = CURRENT_TIMESTAMP") << QStringLiteral("UZIV_ZMENA = ") + Key(userKey);
    return QStringLiteral("update TITULY set ") + pieces.join(QStringLiteral(", ")) +
           QStringLiteral(" where KOD_TITUL = ") + Key(t.kodTitul);
}

QString InsertMediumSql(const TMediumRow& row, int kodNosic, int kodTitul, const QString& code, int userKey) {
    QString sql = QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP, D_PRIJMU, "
                                 "UZIV_PRIJAL, D_ZRUSENI, UZIV_ZRUSIL, DUVOD_ZRUSENI) values (") +
                  Key(kodNosic) + QStringLiteral(", ") + Key(kodTitul) + QStringLiteral(", '") + code +
                  QStringLiteral("', ") + FloatToSql(row.cenaNakup) +
                  QStringLiteral(", CURRENT_TIMESTAMP, ") + Key(userKey) + QStringLiteral(", ");
    if (!row.dZruseni.isValid() && row.duvod.isEmpty())
        return sql + QStringLiteral("null, null, null)");
    return sql + QStringLiteral("CURRENT_TIMESTAMP, ") + Key(userKey) + QStringLiteral(", ") +
           SqlText(row.duvod) + u')';
}

QString RetireMediumSql(const TMediumRow& row, int userKey) {
    if (row.retiredAtLoad || !row.dZruseni.isValid())
        return {};
    return QStringLiteral("update NOSICE set D_ZRUSENI = CURRENT_TIMESTAMP, UZIV_ZRUSIL = ") + Key(userKey) +
           QStringLiteral(", DUVOD_ZRUSENI = ") + SqlText(row.duvod) + QStringLiteral(" where KOD_NOSIC = ") +
           Key(row.kodNosic) + QStringLiteral(" and D_ZRUSENI is null");
}

QString UpdateMediumSql(const TMediumRow& row) {
    QStringList pieces;
    if (row.cenaNakup != row.cenaAtLoad)
        pieces << QStringLiteral("CENA_NAKUP = ") + FloatToSql(row.cenaNakup);
    if (row.retiredAtLoad && row.duvod != row.duvodAtLoad)
        pieces << QStringLiteral("DUVOD_ZRUSENI = ") + SqlText(row.duvod);
    if (pieces.isEmpty())
        return {};
    return QStringLiteral("update NOSICE set ") + pieces.join(QStringLiteral(", ")) +
           QStringLiteral(" where KOD_NOSIC = ") + Key(row.kodNosic);
}

QString InsertPictureSql(int kodTitul) {
    return QStringLiteral("insert into OBRAZKY (KOD_TITUL, OBRAZEK) values (") + Key(kodTitul) +
           QStringLiteral(", :OBRAZEK)");
}

QString DeletePictureSql(int kodObr) {
    return QStringLiteral("delete from OBRAZKY where KOD_OBR = ") + Key(kodObr);
}

double PurchaseTotal(const std::vector<TMediumRow>& media) {
    double total = 0;
    for (const TMediumRow& row : media)
        if (!row.dZruseni.isValid())
            total += row.cenaNakup;
    return total;
}

QString LabelText(const QString& nazevCesky, const QString& nazevOrig) {
    if (nazevOrig.isEmpty())
        return nazevCesky;
    return nazevCesky + QStringLiteral("\r(") + nazevOrig + u')';
}

QString MediumNumber(const QString& mediumCode) {
    return mediumCode.mid(10, 6);
}

bool HasReasonWithoutRetirement(const TMediumRow& row) {
    return !row.duvod.isEmpty() && !row.dZruseni.isValid();
}

std::vector<TCheckStep> ValidationSteps(const TValidationInput& in) {
    std::vector<TCheckStep> steps;
    if (in.nazevCesky.trimmed().isEmpty())
        steps.push_back(
            {TCheckKind::Refuse, QStringLiteral("Není zadán název. Data nelze uložit."), TCheckFocus::Name});
    if (in.eanKod.trimmed().isEmpty())
        steps.push_back({TCheckKind::Refuse, QStringLiteral("Není zadán EAN kód titulu. Data nelze uložit."),
                         TCheckFocus::Ean});
    if (in.cenaPujcka == 0)
        steps.push_back({TCheckKind::WarnYesNo, QStringLiteral("Není zadáno půjčovné. Přesto uložit?"),
                         TCheckFocus::Price});
    if (!in.dvd && !in.vhs)
        steps.push_back({TCheckKind::Refuse, QStringLiteral("Není zadán typ nosiče. Data nelze uložit."),
                         TCheckFocus::TypeDvd});
    if (in.mediaOpen && in.media.empty())
        steps.push_back({TCheckKind::Refuse, QStringLiteral("Není zadán žádný nosič. Data nelze uložit."),
                         TCheckFocus::AddButton});
    bool noPrice = false;
    bool reason = false;
    for (const TMediumRow& row : in.media) {
        noPrice = noPrice || row.cenaNakup == 0;
        reason = reason || HasReasonWithoutRetirement(row);
    }
    if (noPrice)
        steps.push_back({TCheckKind::WarnYesNo,
                         QStringLiteral("U nosiče není zadána nákupní cena. Přesto uložit?"),
                         TCheckFocus::Grid});
    if (reason)
        steps.push_back({TCheckKind::RetireQuestion,
                         QStringLiteral("U nosiče je vyplněn důvod vyřazení. Vyřadit nosič z evidence?"),
                         TCheckFocus::Grid});
    return steps;
}

QString HistoryMediaSql(int kodTitul) {
    return QStringLiteral(
               "select n.EAN_KOD, n.CENA_NAKUP, n.D_PRIJMU, n.D_ZRUSENI, n.DUVOD_ZRUSENI, "
               "count(p.D_PUJCENI) as POCET_PUJCENI, sum(p.CENA_PUJCKA) as CENA_PUJCENI from NOSICE n "
               "join PUJCKY p on (p.KOD_NOSIC = n.KOD_NOSIC) where n.KOD_TITUL = ") +
           Key(kodTitul) +
           QStringLiteral(" group by n.EAN_KOD, n.CENA_NAKUP, n.D_PRIJMU, n.D_ZRUSENI, n.DUVOD_ZRUSENI");
}

QString TitleLoansSql(int kodTitul) {
    return QStringLiteral("select p.KOD_NOSIC, p.D_PUJCENI, p.CENA_PUJCKA, p.D_VRACENI, p.INFO_VRACENI, ") +
           SqlFullName(QStringLiteral("z")) +
           QStringLiteral(" as ZAKAZNIK, z.EAN_KOD from PUJCKY p join ZAKAZNICI z on (p.KOD_ZAK = z.KOD_ZAK) "
                          "where p.KOD_TITUL = ") +
           Key(kodTitul) + QStringLiteral(" order by p.D_PUJCENI desc");
}

QString CodeNotFoundText(const QString& codeText) {
    return QStringLiteral("Žádný titul s EAN kódem / nosič s CN kódem ") + codeText +
           QStringLiteral(" nebyl nalezen.");
}
