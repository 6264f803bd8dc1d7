#pragma once

#include "GlobDB.h"

#include <QDialog>

#include <optional>

class QGridLayout;
class QLineEdit;
class TAppContext;
class TMoxButton;
class TMoxCheckBox;
class TMoxEdit;

// What the three medium lookup dialogs share: the code field with "Hledej", the title found and
// its medium type, the confirming button and "Zavřít". Each search runs on the dialog's own read
// transaction, committed after every search and when the dialog goes.
class TFNosicHledani : public QDialog {
    Q_OBJECT
public:
    TFNosicHledani(TAppContext& context, const QString& caption, const QString& confirmCaption,
                   QWidget* parent);
    ~TFNosicHledani() override;
    Q_DISABLE_COPY_MOVE(TFNosicHledani)

    // Searches as if the clerk had typed the text and pressed "Hledej".
    void SearchFor(const QString& typed);

protected:
    // A code scanned into one of the dialog's own fields is a new search, never the field's data.
    void SearchOnScan(QLineEdit* field);

    // Looks the medium up; false when there is none. On success the dialog's own fields are
    // filled here, and the base fills the title's.
    struct TTitleShown {
        QString nazevCesky;
        QString nazevOrig;
        QString typNosice;
    };
    virtual std::optional<TTitleShown> Find(const QString& typed) = 0;
    // Runs after a successful search, with the shared fields already filled.
    virtual void Found() {}

    TAppContext& Context() { return context_; }
    TTransaction& Transaction() { return transaction_; }
    // The place between the title and the buttons where each dialog lays out its own fields.
    QGridLayout* Extra() { return extra_; }
    TMoxButton* Confirm() { return confirm_; }
    bool HasMedium() const { return hasMedium_; }

private:
    void Hledej();

    TAppContext& context_;
    TTransaction transaction_;
    TMoxEdit* eNosic_;
    TMoxButton* bHledej_;
    TMoxEdit* eNazev_;
    TMoxEdit* eNazevOrig_;
    TMoxCheckBox* chDvd_;
    TMoxCheckBox* chVhs_;
    QGridLayout* extra_;
    TMoxButton* confirm_;
    bool hasMedium_ = false;
};
