#pragma once

#include "AppContext.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "TestDatabase.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

// A context on a fresh test database with every message and dialog answered by the test.
class ShellTest : public DatabaseTest {
protected:
    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;

    // Scripts the next login dialog: types the name and the password and presses
    // "Přihlášení"; a refused login closes the dialog as the clerk would.
    void ScriptLogin(const QString& name, const QString& password = {}) {
        hook.Script([name, password](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(name);
            dialog.findChild<QLineEdit*>(QStringLiteral("EHeslo"))->setText(password);
            dialog.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
            if (dialog.result() != QDialog::Accepted)
                dialog.reject();
        });
    }

    int AddUser(const QString& name, const QString& prava, const QString& povoleni = QStringLiteral("A"),
                const QString& heslo = {}) {
        database.Exec(QStringLiteral("insert into UZIVATELE (UZIVATEL, HESLO, TITUL_PRED, JMENO, PRIJMENI, "
                                     "POVOLENI, PRAVA) values (") +
                      SqlText(name) + QStringLiteral(", ") + SqlText(heslo) +
                      QStringLiteral(", 'Ing.', 'Jana', 'Nová', ") + SqlText(povoleni) +
                      QStringLiteral(", ") + SqlText(prava) + u')');
        return database
            .Scalar(QStringLiteral("select KOD_UZIV from UZIVATELE where UZIVATEL = ") + SqlText(name))
            .toInt();
    }

    // Runs a metadata statement as the database's owner (the embedded engine trusts the name);
    // the program's own user may not change the schema.
    void AsOwner(const QString& ddl) {
        TDatabase owner;
        owner.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(), QStringLiteral("UTF8"));
        TTransaction transaction(owner);
        transaction.StartTransaction();
        TQuery statement(transaction, ddl);
        statement.ExecSQL();
        transaction.Commit();
    }

    int Logins(const QString& stav) {
        return database
            .Scalar(QStringLiteral("select count(*) from PRIHLASENI where STAV_PRIH = ") + SqlText(stav))
            .toInt();
    }
};
