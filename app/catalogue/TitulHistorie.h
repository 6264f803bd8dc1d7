#pragma once

#include <QDialog>

class TAppContext;
class TMemTable;
class TMoxGrid;
class TMoxLabel;

// The framed legend beside the media grids: "Nosič vyřazen." in red on white.
TMoxLabel* NewRetiredLegend(QWidget* parent);

// The history of one title: how each medium was used and every loan, newest first.
class TFTitulHistorie final : public QDialog {
    Q_OBJECT
public:
    explicit TFTitulHistorie(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFTitulHistorie)

    void SetName(const QString& name);
    // Reads both lists in the dialog's own transaction and shows the dialog modally.
    void ShowHistory(int kodTitul);
    // Reads both lists without showing the dialog.
    void Load(int kodTitul);

private:
    TAppContext& context_;
    TMemTable* nosice_;
    TMemTable* pujcky_;
    TMoxGrid* gridNosic_;
    TMoxGrid* gridPujcky_;
};
