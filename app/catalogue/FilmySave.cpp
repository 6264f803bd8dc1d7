#include "FilmySave.h"

#include "GlobDB.h"
#include "GlobFunc.h"

TTitleSaveResult WriteTitle(TDMGlobDB& db, TTransaction& tr, const TTitleSave& save) {
    TTitleSaveResult result;
    TTitleRecord title = save.title;
    if (title.kodTitul == -1) {
        title.kodTitul = db.GenKodTitul(tr);
        db.ExecSql(tr, InsertTitleSql(title, save.userKey));
    } else {
        int deltaCelkem = title.pocetCelkem - save.loadedCelkem;
        int deltaPritomno = title.pocetPritomno - save.loadedPritomno;
        for (const TMediumRow& row : save.media) {
            if (row.kodNosic == -1)
                continue;
            const QString retire = RetireMediumSql(row, save.userKey);
            if (!retire.isEmpty()) {
                // The loan seen at the click may have come back since, or the medium gone out: read
                // again, and locked, so no counter books its return or a loan before this commit.
                auto loan =
                    db.OpenQuery(tr, OpenLoanSql(row.kodNosic) + QStringLiteral(" for update with lock"));
                loan->Open();
                const bool onLoan = !loan->Eof();
                loan.reset();
                if (db.ExecSql(tr, retire) == 0) {
                    // Another counter retired it meanwhile and counted it off there already.
                    ++deltaCelkem;
                    if (!row.onLoanAtRetirement)
                        ++deltaPritomno;
                } else if (onLoan != row.onLoanAtRetirement) {
                    deltaPritomno += onLoan ? 1 : -1;
                }
            }
            const QString update = UpdateMediumSql(row);
            if (!update.isEmpty())
                db.ExecSql(tr, update);
        }
        db.ExecSql(tr, UpdateTitleSql(save.loadedTitle, title, save.userKey, deltaCelkem, deltaPritomno));
    }
    result.kodTitul = title.kodTitul;

    const QString where = QStringLiteral("KOD_TITUL = ") + QString::number(title.kodTitul);
    StorePicture(db, tr, QStringLiteral("TITULY"), QStringLiteral("OBAL_PRED"), where, save.front);
    StorePicture(db, tr, QStringLiteral("TITULY"), QStringLiteral("OBAL_ZA"), where, save.back);

    for (const TMediumRow& row : save.media) {
        if (row.kodNosic == -1) {
            const int key = db.GenKodNosic(tr);
            const QString code = NewMediumCode(title.kodTitul, key);
            db.ExecSql(tr, InsertMediumSql(row, key, title.kodTitul, code, save.userKey));
            result.mediaKeys.push_back(key);
            result.mediaCodes.push_back(code);
        } else {
            result.mediaKeys.push_back(row.kodNosic);
            result.mediaCodes.push_back(row.eanKod);
        }
    }

    if (save.picturesChanged) {
        for (const TPictureRow& picture : save.pictures) {
            if (picture.kodObr == -1)
                db.ExecSqlBlob(tr, InsertPictureSql(title.kodTitul), QStringLiteral("OBRAZEK"),
                               ReadPictureFile(picture.soubor));
            else if (picture.stav == u'D')
                db.ExecSql(tr, DeletePictureSql(picture.kodObr));
        }
    }

    auto counts = db.OpenQuery(tr, TitleCountsSql(title.kodTitul));
    counts->Open();
    result.pocetCelkem = counts->FieldByName(QStringLiteral("POCET_CELKEM")).AsInteger();
    result.pocetPritomno = counts->FieldByName(QStringLiteral("POCET_PRITOMNO")).AsInteger();
    return result;
}
