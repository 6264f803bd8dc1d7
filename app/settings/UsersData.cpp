#include "UsersData.h"

#include "DbError.h"
#include "GlobDB.h"
#include "GlobFunc.h"

namespace {

QString Duplicate(const QString& name) {
    return QStringLiteral("Uživatel \"") + name +
           QStringLiteral("\" již existuje.\rDalšího se stejným uživatelským jménem nelze zadat.");
}

TUserSave Refused(const QString& message, TUserField field) {
    TUserSave result;
    result.Message = message;
    result.Field = field;
    return result;
}

const QString kLastAdministrator =
    QStringLiteral("Uživatel je jediným povoleným administrátorem.\rBez administrátora by již nikdo nemohl "
                   "spravovat uživatele, pobočku ani prostředí, proto mu nelze odebrat práva "
                   "administrátora ani zakázat přístup. Data nebyla uložena.");

// Whether the user is the one permitted administrator. The others are locked until the save
// ends, so that another counter demoting one of them meanwhile fails instead of leaving none.
bool LastAdministrator(TDMGlobDB& db, TTransaction& transaction, int key) {
    const QString where = QStringLiteral(" where PRAVA = 'A' and POVOLENI = 'A' and KOD_UZIV ");
    auto others = db.OpenQuery(transaction, QStringLiteral("select KOD_UZIV from UZIVATELE") + where +
                                                QStringLiteral("<> ") + QString::number(key) +
                                                QStringLiteral(" for update with lock"));
    others->Open();
    if (!others->Eof())
        return false;
    others.reset();
    auto self = db.OpenQuery(transaction, QStringLiteral("select KOD_UZIV from UZIVATELE") + where +
                                              QStringLiteral("= ") + QString::number(key));
    self->Open();
    return !self->Eof();
}

} // namespace

QStringList UserColumns() {
    return {QStringLiteral("KOD_UZIV"), QStringLiteral("UZIVATEL"), QStringLiteral("TITUL_PRED"),
            QStringLiteral("JMENO"),    QStringLiteral("PRIJMENI"), QStringLiteral("TITUL_ZA"),
            QStringLiteral("EMAIL"),    QStringLiteral("TELEFON"),  QStringLiteral("POVOLENI"),
            QStringLiteral("PRAVA"),    QStringLiteral("POZNAMKY")};
}

QList<QVariantList> LoadUsers(TDMGlobDB& db, TTransaction& transaction, const QString& orderBy) {
    const QStringList columns = UserColumns();
    auto query = db.OpenQuery(transaction, QStringLiteral("select ") + columns.join(QStringLiteral(", ")) +
                                               QStringLiteral(" from UZIVATELE order by ") + orderBy);
    QList<QVariantList> rows;
    for (query->Open(); !query->Eof(); query->Next()) {
        QVariantList row;
        for (const QString& column : columns) {
            const TField& field = query->FieldByName(column);
            if (column == QStringLiteral("KOD_UZIV"))
                row << field.AsInteger();
            else
                row << field.AsString();
        }
        rows << row;
    }
    return rows;
}

