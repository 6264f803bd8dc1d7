#pragma once

#include "Database.h"
#include "DbError.h"
#include "FbClient.h"

#include <firebird/Interface.h>

#include <utility>

// A status vector for one group of Firebird calls; its errors become EDatabaseError.
class TFbStatus final {
public:
    TFbStatus() : status_(FbClient::Master()->getStatus()), wrapper_(status_) {}
    ~TFbStatus() { status_->dispose(); }
    TFbStatus(const TFbStatus&) = delete;
    TFbStatus& operator=(const TFbStatus&) = delete;

    Firebird::ThrowStatusWrapper* operator&() { return &wrapper_; }
    Firebird::ThrowStatusWrapper* get() { return &wrapper_; }

private:
    Firebird::IStatus* status_;
    Firebird::ThrowStatusWrapper wrapper_;
};

[[noreturn]] void ThrowDatabaseError(const Firebird::FbException& e);

// Runs Firebird calls and turns their failures into the program's database error.
template <typename F> decltype(auto) FbCall(F&& calls) {
    try {
        return std::forward<F>(calls)();
    } catch (const Firebird::FbException& e) {
        ThrowDatabaseError(e);
    }
}

// The same for calls on the connection of this database.
template <typename F> decltype(auto) FbCall(TDatabase& database, F&& calls) {
    try {
        return std::forward<F>(calls)();
    } catch (const Firebird::FbException& e) {
        ThrowDatabaseError(database, e);
    }
}
