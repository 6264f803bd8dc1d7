#pragma once

#include <QImage>
#include <QString>

class TDMGlobDB;

// The shop's identity (the single row of POBOCKA), printed on receipts, reports and mail.
class TPobocka final {
public:
    explicit TPobocka(TDMGlobDB& db) : db_(db) {}

    QString GetJmeno() { return Loaded().Jmeno; }
    QString GetAdrUlice() { return Loaded().AdrUlice; }
    QString GetAdrObec() { return Loaded().AdrObec; }
    QString GetAdrPsc() { return Loaded().AdrPsc; }
    QString GetIc() { return Loaded().Ic; }
    QString GetDic() { return Loaded().Dic; }
    QString GetTel() { return Loaded().Tel; }
    QString GetFax() { return Loaded().Fax; }
    QString GetEmail() { return Loaded().Email; }
    QString GetWeb() { return Loaded().Web; }
    QString GetTextDoklad() { return Loaded().TextDoklad; }
    const QImage& GetLogo() { return Loaded().Logo; }

    // A shop whose name is empty counts as not loaded and is read again at every access.
    bool IsLoaded() const { return !values_.Jmeno.isEmpty(); }
    // The settings desk has stored new values: receipts and reports read them from now on.
    void Reload() {
        values_ = {};
        Loaded();
    }

private:
    struct Values {
        QString Jmeno, AdrUlice, AdrObec, AdrPsc, Ic, Dic, Tel, Fax, Email, Web, TextDoklad;
        QImage Logo;
    };
    const Values& Loaded();
    TDMGlobDB& db_;
    Values values_;
};
