// Logs in as ADMIN on a copy of the shipped database with a month of closes and cash
// movements, opens "&Tržba" and "&Uzávěrka" in the main window and saves them at its minimum size
// and maximised, then the cash overview as a PDF, then the payment dialog with money to give back and with
// money short.
#include "DeskFit.h"
#include "GlobFunc.h"
#include "Hotovost.h"
#include "MoxNumEdit.h"
#include "QKasa.h"
#include "TestDatabase.h"
#include "Trzba.h"
#include "Uzaverka.h"

#include <QApplication>
#include <QDir>
#include <QPdfWriter>
#include <QTextStream>

namespace {

void Fill(TTestDatabase& database) {
    const QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
    double balance = 5000;
    for (int offset = -6; offset <= -1; ++offset) {
        const QString day = DateToText(QStringLiteral("yyyy-mm-dd"), today.addDays(offset));
        balance += 1830.5 - 1000;
        database.Exec(
            QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS, UZIV_ZAPSAL) values ('%1 19:30:00', "
                           "-1000, 'Odvod do banky', 1)")
                .arg(day));
        database.Exec(
            QStringLiteral("insert into TRZBY (DATUM, ZALOHA_PREV, ZALOHA_VRAC, NOSIC_PUJC, NOSIC_VRAC, "
                           "TRZBA, HOT_DOTACE, HOT_ODVOD, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values ('%1', "
                           "500, -200, 24, 19, 1530.5, 0, -1000, %2, '%1 20:00:00', 1)")
                .arg(day, FloatToSql(balance)));
    }
    const QString now = DateToText(QStringLiteral("yyyy-mm-dd"), today);
    database.Exec(
        QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS, UZIV_ZAPSAL) values ('%1 08:00:00', "
                       "2000, 'Drobné na vracení', 1)")
            .arg(now));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: cinemon_cash_screenshots <folder>" << Qt::endl;
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("."));

    TTestDatabase database;
    Fill(database);
    TAppContext context(database.ExecutablePath());
    bool ok = false;
    {
        TDeskInMainWindow shown(context, TMenuButton::Trzba, MakeDesk<TFTrzba>);
        ok = SaveShotsAtBothSizes(shown, folder, QStringLiteral("trzba"));
    }
    {
        TDeskInMainWindow shown(context, TMenuButton::Uzaverka, MakeDesk<TFUzaverka>);
        ok = SaveShotsAtBothSizes(shown, folder, QStringLiteral("uzaverka")) && ok;
        const auto* page = dynamic_cast<TFUzaverka*>(shown.Desk());
        QPdfWriter pdf(folder.filePath(QStringLiteral("prehled-pokladny.pdf")));
        TQRKasa(page->Figures(), context.SpecCena().GetMena(), ReportShop(context.Pobocka()))
            .Report()
            .Print(pdf);
        out << "wrote " << folder.filePath(QStringLiteral("prehled-pokladny.pdf")) << Qt::endl;
    }

    TFHotovost payment(context, nullptr);
    payment.SetReceipt(1);
    payment.SetAmount(123.5);
    payment.findChild<TMoxNumEdit*>(QStringLiteral("EZaplaceno"))->setText(QStringLiteral("200"));
    ok = SaveShot(payment, folder, QStringLiteral("hotovost.png")) && ok;
    payment.findChild<TMoxNumEdit*>(QStringLiteral("EZaplaceno"))->setText(QStringLiteral("100"));
    ok = SaveShot(payment, folder, QStringLiteral("hotovost-chybi.png")) && ok;
    return ok ? 0 : 1;
}
