#pragma once

#include <QString>

class TDMGlobDB;

// The description of the database (the single row of SPEC_DB).
class TSpecDB final {
public:
    explicit TSpecDB(TDMGlobDB& db) : db_(db) {}

    QString GetVerzeApp();
    // Stores the running program's version, once loaded and only when it differs.
    void SetVerzeApp(const QString& version);
    bool IsLoaded() const { return loaded_; }

private:
    void Load();
    TDMGlobDB& db_;
    QString verzeApp_;
    bool loaded_ = false;
};
