#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QVariant>

class TDMGlobDB;
class TTransaction;

// The users page without widgets: the list, the checks and the writes.

struct TUserInput {
    QString Uzivatel, TitulPred, Jmeno, Prijmeni, TitulZa, Email, Telefon, Poznamky;
    bool Povoleni = true;
    QChar Prava = u'P';
};

// Where the clerk's focus goes when a save is refused.
enum class TUserField { None, Uzivatel, Jmeno, Prijmeni };

struct TUserSave {
    bool Saved = false;
    QString Message; // the warning of a refused save
    TUserField Field = TUserField::None;
    int Key = -1; // the saved user's key
};

// The list's columns, in the order of the statement.
QStringList UserColumns();
// The rows of the users list sorted by "orderBy" (for example "PRIJMENI ASC").
QList<QVariantList> LoadUsers(TDMGlobDB& db, TTransaction& transaction, const QString& orderBy);

// Stores a new user (key -1) or changes one. The login name is folded to capitals; a name that
// another user has is refused inside the saving transaction, so two counters saving the same new
// name cannot both succeed. A new user starts without a password.
TUserSave SaveUser(TDMGlobDB& db, const TUserInput& input, int key);

// Empties the user's password; returns the message for the clerk.
QString ClearPassword(TDMGlobDB& db, int key, const QString& uzivatel);
