#include "AppContext.h"
#include "DeskFit.h"
#include "Filmy.h"
#include "GlobFunc.h"
#include "MoxButton.h"
#include "NosicStitekDVD.h"
#include "NosicStitekVHS.h"
#include "TarnPageControl.h"
#include "TestDatabase.h"
#include "TitulHistorie.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QTextStream>

namespace {

QByteArray Jpeg(const QColor& from, const QColor& to, const QString& text) {
    QImage picture(300, 420, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 300, 420);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(picture.rect(), gradient);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(36);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(picture.rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG");
    return bytes;
}

// One title with its covers, a further picture, three media (one retired) and loans.
int FillCatalogue(TTestDatabase& database, int admin) {
    TDMGlobDB& db = database.Db();
    TTransaction tr(db.DB);
    tr.StartTransaction();
    const int title = db.GenKodTitul(tr);
    db.ExecSql(tr,
               QStringLiteral(
                   "insert into TITULY (KOD_TITUL, D_ZMENY, UZIV_ZMENA, EAN_KOD, NAZEV_CESKY, NAZEV_ORIG, "
                   "POCET_CELKEM, POCET_PRITOMNO, TYP_NOSICE, CENA_PUJCKA, POZNAMKY, FILM_ZANR, "
                   "FILM_REZIE, FILM_SCENAR, FILM_HRAJI, FILM_ROK, FILM_DELKA, FILM_PRISTUP, FILM_ZEME, "
                   "FILM_PRODUCENT, FILM_OBSAH, FILM_ZVUK, FILM_TITULKY, FILM_JAZYKY) values (%1, "
                   "CURRENT_TIMESTAMP, %2, '8594004450115', 'Pelíšky', 'Cosy Dens', 2, 1, 'D', 35, "
                   "'Sběratelská edice', 6, 'Jan Hřebejk', 'Petr Jarchovský', 'Miroslav Donutil, "
                   "Jiří Kodet, Simona Stašová, Bolek Polívka', 1999, 115, 12, 'Česko', 'Total HelpArt', "
                   "'Vánoce 1967 ve dvou pražských rodinách.', 3, 'AANA', 'A')")
                   .arg(title)
                   .arg(admin));
    db.ExecSqlBlob(tr,
                   QStringLiteral("update TITULY set OBAL_PRED = :OBAL_PRED where KOD_TITUL = %1").arg(title),
                   QStringLiteral("OBAL_PRED"),
                   Jpeg(QColor(30, 60, 150), QColor(200, 40, 40), QStringLiteral("Pelíšky")));
    db.ExecSqlBlob(tr, QStringLiteral("update TITULY set OBAL_ZA = :OBAL_ZA where KOD_TITUL = %1").arg(title),
                   QStringLiteral("OBAL_ZA"),
                   Jpeg(QColor(20, 20, 20), QColor(90, 90, 160), QStringLiteral("1999")));
    db.ExecSqlBlob(
        tr, QStringLiteral("insert into OBRAZKY (KOD_TITUL, OBRAZEK) values (%1, :OBRAZEK)").arg(title),
        QStringLiteral("OBRAZEK"), Jpeg(QColor(240, 200, 40), QColor(40, 140, 60), QStringLiteral("Scéna")));
    db.ExecSql(tr, QStringLiteral(
                       "insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, EAN_KOD) values (1, 'Jan', 'Novák', "
                       "'%1')")
                       .arg(NewCustomerCode(1)));
    const char* retired[] = {"null", "null", "'2026-11-02 10:00:00'"};
    for (int i = 0; i < 3; ++i) {
        const int medium = db.GenKodNosic(tr);
        db.ExecSql(tr, QStringLiteral(
                           "insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP, D_PRIJMU, "
                           "UZIV_PRIJAL, D_ZRUSENI, UZIV_ZRUSIL, DUVOD_ZRUSENI) values (%1, %2, '%3', 399, "
                           "'2026-01-15 09:00:00', %4, %5, %6, %7)")
                           .arg(medium)
                           .arg(title)
                           .arg(NewMediumCode(title, medium))
                           .arg(admin)
                           .arg(QString::fromLatin1(retired[i]))
                           .arg(i == 2 ? QString::number(admin) : QStringLiteral("null"))
                           .arg(i == 2 ? QStringLiteral("'Poškrábaný disk'") : QStringLiteral("null")));
        for (int loan = 0; loan <= i; ++loan)
            db.ExecSql(tr, QStringLiteral(
                               "insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, CENA_PUJCKA, "
                               "D_VRACENI, INFO_VRACENI) values (%1, %2, 1, '2026-0%3-10 15:00:00', %4, %5, "
                               "%6)")
                               .arg(title)
                               .arg(medium)
                               .arg(loan + 2 + i)
                               .arg(30 + 15 * loan)
                               .arg(i == 0 ? QStringLiteral("null")
                                           : QStringLiteral("'2026-0%1-12 10:00:00'").arg(loan + 2 + i))
                               .arg(i == 1 ? QStringLiteral("'Vráceno včas'") : QStringLiteral("null")));
    }
    tr.Commit();
    return title;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: cinemon_catalogue_screenshots <folder>" << Qt::endl;
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("."));

    TTestDatabase database;
    TAppContext context(database.ExecutablePath());
    const int admin =
        database.Scalar(QStringLiteral("select KOD_UZIV from UZIVATELE where UZIVATEL = 'ADMIN'")).toInt();
    int title = 0;

    {
        // The desk as the clerk first sees it: in the main window at the size it opens at.
        TDeskInMainWindow shown(context, TMenuButton::Filmy, MakeDesk<TFFilmy>);
        // Filled once logged in: the sample's past loans would otherwise ask for a daily close.
        title = FillCatalogue(database, admin);
        TDesk& desk = *shown.Desk();
        desk.OpenRecord(title);
        auto* pages = desk.findChild<TTarnPageControl*>(QStringLiteral("PageControl"));
        const char* names[] = {"filmy-titul", "filmy-popis", "filmy-obrazky"};
        for (int page = 0; page < 3; ++page) {
            pages->setCurrentIndex(page);
            shown.Settle();
            for (const QString& cut : CutCaptions(desk) + NarrowFields(desk) + NarrowColumns(desk))
                out << "does not fit: " << cut << Qt::endl;
            SaveShotsAtBothSizes(shown, folder, QString::fromLatin1(names[page]));
        }
        pages->setCurrentIndex(0);
        desk.findChild<QLineEdit*>(QStringLiteral("EHledejNazev"))->setText(QStringLiteral("Pel"));
        desk.findChild<TMoxButton*>(QStringLiteral("BHledej"))->click();
        shown.Settle();
        for (const QString& cut : CutCaptions(desk) + NarrowFields(desk))
            out << "does not fit: " << cut << Qt::endl;
        SaveShot(shown.Window(), folder, QStringLiteral("filmy-hledani.png"));
        desk.findChild<TMoxButton*>(QStringLiteral("BZmenitTitul"))->click();
        desk.findChild<TMoxButton*>(QStringLiteral("BObrSmazat"))->click();
        SaveShot(shown.Window(), folder, QStringLiteral("filmy-obrazky-smazany.png"));
        TDialogHook answerNo;
        answerNo.Answer({TMsgResult::No});
        desk.CanLeave();
        desk.LeaveDesk();
    }

    const QString code = NewMediumCode(title, 123);
    TFNosicStitekVHS vhs;
    vhs.SetTitleText(QStringLiteral("Pelíšky\r(Cosy Dens)"));
    vhs.SetCode(code);
    SaveShot(vhs, folder, QStringLiteral("stitek-vhs.png"));
    TFNosicStitekDVD dvd;
    dvd.SetTitleText(QStringLiteral("Pelíšky\r(Cosy Dens)"));
    dvd.SetCode(code);
    SaveShot(dvd, folder, QStringLiteral("stitek-dvd.png"));

    TFTitulHistorie history(context, nullptr);
    history.SetName(QStringLiteral("Pelíšky"));
    history.Load(title);
    SaveShot(history, folder, QStringLiteral("titul-historie.png"));
    return 0;
}
