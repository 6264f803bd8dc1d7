#include "CustomerSave.h"

#include "GlobDB.h"
#include "GlobFunc.h"

TSavedCustomer SaveCustomer(TDMGlobDB& db, TTransaction& transaction, const TCustomerSave& save) {
    TSavedCustomer saved;
    if (save.key == -1) {
        saved.key = db.GenKodZak(transaction);
        saved.cardCode = NewCustomerCode(saved.key);
        db.ExecSql(transaction, CustomerInsertSql(saved.key, save.user, saved.cardCode, save.fields));
    } else {
        saved.key = save.key;
        db.ExecSql(transaction,
                   CustomerUpdateSql(saved.key, save.user, save.loaded, save.fields, save.ending));
    }
    StorePicture(db, transaction, QStringLiteral("ZAKAZNICI"), QStringLiteral("FOTO"),
                 QStringLiteral("KOD_ZAK = ") + QString::number(saved.key), save.photo);
    return saved;
}
