// Screenshots of the customer register on a throwaway copy of the shipped database.
#include "AppContext.h"
#include "Deposits.h"
#include "DeskFit.h"
#include "GlobDialog.h"
#include "TestDatabase.h"
#include "ZakHistorie.h"
#include "ZakOdeslat.h"
#include "ZakPrukaz.h"
#include "ZakZalPrev.h"
#include "ZakZalVrac.h"
#include "ZakZalohy.h"
#include "Zakaznici.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTextStream>

#include <memory>

namespace {

QByteArray SamplePhoto() {
    QImage photo(240, 300, QImage::Format_RGB32);
    photo.fill(QColor(210, 225, 240));
    QPainter painter(&photo);
    painter.setBrush(QColor(230, 190, 160));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRect(70, 50, 100, 130));
    painter.setBrush(QColor(60, 90, 150));
    painter.drawRoundedRect(QRect(30, 190, 180, 140), 40, 40);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "JPEG");
    return bytes;
}

void FillSampleData(TTestDatabase& database, TAppContext& context, int user) {
    database.Exec(
        QStringLiteral("update UZIVATELE set JMENO = 'Jana', PRIJMENI = 'Vedoucí' where KOD_UZIV = %1")
            .arg(user));
    database.Exec(
        QStringLiteral("update POBOCKA set JMENO = 'Videopůjčovna Kino', WEB = 'www.videopujcovna-kino.cz'"));
    database.Exec(QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, D_REGISTRACE, UZIV_REG, D_ZMENY, "
                                 "UZIV_ZMENA, EAN_KOD, TITUL_PRED, JMENO, "
                                 "PRIJMENI, ADR_ULICE, ADR_PSC, ADR_OBEC, CISLO_OP, EMAIL, TELEFON, "
                                 "MOBIL_SMS, VIP, CENA_VIP_DVD, CENA_VIP_VHS, "
                                 "POSILAT_NOVINKY, POZNAMKY, POCET_PUJCEK) values (45, '2026-01-05 "
                                 "10:12:00', %1, '2026-03-01 16:40:00', %1, "
                                 "'0501261012000045', 'Ing.', 'Eva', 'Malá', 'Husova 12', '60200', 'Brno', "
                                 "'123456789', 'eva.mala@example.cz', "
                                 "'543 210 987', '603 111 222', 'A', 30, 20, 'A', 'Vrací vždy včas.', 3)")
                      .arg(user));
    TTransaction transaction(context.Db().DB);
    context.Db().ExecSqlBlob(transaction,
                             QStringLiteral("update ZAKAZNICI set FOTO = :FOTO where KOD_ZAK = 45"),
                             QStringLiteral("FOTO"), SamplePhoto());
    database.Exec(QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY) values (1, 'Pelíšky')"));
    database.Exec(QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY) values (2, 'Kolja')"));
    database.Exec(
        QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP, D_PRIJMU, D_ZRUSENI, "
                       "DUVOD_ZRUSENI) values (1, 1, '4010326000001', 399, '2025-11-02 09:00:00', "
                       "'2026-02-20 12:00:00', 'Poškozený obal')"));
    database.Exec(
        QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP, D_PRIJMU) values "
                       "(2, 2, '4010326000002', 449, '2025-11-02 09:00:00')"));
    const QString loan =
        QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, CENA_PUJCKA, "
                       "TERMIN_VRACENI, D_VRACENI) values (%1, %2, 45, %3, 40, %4, %5)");
    database.Exec(loan.arg(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("'2026-02-01 17:00:00'"),
                           QStringLiteral("'2026-02-02'"), QStringLiteral("'2026-02-02 19:00:00'")));
    database.Exec(loan.arg(QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("'2026-02-10 17:00:00'"),
                           QStringLiteral("'2026-02-11'"), QStringLiteral("'2026-02-13 10:00:00'")));
    database.Exec(loan.arg(QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("CURRENT_TIMESTAMP - 2"),
                           QStringLiteral("CURRENT_DATE"), QStringLiteral("null")));
    database.Exec(
        QStringLiteral("insert into ZAK_ZPRAVY (KOD_ZAK, DATUM_ODS, UZIV_ODS, EMAIL_ADR, EMAIL_SUBJ, "
                       "EMAIL_MESSAGE) values (45, '2026-03-02 09:30:00', %1, 'eva.mala@example.cz', "
                       "'Novinky v půjčovně', 'Dobrý den,\nod pátku máme nové tituly.\nVideopůjčovna Kino')")
            .arg(user));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("CINEMON_BACKUP"))
        qputenv("CINEMON_BACKUP", CINEMON_SHIPPED_BACKUP);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    if (argc < 2) {
        QTextStream(stderr) << "usage: cinemon_customers_screenshots <folder>" << Qt::endl;
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;

    TTestDatabase database;
    TAppContext context(database.ExecutablePath());
    const int user =
        database.Scalar(QStringLiteral("select KOD_UZIV from UZIVATELE where UZIVATEL = 'ADMIN'")).toInt();
    bool ok = true;
    {
        // The desk as the clerk first sees it: in the main window at the size it opens at.
        TDeskInMainWindow shown(context, TMenuButton::Zakaznici, MakeDesk<TFZakaznici>);
        // Filled once logged in: the sample's past loans would otherwise ask for a daily close.
        FillSampleData(database, context, user);
        TDesk& desk = *shown.Desk();
        desk.OpenRecord(45);
        ok &= SaveShot(shown.Window(), folder, QStringLiteral("zakaznici-prohlizeni.png"));
        desk.findChild<QPushButton*>(QStringLiteral("BZmenit"))->click();
        ok &= SaveShot(shown.Window(), folder, QStringLiteral("zakaznici-zmena.png"));
        for (const QString& cut : CutCaptions(desk) + NarrowFields(desk))
            QTextStream(stdout) << "does not fit: " << cut << Qt::endl;
        TDialogHook answerNo;
        answerNo.Answer({TMsgResult::No});
        desk.CanLeave();
        desk.LeaveDesk();
    }
    {
        TFZakHistorie historie(context);
        historie.SetJmeno(QStringLiteral("Eva Malá"));
        historie.Load(45);
        historie.show();
        ok &= SaveShot(historie, folder, QStringLiteral("historie.png"));
    }
    {
        database.Exec(QStringLiteral("update SPEC_APP set MAIL_ODESLAT = 'info@videopujcovna-kino.cz'"));
        TFZakOdeslat odeslat(context);
        odeslat.SetZakaznik(QStringLiteral("Eva Malá"), 45);
        odeslat.show();
        ok &= SaveShot(odeslat, folder, QStringLiteral("odeslat.png"));
    }
    {
        TFZakPrukaz prukaz(
            {QStringLiteral("0501261012000045"), context.Pobocka().GetWeb(), context.Pobocka().GetJmeno()});
        prukaz.show();
        ok &= SaveShot(prukaz, folder, QStringLiteral("prukazka.png"));
    }
    {
        const QString mena = context.SpecCena().GetMena();
        TakeDeposit(context.Db(), {45, 500, QStringLiteral("Před první výpůjčkou"), user, mena});
        TakeDeposit(context.Db(), {45, 300, QStringLiteral("Na nové DVD"), user, mena});
        ReturnDeposit(context.Db(), {45, 200, QStringLiteral("Část vrácena"), user, mena});
        TFZakZalohy zalohy(context);
        zalohy.SetJmeno(QStringLiteral("Ing. Eva Malá"));
        zalohy.Load(45);
        zalohy.show();
        ok &= SaveShot(zalohy, folder, QStringLiteral("zalohy.png"));
        TFZakZalPrev prevzeti(context);
        prevzeti.SetZakaznik(45);
        prevzeti.show();
        ok &= SaveShot(prevzeti, folder, QStringLiteral("zalohy-prevzeti.png"));
        TFZakZalVrac vraceni(context);
        vraceni.SetZakaznik(45, zalohy.CurrentDeposit());
        vraceni.show();
        ok &= SaveShot(vraceni, folder, QStringLiteral("zalohy-vraceni.png"));
        for (const QWidget* dialog : std::initializer_list<const QWidget*>{&zalohy, &prevzeti, &vraceni})
            for (const QString& cut : CutCaptions(*dialog) + NarrowFields(*dialog))
                QTextStream(stdout) << "does not fit: " << cut << Qt::endl;
    }
    return ok ? 0 : 1;
}
