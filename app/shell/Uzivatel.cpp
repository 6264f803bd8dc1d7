#include "Uzivatel.h"

#include "AppContext.h"
#include "GlobFunc.h"
#include "Win1250.h"

#include <memory>

namespace {

// Fixed for the life of a database: passwords stored under one pair verify only under it.
constexpr char16_t kAlphabetOne[] = u"K7QX2MDT9RAH5WEB";
constexpr char16_t kAlphabetTwo[] = u"3PZGL8UFJ0YC6NV4";

// The column UZIVATELE.UZIVATEL: a longer name is nobody's.
constexpr int kUserNameLength = 48;

QString InsertLogin(const QString& key, char stav) {
    return QStringLiteral("insert into PRIHLASENI (KOD_UZIV, DATUM, STAV_PRIH) values (") + key +
           QStringLiteral(", CURRENT_TIMESTAMP, '") + QChar::fromLatin1(stav) + QStringLiteral("')");
}

} // namespace

QString EncodePassword(const QString& password) {
    const QByteArray bytes = Win1250::Encode(password);
    QString out;
    out.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool odd = i % 2 == 0; // positions count from 1
        const char16_t* low = odd ? kAlphabetOne : kAlphabetTwo;
        const char16_t* high = odd ? kAlphabetTwo : kAlphabetOne;
        out += QChar(low[b % 16]);
        out += QChar(high[b / 16]);
    }
    return out;
}

bool StorablePassword(const QString& password) {
    return password.size() <= kMaxPasswordLength && !Win1250::FirstUnencodable(password);
}

QString DisplayName(const QString& titulPred, bool hasTitulPred, const QString& jmeno,
                    const QString& prijmeni, const QString& titulZa, bool hasTitulZa) {
    QString name;
    if (hasTitulPred)
        name = titulPred + u' ';
    name += jmeno + u' ' + prijmeni;
    if (hasTitulZa)
        name += QStringLiteral(", ") + titulZa;
    return name;
}

TLoginOutcome LoginUser(TDMGlobDB& db, TTransaction& transaction, const QString& name,
                        const QString& password, TCurrentUser& user) {
    // Neither the name nor the password is asked for when no user can have it: the statement
    // would not even take it.
    if (name.size() > kUserNameLength)
        return TLoginOutcome::Refused;
    const QString nameCondition = SqlEquals(UpperCz(name));
    std::unique_ptr<TQuery> query;
    if (StorablePassword(password)) {
        query = db.OpenQuery(
            transaction,
            QStringLiteral("select KOD_UZIV, UZIVATEL, POVOLENI, PRAVA, EMAIL, TELEFON, TITUL_PRED, "
                           "JMENO, PRIJMENI, TITUL_ZA from UZIVATELE where (upper(UZIVATEL) ") +
                nameCondition + QStringLiteral(") and (HESLO ") + SqlEquals(EncodePassword(password)) + u')');
        query->Open();
    }
    if (!query || query->Eof()) {
        auto known = db.OpenQuery(transaction,
                                  QStringLiteral("select KOD_UZIV from UZIVATELE where (upper(UZIVATEL) ") +
                                      nameCondition + u')');
        known->Open();
        if (!known->Eof())
            db.ExecSql(transaction,
                       InsertLogin(known->FieldByName(QStringLiteral("KOD_UZIV")).AsString(), 'E'));
        return TLoginOutcome::Refused;
    }
    const auto field = [&](const char* column) -> const TField& {
        return query->FieldByName(QString::fromLatin1(column));
    };
    if (field("POVOLENI").AsString() != QStringLiteral("A"))
        return TLoginOutcome::Blocked;

    const int key = field("KOD_UZIV").AsInteger();
    db.ExecSql(transaction, InsertLogin(SqlText(QString::number(key)), 'P'));
    user.KodUziv = key;
    user.Uzivatel = field("UZIVATEL").AsString();
    user.Jmeno =
        DisplayName(field("TITUL_PRED").AsString(), !field("TITUL_PRED").IsNull(), field("JMENO").AsString(),
                    field("PRIJMENI").AsString(), field("TITUL_ZA").AsString(), !field("TITUL_ZA").IsNull());
    const QString prava = field("PRAVA").AsString();
    user.Prava = prava.isEmpty() ? QChar() : prava.front();
    return TLoginOutcome::LoggedIn;
}

TPasswordOutcome ChangePassword(TDMGlobDB& db, TTransaction& transaction, const TCurrentUser& user,
                                const QString& current, const QString& newPassword,
                                const QString& confirmation) {
    if (!StorablePassword(current))
        return TPasswordOutcome::WrongCurrent;
    auto query =
        db.OpenQuery(transaction, QStringLiteral("select KOD_UZIV from UZIVATELE where KOD_UZIV = '") +
                                      QString::number(user.KodUziv) + QStringLiteral("' and HESLO ") +
                                      SqlEquals(EncodePassword(current)));
    query->Open();
    if (query->Eof())
        return TPasswordOutcome::WrongCurrent;
    if (newPassword != confirmation)
        return TPasswordOutcome::Mismatch;
    if (newPassword.size() > kMaxPasswordLength)
        return TPasswordOutcome::TooLong;
    if (!StorablePassword(newPassword))
        return TPasswordOutcome::Unstorable;
    // By the key: the login name may have been changed at another counter meanwhile, and
    // another user may carry the old one now. The current password is checked again in the
    // same statement, so a change made meanwhile elsewhere is not overwritten.
    auto update = db.OpenQuery(
        transaction, QStringLiteral("update UZIVATELE set HESLO = ") + SqlText(EncodePassword(newPassword)) +
                         QStringLiteral(" where KOD_UZIV = ") + QString::number(user.KodUziv) +
                         QStringLiteral(" and HESLO ") + SqlEquals(EncodePassword(current)) +
                         QStringLiteral(" returning KOD_UZIV"));
    update->Open();
    if (update->Eof() || update->FieldByName(QStringLiteral("KOD_UZIV")).IsNull())
        return TPasswordOutcome::WrongCurrent;
    return TPasswordOutcome::Changed;
}

void WriteLogout(TDMGlobDB& db, int kodUziv) {
    TTransaction transaction(db.DB);
    transaction.StartTransaction();
    db.ExecSql(transaction, InsertLogin(QString::number(kodUziv), 'O'));
    transaction.Commit();
}

QString LoginHistorySql(int kodUziv, TMonth month) {
    const TMonth next = month.Next();
    return QStringLiteral("select DATUM, STAV_PRIH\nfrom PRIHLASENI where KOD_UZIV = ") +
           QString::number(kodUziv) + u'\n' +
           QString::asprintf("and DATUM >= '%d-%d-1' and DATUM < '%d-%d-1'", month.Year, month.Month,
                             next.Year, next.Month) +
           QStringLiteral("\norder by DATUM desc");
}
