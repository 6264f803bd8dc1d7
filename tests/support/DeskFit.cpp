#include "DeskFit.h"

#include "MemTable.h"
#include "MoxCheckBox.h"
#include "MoxGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTextStream>

#include <stdexcept>

namespace {

// The caption as drawn: without the mnemonic marks.
QString Drawn(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

QString Describe(const QWidget& widget, const QString& text, int width, int needed) {
    return QStringLiteral("%1 (%2) '%3': %4 < %5")
        .arg(widget.objectName(), QString::fromLatin1(widget.metaObject()->className()), text)
        .arg(width)
        .arg(needed);
}

// The width a caption needs in its control, or 0 when the control has no one-line caption.
int Needed(const QWidget& widget, QString& text, int& available) {
    available = widget.width();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->wordWrap() || !label->pixmap().isNull() || label->textFormat() == Qt::RichText)
            return 0;
        text = label->text();
        if (text.isEmpty() || text.contains(u'\n') || Qt::mightBeRichText(text))
            return 0;
        available = label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
        // Only a label with a buddy turns "&" into a mnemonic.
        return label->fontMetrics().horizontalAdvance(label->buddy() ? Drawn(text) : text);
    }
    if (const auto* box = qobject_cast<const TMoxCheckBox*>(&widget)) {
        text = box->text();
        if (text.isEmpty())
            return 0;
        return box->checkSize() + box->spacing() + box->fontMetrics().horizontalAdvance(Drawn(text));
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        text = button->text();
        if (text.isEmpty())
            return 0;
        const int caption = button->fontMetrics().horizontalAdvance(Drawn(text));
        if (qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button)) {
            const QStyle* style = button->style();
            return caption + style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                   style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
        }
        // A push button's face has a frame on either side.
        return caption + 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button) + 2;
    }
    return 0;
}

template <typename Check> QStringList Collect(const QWidget& root, Check check) {
    QStringList found;
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        // Dialogs of the desk are windows of their own; only what the desk shows counts.
        if (!widget->isVisibleTo(&root) || widget->isWindow() || widget->window() != root.window())
            continue;
        check(*widget, found);
    }
    return found;
}

TMemTable::ColumnKind Kind(const TMoxGrid& grid, int column) {
    return static_cast<TMemTable::ColumnKind>(
        grid.model()->headerData(column, Qt::Horizontal, TMemTable::KindRole).toInt());
}

QString Title(const TMoxGrid& grid, int column) {
    return grid.model()->headerData(column, Qt::Horizontal).toString();
}

// Calls the check with every column shown by a visible grid under the root.
template <typename Check> void EveryColumn(const QWidget& root, Check check) {
    for (const TMoxGrid* grid : root.findChildren<TMoxGrid*>())
        if (grid->isVisibleTo(&root) && grid->model())
            for (int column = 0; column < grid->model()->columnCount(); ++column)
                if (!grid->isColumnHidden(column))
                    check(*grid, column);
}

// The width the column needs for its title and, in a code or name column, for its cells' texts.
int NeededWidth(const TMoxGrid& grid, int column) {
    const QHeaderView& header = *grid.horizontalHeader();
    const QStyle& style = *grid.style();
    int needed = header.fontMetrics().horizontalAdvance(Title(grid, column)) +
                 2 * style.pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    if (header.isSortIndicatorShown() && header.sortIndicatorSection() == column)
        needed += style.pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, &header) +
                  style.pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    const TMemTable::ColumnKind kind = Kind(grid, column);
    if (kind == TMemTable::ColumnKind::Plain)
        return needed;
    // A cell keeps a margin on either side of its text.
    const int margins = 2 * (style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
    if (kind == TMemTable::ColumnKind::Code)
        needed = std::max(needed, grid.fontMetrics().horizontalAdvance(QString(16, u'0')) + margins);
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        needed = std::max(
            needed, grid.fontMetrics().horizontalAdvance(grid.model()->index(row, column).data().toString()) +
                        margins);
    return needed;
}

} // namespace

