#pragma once

#include "CustomerSql.h"
#include "Pictures.h"

class TDMGlobDB;
class TTransaction;

// One save of the customer desk.
struct TCustomerSave {
    int key = -1; // -1: a customer not stored yet
    int user = 0;
    TCustomerFields fields;
    TCustomerFields loaded; // as the desk showed them before the clerk's changes
    bool ending = false;
    TPictureField photo;
};

struct TSavedCustomer {
    int key = 0;
    QString cardCode; // set for a new customer only
};

// Writes the customer in the caller's transaction: a new customer gets its key from the
// database and its card code, an existing one is updated; then the photo when it changed.
// The caller commits; nothing of a failed save is kept in the caller's state.
TSavedCustomer SaveCustomer(TDMGlobDB& db, TTransaction& transaction, const TCustomerSave& save);
