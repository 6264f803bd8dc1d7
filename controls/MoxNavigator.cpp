#include "MoxNavigator.h"

#include "MoxButton.h"
#include "MoxGrid.h"

#include <QHBoxLayout>

namespace {

struct TLook {
    const char* name;
    const char* caption;
    const char* hint;
    void (TMoxGrid::*move)();
};

TLook Look(TMoxNavigator::TButton button) {
    using B = TMoxNavigator::TButton;
    switch (button) {
    case B::Prior:
        return {"nbPrior", "◄", "Předchozí záznam", &TMoxGrid::priorRow};
    case B::Next:
        return {"nbNext", "►", "Další záznam", &TMoxGrid::nextRow};
    case B::Insert:
        return {"nbInsert", "+", "Vložit záznam", &TMoxGrid::insertRow};
    case B::Delete:
        return {"nbDelete", "−", "Smazat záznam", &TMoxGrid::deleteRow};
    case B::Post:
        return {"nbPost", "✔", "Uložit záznam", &TMoxGrid::postRow};
    case B::Cancel:
        break;
    }
    return {"nbCancel", "✖", "Zrušit úpravy", &TMoxGrid::cancelRow};
}

} // namespace

TMoxNavigator::TMoxNavigator(TMoxGrid* grid, std::initializer_list<TButton> buttons, QWidget* parent)
    : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (const TButton button : buttons) {
        const TLook look = Look(button);
        auto* b = new TMoxButton(QString::fromUtf8(look.caption), this);
        b->setObjectName(QString::fromLatin1(look.name));
        b->setToolTip(QString::fromUtf8(look.hint));
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedWidth(28);
        connect(b, &QPushButton::clicked, grid, look.move);
        row->addWidget(b);
    }
    row->addStretch();
}
