#pragma once

#include <QProcess>
#include <QString>

// An embedded database file held open by another program of this computer (isql-fb), as a
// second program or a database tool holds it while the shop works.
class THeldOpen final {
public:
    explicit THeldOpen(const QString& databaseFile);
    ~THeldOpen();
    THeldOpen(const THeldOpen&) = delete;
    THeldOpen& operator=(const THeldOpen&) = delete;

    // Whether the program has the file open and answers.
    bool Holding() const { return holding_; }

private:
    QProcess isql_;
    bool holding_ = false;
};

// The file's identity on its disk: a file replaced under the same name has another one.
unsigned long long FileIdentity(const QString& file);