TUserSave SaveUser(TDMGlobDB& db, const TUserInput& input, int key) {
    if (input.Uzivatel.trimmed().isEmpty())
        return Refused(QStringLiteral("Není zadán uživatel. Data nelze uložit."), TUserField::Uzivatel);
    if (input.Jmeno.trimmed().isEmpty())
        return Refused(QStringLiteral("Není zadáno jméno. Data nelze uložit."), TUserField::Jmeno);
    if (input.Prijmeni.trimmed().isEmpty())
        return Refused(QStringLiteral("Není zadáno příjmení. Data nelze uložit."), TUserField::Prijmeni);

    const QString name = UpperCz(input.Uzivatel);
    const QString values = SqlText(input.TitulPred) + QStringLiteral(", ") + SqlText(input.Jmeno) +
                           QStringLiteral(", ") + SqlText(input.Prijmeni) + QStringLiteral(", ") +
                           SqlText(input.TitulZa) + QStringLiteral(", ") + SqlText(input.Email) +
                           QStringLiteral(", ") + SqlText(input.Telefon);
    const QString povoleni = input.Povoleni ? QStringLiteral("'A'") : QStringLiteral("'N'");
    const QString prava = QStringLiteral("'") + input.Prava + QStringLiteral("'");

    TUserSave result;
    try {
        RunInTransaction(db.DB, [&](TTransaction& transaction) {
            auto taken =
                db.OpenQuery(transaction, QStringLiteral("select UZIVATEL from UZIVATELE where UZIVATEL ") +
                                              SqlEquals(name) + QStringLiteral(" and KOD_UZIV <> ") +
                                              QString::number(key));
            taken->Open();
            if (!taken->Eof()) {
                result = Refused(Duplicate(input.Uzivatel), TUserField::Uzivatel);
                return;
            }
            taken.reset();
            if (key != -1 && !(input.Prava == u'A' && input.Povoleni) &&
                LastAdministrator(db, transaction, key)) {
                result = Refused(kLastAdministrator, TUserField::None);
                return;
            }
            if (key == -1) {
                db.ExecSql(
                    transaction,
                    QStringLiteral("insert into UZIVATELE (UZIVATEL, TITUL_PRED, JMENO, PRIJMENI, TITUL_ZA, "
                                   "EMAIL, TELEFON, POVOLENI, PRAVA, POZNAMKY) values (") +
                        SqlText(name) + QStringLiteral(", ") + values + QStringLiteral(", ") + povoleni +
                        QStringLiteral(", ") + prava + QStringLiteral(", ") + SqlText(input.Poznamky, true) +
                        QStringLiteral(")"));
                auto stored = db.OpenQuery(transaction, QStringLiteral("select KOD_UZIV from UZIVATELE where "
                                                                       "UZIVATEL ") +
                                                            SqlEquals(name));
                stored->Open();
                result.Key = stored->FieldByName(QStringLiteral("KOD_UZIV")).AsInteger();
            } else {
                const long long changed =
                    db.ExecSql(transaction,
                               QStringLiteral("update UZIVATELE set UZIVATEL = ") + SqlText(name) +
                                   QStringLiteral(", TITUL_PRED = ") + SqlText(input.TitulPred) +
                                   QStringLiteral(", JMENO = ") + SqlText(input.Jmeno) +
                                   QStringLiteral(", PRIJMENI = ") + SqlText(input.Prijmeni) +
                                   QStringLiteral(", TITUL_ZA = ") + SqlText(input.TitulZa) +
                                   QStringLiteral(", EMAIL = ") + SqlText(input.Email) +
                                   QStringLiteral(", TELEFON = ") + SqlText(input.Telefon) +
                                   QStringLiteral(", POVOLENI = ") + povoleni + QStringLiteral(", PRAVA = ") +
                                   prava + QStringLiteral(", POZNAMKY = ") + SqlText(input.Poznamky, true) +
                                   QStringLiteral(" where KOD_UZIV = ") + QString::number(key));
                if (changed == 0)
                    throw ECinemonError(
                        QStringLiteral("Uživatel mezitím byl z databáze odstraněn. Data nelze uložit."));
                result.Key = key;
            }
            result.Saved = true;
        });
    } catch (const EDatabaseError& e) {
        // Another counter has just stored the same login name, or is storing this user now.
        if (e.Code() == EDatabaseError::kUniqueKeyViolation || e.Code() == EDatabaseError::kDuplicateValue)
            return Refused(Duplicate(input.Uzivatel), TUserField::Uzivatel);
        if (e.Code() == EDatabaseError::kLockConflict || e.Code() == EDatabaseError::kDeadlock)
            return Refused(
                QStringLiteral("Uživatele právě ukládá jiná pokladna.\rData nebyla uložena, zkuste to "
                               "prosím znovu."),
                TUserField::Uzivatel);
        throw;
    }
    return result;
}

QString ClearPassword(TDMGlobDB& db, int key, const QString& uzivatel) {
    RunInTransaction(db.DB, [&](TTransaction& transaction) {
        db.ExecSql(transaction, QStringLiteral("update UZIVATELE set HESLO = null where KOD_UZIV = ") +
                                    QString::number(key));
    });
    return QStringLiteral("Heslo uživatele \"") + uzivatel + QStringLiteral("\" bylo smazáno.");
}