TDeskInMainWindow::TDeskInMainWindow(TAppContext& context, TMenuButton button, TDeskFactory desk) {
    TStartupEnv env;
    env.SplashPause = {};
    TDeskFactories desks;
    desks[button] = std::move(desk);
    window_ = std::make_unique<TFMainCinemon>(context, std::move(desks), env);
    window_->resize(window_->minimumSize());
    window_->show();
    hook_.Script([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(QStringLiteral("ADMIN"));
        dialog.findChild<QLineEdit*>(QStringLiteral("EHeslo"))->clear();
        dialog.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
    });
    window_->FirstActivation();
    window_->ClickMenu(button);
    if (!Desk())
        throw std::runtime_error(
            "The desk did not open; messages: " +
            QStringList(hook_.Texts().begin(), hook_.Texts().end()).join(u'|').toStdString());
    if (Desk())
        Desk()->setFocus();
    Settle();
}

void TDeskInMainWindow::Settle() {
    window_->resize(maximised_ ? kMaximised : window_->minimumSize());
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

QStringList CutCaptions(const QWidget& root) {
    return Collect(root, [](const QWidget& widget, QStringList& found) {
        QString text;
        int available = 0;
        const int needed = Needed(widget, text, available);
        if (needed > 0 && available < needed)
            found.append(Describe(widget, text, available, needed));
    });
}

void TDeskInMainWindow::SetMaximised(bool maximised) {
    maximised_ = maximised;
    Settle();
}

QStringList NarrowColumns(const QWidget& root) {
    QStringList found;
    EveryColumn(root, [&found](const TMoxGrid& grid, int column) {
        const int width = grid.columnWidth(column);
        const int needed = NeededWidth(grid, column);
        if (width < needed)
            found.append(Describe(grid, Title(grid, column), width, needed));
    });
    return found;
}

QHash<QString, int> NameColumnWidths(const QWidget& root) {
    QHash<QString, int> widths;
    EveryColumn(root, [&widths](const TMoxGrid& grid, int column) {
        if (Kind(grid, column) == TMemTable::ColumnKind::Name)
            widths.insert(grid.objectName() + u'/' + Title(grid, column), grid.columnWidth(column));
    });
    return widths;
}

bool SaveShotsAtBothSizes(TDeskInMainWindow& shown, const QDir& folder, const QString& name) {
    shown.SetMaximised(false);
    bool saved = SaveShot(shown.Window(), folder, name + QStringLiteral(".png"));
    shown.SetMaximised(true);
    saved = SaveShot(shown.Window(), folder, name + QStringLiteral("-maximised.png")) && saved;
    shown.SetMaximised(false);
    return saved;
}

QStringList NarrowFields(const QWidget& root) {
    return Collect(root, [](const QWidget& widget, QStringList& found) {
        const auto* edit = qobject_cast<const QLineEdit*>(&widget);
        if (!edit || edit->text().isEmpty() || edit->echoMode() != QLineEdit::Normal)
            return;
        QStyleOptionFrame option;
        option.initFrom(edit);
        const QMargins margins = edit->textMargins();
        const int frame = edit->hasFrame()
                              ? 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                              : 0;
        // QLineEdit keeps a few pixels on either side of the text.
        const int needed = edit->fontMetrics().horizontalAdvance(edit->text()) + margins.left() +
                           margins.right() + frame + 4;
        if (edit->width() < needed)
            found.append(Describe(widget, edit->text(), edit->width(), needed));
    });
}

bool SaveShot(QWidget& widget, const QDir& folder, const QString& name) {
    widget.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const QString path = folder.filePath(name);
    const bool saved = widget.grab().save(path);
    QTextStream(stdout) << (saved ? "wrote " : "cannot write ") << path << Qt::endl;
    return saved;
}
