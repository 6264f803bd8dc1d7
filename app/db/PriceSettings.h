#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>

class TDMGlobDB;

// Prices and VAT of the shop (the single row of SPEC_CENA), loaded on first use.
class TSpecCena final {
public:
    struct Values {
        double DphA = -1; // -1 marks the record as not loaded
        double DphB = -1;
        bool PlatceDph = false;
        QString Mena;
        QString DphPujcka;
        std::array<bool, 7> Plat{true, true, true, true, true, true, true}; // Monday … Sunday
        double CenaVipDvd = 0;
        double CenaVipVhs = 0;
        // No borrowing for a customer holding a medium more than BlokDny days past its due date.
        bool BlokPujceni = false;
        int BlokDny = 14;
    };

    explicit TSpecCena(TDMGlobDB& db) : db_(db) {}

    double GetDphA() { return Loaded().DphA; }
    double GetDphB() { return Loaded().DphB; }
    bool GetPlatceDph() { return Loaded().PlatceDph; }
    QString GetMena() { return Loaded().Mena; }
    QString GetDphPujcka() { return Loaded().DphPujcka; }
    double GetSazbaPujcka();
    bool GetPlatPo() { return Loaded().Plat[0]; }
    bool GetPlatUt() { return Loaded().Plat[1]; }
    bool GetPlatSt() { return Loaded().Plat[2]; }
    bool GetPlatCt() { return Loaded().Plat[3]; }
    bool GetPlatPa() { return Loaded().Plat[4]; }
    bool GetPlatSo() { return Loaded().Plat[5]; }
    bool GetPlatNe() { return Loaded().Plat[6]; }
    double GetCenaVipDvd() { return Loaded().CenaVipDvd; }
    double GetCenaVipVhs() { return Loaded().CenaVipVhs; }
    bool GetBlokPujceni() { return Loaded().BlokPujceni; }
    int GetBlokDny() { return Loaded().BlokDny; }

    bool IsChargedDay(const QDate& date);
    // Charged days from the earlier to the later moment: the first day always counts,
    // the last never, each open day strictly between adds one.
    int ChargedDays(const QDateTime& earlier, const QDateTime& later);

    bool IsLoaded() const { return values_.DphA != -1; }
    // Reads the record again: another counter's settings desk may have changed it.
    void Reload() {
        values_ = {};
        Loaded();
    }
    // The settings desk stores new values here after writing them to the database.
    void Assign(const Values& values) { values_ = values; }
    const Values& Current() { return Loaded(); }

private:
    const Values& Loaded();
    TDMGlobDB& db_;
    Values values_;
};
