#pragma once

#include "DbError.h"
#include "Desk.h"
#include "DeskFactories.h"
#include "GlobDialog.h"

#include <QString>
#include <QStringList>

// What the test desks were asked, kept outside them because the main window destroys them.
struct TDeskLog {
    QStringList calls;
    bool unsaved = false; // the shown desk asks about unsaved changes before it is left
    QString leaveFailure; // when set, LeaveDesk fails with this message
};

// A desk that records the contract calls and, with unsaved changes, asks as the desks do.
class TTestDesk final : public TDesk {
public:
    TTestDesk(TDeskLog& log, QString name, QWidget* parent)
        : TDesk(parent), log_(log), name_(std::move(name)) {}

    void ShowDesk(bool flag) override { Log(QStringLiteral("ShowDesk ") + (flag ? u'1' : u'0')); }
    bool CanLeave() override {
        if (!log_.unsaved)
            return true;
        const TMsgResult answer = Ask(QStringLiteral("Provedené změny nebyly uloženy. Uložit?"), true);
        if (answer == TMsgResult::Cancel)
            return false;
        log_.unsaved = false;
        return true;
    }
    void LeaveDesk() override {
        if (!log_.leaveFailure.isEmpty())
            throw ECinemonError(log_.leaveFailure);
        Log(QStringLiteral("LeaveDesk"));
    }
    void OpenRecord(int key) override { Log(QStringLiteral("OpenRecord ") + QString::number(key)); }

    const QString& Name() const { return name_; }

private:
    void Log(const QString& call) { log_.calls.append(name_ + u' ' + call); }

    TDeskLog& log_;
    QString name_;
};

inline TDeskFactory TestDeskFactory(TDeskLog& log, const QString& name) {
    return [&log, name](TAppContext&, QWidget* parent) { return new TTestDesk(log, name, parent); };
}
