// Logs in as ADMIN on a copy of the shipped database with a customer who has loans overdue, due
// today and running and a few reservations, opens the counter in the main window, returns one
// medium and lends another, and saves it at the window's minimum size and maximised; then the
// dialogs the counter opens, the overdue list last.
#include "DeskFit.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MoxButton.h"
#include "NosicPujceni.h"
#include "NosicReklamace.h"
#include "NosicVraceni.h"
#include "PoTerminu.h"
#include "Pujcky.h"
#include "RezervJe.h"
#include "RezervPujcit.h"
#include "RezervUpozor.h"
#include "TestDatabase.h"
#include "TitulRezervace.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTextStream>

namespace {

void Fill(TTestDatabase& database, const QDate& today) {
    database.Exec(QStringLiteral(
        "insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, TITUL_PRED, JMENO, PRIJMENI, ADR_ULICE, "
        "ADR_PSC, ADR_OBEC, D_REGISTRACE, POZNAMKY, POCET_PUJCEK, VIP) values (501, "
        "'0101261200000501', 'Ing.', 'Jaroslava', 'Nováková-Štěpánková', 'Na Příkopě 1234/56', "
        "'11000', 'Praha 1', '2024-03-05 16:20:00', 'Platí vždy hotově.', 57, 'N')"));
    const char* titles[] = {"Pelíšky",      "Kolja",          "Samotáři", "Vesničko má středisková",
                            "Obecná škola", "Tmavomodrý svět"};
    for (int t = 0; t < 6; ++t) {
        database.Exec(
            QStringLiteral("insert into TITULY (KOD_TITUL, EAN_KOD, NAZEV_CESKY, NAZEV_ORIG, TYP_NOSICE, "
                           "CENA_PUJCKA, POCET_CELKEM, POCET_PRITOMNO) values (%1, '859404612345%1', %2, %2, "
                           "'%3', %4, 2, 1)")
                .arg(t + 1)
                .arg(SqlText(QString::fromUtf8(titles[t])), t % 2 ? QStringLiteral("V") : QStringLiteral("D"),
                     FloatToSql(30 + 5 * t)));
        for (int m = 0; m < 2; ++m) {
            const int medium = t * 2 + m + 1;
            database.Exec(
                QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (%1, %2, '%3')")
                    .arg(medium)
                    .arg(t + 1)
                    .arg(NewMediumCode(t + 1, medium, QDateTime(QDate(2026, 1, 2), QTime(10, 0)))));
        }
    }
    const int due[] = {-2, 0, 3};
    for (int i = 0; i < 3; ++i)
        database.Exec(QStringLiteral(
                          "insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                          "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (%1, %2, 501, %3, %4, 35, %5, 1)")
                          .arg(i + 1)
                          .arg(i * 2 + 1)
                          .arg(SqlDate(today.addDays(-4)),
                               SqlTimestamp(QDateTime(today.addDays(-4), QTime(17, 5))),
                               SqlDate(today.addDays(due[i]))));
    // Yesterday is closed, so the counter opens.
    database.Exec(
        QStringLiteral("insert into TRZBY (DATUM, TRZBA, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values (%1, 0, "
                       "0, %2, 1)")
            .arg(SqlDate(today.addDays(-1)), SqlTimestamp(QDateTime(today.addDays(-1), QTime(21, 0)))));
    for (int i = 0; i < 3; ++i)
        database.Exec(
            QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, TERMIN_VRACENI, "
                           "UZIV_REZERV, D_REZERV) values (%1, 501, %2, %3, 1, CURRENT_TIMESTAMP)")
                .arg(i + 4)
                .arg(SqlDate(today.addDays(i * 2 - 1)), SqlDate(today.addDays(i * 2 + 1))));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: cinemon_lending_screenshots <folder>" << Qt::endl;
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("."));

    TTestDatabase database;
    const QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
    Fill(database, today);
    TAppContext context(database.ExecutablePath());
    bool ok = false;
    {
        TDeskInMainWindow shown(context, TMenuButton::Pujcky, MakeDesk<TFPujcky>);
        // Installed after the window's own, so the counter's dialogs come here.
        TDialogHook hook;
        shown.Desk()->OpenRecord(501);
        const auto lookup = [&hook](const QString& code) {
            hook.Script([code](QDialog& dialog) {
                dialog.findChild<QLineEdit*>(QStringLiteral("ENosic"))->setText(code);
                dialog.findChild<TMoxButton*>(QStringLiteral("BHledej"))->click();
                dialog.findChild<TMoxButton*>(QStringLiteral("BPotvrdit"))->click();
            });
        };
        lookup(QStringLiteral("1"));
        shown.Desk()->findChild<TMoxButton*>(QStringLiteral("BVratit"))->click();
        lookup(QStringLiteral("11"));
        shown.Desk()->findChild<TMoxButton*>(QStringLiteral("BPujcit"))->click();
        shown.Settle();
        ok = SaveShotsAtBothSizes(shown, folder, QStringLiteral("pujcky"));
        for (const QString& text : hook.Texts())
            out << "message: " << text << Qt::endl;
    }

    TFNosicPujceni pujceni(context);
    pujceni.SetCustomer(501, TCustomerPrices{true, 40, 25}, 57);
    pujceni.SearchFor(QStringLiteral("9"));
    ok = SaveShot(pujceni, folder, QStringLiteral("nosic-pujceni.png")) && ok;
    TFNosicVraceni vraceni(context);
    vraceni.SearchFor(QStringLiteral("3"));
    ok = SaveShot(vraceni, folder, QStringLiteral("nosic-vraceni.png")) && ok;
    TFNosicReklamace reklamace(context);
    reklamace.SearchFor(QStringLiteral("5"));
    ok = SaveShot(reklamace, folder, QStringLiteral("nosic-reklamace.png")) && ok;
    TFTitulRezervace rezervace(context);
    rezervace.SearchTitle(4);
    rezervace.SetCustomer(501);
    ok = SaveShot(rezervace, folder, QStringLiteral("titul-rezervace.png")) && ok;
    TFRezervUpozor upozor;
    ok = SaveShot(upozor, folder, QStringLiteral("rezerv-upozor.png")) && ok;
    TFRezervPujcit pujcit;
    ok = SaveShot(pujcit, folder, QStringLiteral("rezerv-pujcit.png")) && ok;
    TFRezervJe je({QStringLiteral("Jaroslava"), QStringLiteral("Nováková-Štěpánková"),
                   QStringLiteral("0101261200000501"), today, today.addDays(2)},
                  true);
    ok = SaveShot(je, folder, QStringLiteral("rezerv-je.png")) && ok;
    TFPoTerminu poTerminu(context);
    ok = SaveShot(poTerminu, folder, QStringLiteral("po-terminu.png")) && ok;
    return ok ? 0 : 1;
}
