#pragma once

#include "AppContext.h"
#include "GlobDB.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A fresh embedded database per test: the shipped backup is restored once per test
// program, and every test works on its own copy of that file in a temporary folder.
class TTestDatabase {
public:
    TTestDatabase();

    // The folder that stands for the program's folder: the configuration file and the
    // database file of this test live here.
    QString Dir() const { return dir_.path(); }
    QString ExecutablePath() const;
    QString DatabaseFile() const;
    TDMGlobDB& Db() { return *db_; }

    // Runs a statement in its own committed transaction.
    void Exec(const QString& sql);
    // A loan on record as the counter stores it: lent at 10:00 on `lent` by user 1.
    void RecordLoan(int kodNosic, int kodTitul, int kodZak, const QDate& lent, const QDate& due,
                    double price);
    // The first column of the first row of a select, read in its own transaction.
    QVariant Scalar(const QString& sql);

    // ADMIN, the user the shipped database comes with.
    int AdminKey();
    // Logs ADMIN in for desks built on the context, with the given rights.
    void LogInAdmin(TAppContext& context, QChar prava = u'A');

    static QString ShippedBackup();

private:
    QTemporaryDir dir_;
    std::unique_ptr<TDMGlobDB> db_;
};

class DatabaseTest : public ::testing::Test {
protected:
    TTestDatabase database;
    TDMGlobDB& db = database.Db();
};
