#include "DeskSurface.h"

#include "MemTable.h"
#include "MoxCheckBox.h"
#include "MoxColors.h"
#include "MoxGrid.h"
#include "MoxLabel.h"

#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>

void SetDeskSurface(QWidget* widget) {
    QPalette surface = widget->palette();
    surface.setColor(QPalette::Window, MoxColors::PaleGreen);
    widget->setPalette(surface);
    widget->setAutoFillBackground(true);
}

TMoxLabel* Legend(const QString& text, const QColor& colour, QWidget* parent) {
    auto* label = new TMoxLabel(text, parent);
    label->setFramed(true);
    label->setFrameColor(colour);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

void FitFieldTo(QLineEdit* field, const QString& sample) {
    QStyleOptionFrame option;
    option.initFrom(field);
    const QMargins margins = field->textMargins();
    const int frame =
        field->hasFrame() ? 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    // QLineEdit keeps a few pixels beside the text on either side.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(sample) + margins.left() + margins.right() +
                           frame + 6);
}

void LetNarrowToCaption(QWidget* button) {
    button->setSizePolicy(QSizePolicy::Preferred, button->sizePolicy().verticalPolicy());
}

void MakeMediumTypeChoices(TMoxCheckBox* dvd, TMoxCheckBox* vhs) {
    Named(dvd, "ChTypDVD")->setValueChecked(QStringLiteral("D"));
    Named(vhs, "ChTypVHS")->setValueChecked(QStringLiteral("V"));
    for (TMoxCheckBox* choice : {dvd, vhs}) {
        choice->setCheckStyle(csRadioButton);
        choice->setGrouped(true);
        choice->setAllowAllUnchecked(true);
    }
}

TMoxLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new TMoxLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

TMoxGrid* ListGrid(const char* name, TMemTable* table, QWidget* parent) {
    auto* grid = Named(new TMoxGrid(parent), name);
    grid->setModel(table);
    grid->setReadOnly(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    return grid;
}

void SetColumnTitles(TMemTable* table, const QStringList& titles) {
    const QStringList columns = table->columns();
    for (int i = 0; i < titles.size(); ++i)
        table->setColumnTitle(columns.at(i), titles.at(i));
}
