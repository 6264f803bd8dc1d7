#pragma once

#include "DatabaseInfo.h"
#include "GlobDB.h"
#include "InstanceLock.h"
#include "MailSettings.h"
#include "Pobocka.h"
#include "PriceSettings.h"

#include <QString>

class TReceiptPrinter;

// The logged-in user. An empty login name means nobody is logged in.
struct TCurrentUser {
    int KodUziv = 0;
    QString Uzivatel;
    QString Jmeno; // the display name
    QChar Prava;   // 'A' administrator, 'V' manager, 'P' seller

    bool LoggedIn() const { return !Uzivatel.isEmpty(); }
    bool IsManager() const { return Prava == u'A' || Prava == u'V'; }
};

// What desks may ask of the main window: each request carries one record key.
class IMainRequests {
public:
    virtual ~IMainRequests() = default;
    virtual void RequestLending(int kodZak) = 0;
    virtual void RequestCustomer(int kodZak) = 0;
    virtual void RequestTitle(int kodTitul) = 0;
    virtual void DayClosed() = 0;
};

// The one owner of what the whole program shares: the data module, the shop settings
// records, the logged-in user and the main window's requests. Windows receive it; tests
// make a fresh one for each test.
class TAppContext final {
public:
    explicit TAppContext(const QString& executablePath)
        : db_(executablePath), specCena_(db_), pobocka_(db_), specApp_(db_), specDb_(db_) {}
    TAppContext(const TAppContext&) = delete;
    TAppContext& operator=(const TAppContext&) = delete;

    TDMGlobDB& Db() { return db_; }
    TSpecCena& SpecCena() { return specCena_; }
    TPobocka& Pobocka() { return pobocka_; }
    TSpecApp& SpecApp() { return specApp_; }
    TSpecDB& SpecDB() { return specDb_; }

    TCurrentUser CurrentUser;
    // Where the clerk last took a picture file from; desks come and go, the folder stays.
    QString PictureFolder;
    // Set by the main window while it exists; desks shown elsewhere (tests) may leave it empty.
    IMainRequests* Requests = nullptr;
    // The shop's receipt printer; empty while none is set up, and the payment dialog says so.
    TReceiptPrinter* ReceiptPrinter = nullptr;
    // Held from the start-up on while the program works on an embedded database.
    TInstanceLock InstanceLock;

private:
    TDMGlobDB db_;
    TSpecCena specCena_;
    TPobocka pobocka_;
    TSpecApp specApp_;
    TSpecDB specDb_;
};
