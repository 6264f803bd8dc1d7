#pragma once

#include "AppContext.h"
#include "Filmy.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxNumEdit.h"
#include "TestDatabase.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A titles desk on its own test database, shown offscreen, with the dialog hook installed.
class TitlesDesk : public DatabaseTest {
protected:
    TitlesDesk() {
        context.CurrentUser = {database.AdminKey(), QStringLiteral("ADMIN"), QStringLiteral("Správce"), u'A'};
        desk = std::make_unique<TFFilmy>(context, nullptr);
        desk->SetFileChooser([this](QWidget*, const QString&) { return nextFile; });
        desk->resize(1000, 720);
        desk->show();
        desk->ShowDesk();
    }

    template <typename T> T* Child(const char* name) const {
        T* widget = desk->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            ADD_FAILURE() << "no control " << name;
        return widget;
    }
    void Click(const char* name) { Child<TMoxButton>(name)->click(); }
    bool Enabled(const char* name) const { return Child<QWidget>(name)->isEnabled(); }
    void Type(const char* name, const QString& text) {
        auto* edit = Child<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        // Key by key with the character as text: Czech letters have no key code of their own.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    int Number(const char* name) const { return Child<TMoxNumEdit>(name)->valueInt(); }
    double Amount(const char* name) const { return Child<TMoxNumEdit>(name)->value(); }

    TMemTable& Media() const { return *qobject_cast<TMemTable*>(Child<TMoxGrid>("GridNosice")->model()); }
    // Types into a cell of the media grid as the clerk's editor does.
    void SetCell(int row, const char* column, const QVariant& value) {
        TMemTable& media = Media();
        media.setData(media.index(row, media.columnIndex(QString::fromLatin1(column))), value);
    }
    QVariant Cell(int row, const char* column) const {
        return Media().value(row, QString::fromLatin1(column));
    }
    void SelectMedium(int row) {
        auto* grid = Child<TMoxGrid>("GridNosice");
        grid->setCurrentIndex(grid->model()->index(row, 0));
    }

    // A new title filled in far enough to be saved without questions.
    void EnterNewTitle(const QString& name, double purchasePrice = 100) {
        Click("BNovyTitul");
        Type("ENazevCesky", name);
        Type("EEANKod", QStringLiteral("8594000000011"));
        Child<TMoxCheckBox>("ChTypDVD")->setChecked(true);
        Type("ECenaPujcka", QStringLiteral("35"));
        SetCell(0, "CENA_NAKUP", purchasePrice);
    }

    // A stored title with media as the desk would have written them; returns the title key.
    int StoreTitle(const QString& name, int media, const QString& original = {}) {
        const int key = Generated(&TDMGlobDB::GenKodTitul);
        database.Exec(
            QStringLiteral("insert into TITULY (KOD_TITUL, D_ZMENY, UZIV_ZMENA, EAN_KOD, NAZEV_CESKY, "
                           "NAZEV_ORIG, POCET_CELKEM, POCET_PRITOMNO, TYP_NOSICE, CENA_PUJCKA, FILM_ROK) "
                           "values (%1, CURRENT_TIMESTAMP, %2, '8590000%1', %3, %4, %5, %5, 'D', 40, 2001)")
                .arg(key)
                .arg(database.AdminKey())
                .arg(SqlText(name), SqlText(original))
                .arg(media));
        for (int i = 0; i < media; ++i)
            StoreMedium(key, Generated(&TDMGlobDB::GenKodNosic));
        return key;
    }
    void StoreMedium(int title, int medium, double price = 200) {
        database.Exec(
            QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP, D_PRIJMU, "
                           "UZIV_PRIJAL) values (%1, %2, '%3', %4, CURRENT_TIMESTAMP, %5)")
                .arg(medium)
                .arg(title)
                .arg(NewMediumCode(title, medium))
                .arg(FloatToSql(price))
                .arg(database.AdminKey()));
    }
    int Generated(int (TDMGlobDB::*generator)(TTransaction&)) {
        TTransaction transaction(db.DB);
        const int key = (db.*generator)(transaction);
        if (transaction.Active())
            transaction.Commit();
        return key;
    }
    int Count(const QString& sql) { return database.Scalar(sql).toInt(); }

    QString Jpeg(const QString& name, QColor colour = Qt::blue) {
        const QString path = files.filePath(name);
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(colour);
        picture.save(path, "JPG");
        return path;
    }

    TDialogHook hook;
    TAppContext context{database.ExecutablePath()};
    std::unique_ptr<TFFilmy> desk;
    QTemporaryDir files;
    QString nextFile; // what the file chooser answers
};
