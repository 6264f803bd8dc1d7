#pragma once

#include "Month.h"

#include <QString>

class TDMGlobDB;
class TTransaction;
struct TCurrentUser;

// The stored form of a password: two characters per character of the text (Windows-1250
// byte), never decoded; the empty password gives the empty text, stored as null.
QString EncodePassword(const QString& password);
// The stored form fits the column (two characters per byte) and keeps every character: no
// other password can be anybody's.
constexpr int kMaxPasswordLength = 128;
bool StorablePassword(const QString& password);

// "TITUL_PRED JMENO PRIJMENI, TITUL_ZA", the titles only where stored.
QString DisplayName(const QString& titulPred, bool hasTitulPred, const QString& jmeno,
                    const QString& prijmeni, const QString& titulZa, bool hasTitulZa);

enum class TLoginOutcome { LoggedIn, Refused, Blocked };

// Checks the name (any letter case) and the password, writes the 'P' or 'E' record and on
// success fills the user. A blocked account writes nothing and leaves the user as it was.
// The records are written in the caller's transaction: fill CurrentUser only after its commit.
TLoginOutcome LoginUser(TDMGlobDB& db, TTransaction& transaction, const QString& name,
                        const QString& password, TCurrentUser& user);

enum class TPasswordOutcome { Changed, WrongCurrent, Mismatch, TooLong, Unstorable };

// Stores the new password of the logged-in user (by its key) once the current one is verified;
// WrongCurrent also when the stored password no longer matches at the time of the update; a new
// password that is not StorablePassword is refused.
TPasswordOutcome ChangePassword(TDMGlobDB& db, TTransaction& transaction, const TCurrentUser& user,
                                const QString& current, const QString& newPassword,
                                const QString& confirmation);

// The logout record of a user, in a transaction of its own.
void WriteLogout(TDMGlobDB& db, int kodUziv);

QString LoginHistorySql(int kodUziv, TMonth month);
