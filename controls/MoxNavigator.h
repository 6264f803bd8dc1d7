#pragma once

#include <QWidget>

#include <initializer_list>

class TMoxGrid;

// The row of buttons under an editable grid: move to the previous or next row, insert a row,
// delete it, post it, cancel its editing. The buttons take no focus, so a cell being typed in
// stays open until post or cancel decides about it.
class TMoxNavigator final : public QWidget {
    Q_OBJECT

public:
    enum class TButton { Prior, Next, Insert, Delete, Post, Cancel };

    TMoxNavigator(TMoxGrid* grid, std::initializer_list<TButton> buttons, QWidget* parent = nullptr);
};
