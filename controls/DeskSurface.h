#pragma once

#include <QString>
#include <QStringList>

class QColor;
class QLineEdit;
class QWidget;
class TMoxCheckBox;
class TMoxGrid;
class TMoxLabel;
class TMemTable;

// What every desk and its dialogs share: the pale-green surface and controls known by name
// (the desks' tests and lookups address controls by their names).

// Gives the widget the desks' pale-green surface, painted behind its children.
void SetDeskSurface(QWidget* widget);

// One entry of a grid's colour legend: a framed label on white in the colour it explains.
TMoxLabel* Legend(const QString& text, const QColor& colour, QWidget* parent);

// The caption of a field; its mnemonic takes the focus to the field.
TMoxLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent);

// Names the control and hands it back, so that a control is made and named in one expression.
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The medium type as two radio choices carrying 'D' and 'V', named ChTypDVD and ChTypVHS; none is
// chosen until a title is shown.
void MakeMediumTypeChoices(TMoxCheckBox* dvd, TMoxCheckBox* vhs);

// Keeps the field at least as wide as the sample text, so that layouts never squeeze its content
// (a code, a date, an amount) out of sight.
void FitFieldTo(QLineEdit* field, const QString& sample);

// Lets a button of the shop's fixed design width narrow down to its caption when its row is short
// of room, instead of every button of the row being cut alike.
void LetNarrowToCaption(QWidget* button);

// A read-only list of the table's rows, chosen a whole row at a time.
TMoxGrid* ListGrid(const char* name, TMemTable* table, QWidget* parent);
// Names the table's columns in their order, as many as there are titles.
void SetColumnTitles(TMemTable* table, const QStringList& titles);
