#include "MoxGrid.h"
#include "MemTable.h"
#include "MoxNavigator.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Desk {
    QWidget window;
    TMemTable table{{QStringLiteral("NAZEV"), QStringLiteral("CENA"), QStringLiteral("KOD_NOSIC")}};
    TMoxGrid* grid = new TMoxGrid(&window);
    QPushButton* elsewhere = new QPushButton(QStringLiteral("Zaplatit"), &window);

    Desk() {
        table.setColumnTitle(QStringLiteral("NAZEV"), QStringLiteral("Název"));
        table.setRows({{QStringLiteral("Alien"), 30.0, 1},
                       {QStringLiteral("Brazil"), 25.0, 2},
                       {QStringLiteral("Cube"), 20.0, 3}});
        grid->setModel(&table);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        layout->addWidget(elsewhere);
        window.resize(500, 300);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
    }

    void clickTitle(int column) {
        QHeaderView* header = grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    // The colour of a cell away from its text and focus frame.
    QColor cellColour(int row, int column) {
        const QRect cell = grid->visualRect(table.index(row, column));
        return grid->viewport()->grab().toImage().pixelColor(cell.right() - 3, cell.bottom() - 3);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(grid, key, modifiers); }
};

} // namespace

TEST(MoxGrid, TitleClicksRequestSortingWithoutReordering) {
    Desk desk;
    QSignalSpy requests(desk.grid, &TMoxGrid::sortingChanged);
    std::vector<QString> seen;
    for (int column : {0, 0, 0, 1, 1, 0}) {
        desk.clickTitle(column);
        seen.push_back(desk.grid->sorting());
    }
    EXPECT_EQ(seen, (std::vector<QString>{u"NAZEV ASC"_s, u"NAZEV DESC"_s, u"NAZEV ASC"_s, u"CENA ASC"_s,
                                          u"CENA DESC"_s, u"NAZEV ASC"_s}));
    ASSERT_EQ(requests.count(), 6);
    EXPECT_EQ(requests.at(3).at(0).toString(), QStringLiteral("CENA ASC"));
    EXPECT_EQ(requests.at(3).at(1).toInt(), 1);
    EXPECT_EQ(desk.table.value(0, QStringLiteral("NAZEV")).toString(), QStringLiteral("Alien"));
    EXPECT_EQ(desk.table.value(2, QStringLiteral("NAZEV")).toString(), QStringLiteral("Cube"));
}

TEST(MoxGrid, AColumnWithoutAFieldNameRequestsNoSorting) {
    Desk desk;
    QStandardItemModel captions(2, 2);
    captions.setHorizontalHeaderLabels({QStringLiteral("Název"), QStringLiteral("Cena")});
    desk.grid->setModel(&captions);
    QSignalSpy requests(desk.grid, &TMoxGrid::sortingChanged);
    desk.clickTitle(0);
    EXPECT_EQ(requests.count(), 0) << "a caption is no column to sort a statement by";
    EXPECT_TRUE(desk.grid->sorting().isEmpty());
}

TEST(MoxGrid, SortMarkOnlyWhileSomeoneListens) {
    Desk desk;
    QHeaderView* header = desk.grid->horizontalHeader();
    desk.clickTitle(1);
    EXPECT_EQ(desk.grid->sorting(), QStringLiteral("CENA ASC"));
    EXPECT_FALSE(header->isSortIndicatorShown());

    const auto connection = QObject::connect(desk.grid, &TMoxGrid::sortingChanged, [] {});
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    desk.clickTitle(1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    desk.grid->setSorting(QStringLiteral("NAZEV ASC"));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);

    QObject::disconnect(connection);
    QCoreApplication::processEvents();
    EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST(MoxGrid, OwnerColoursCellsThenEditTintsApply) {
    Desk desk;
    std::vector<TMoxCellParams> asked;
    desk.grid->setOnGetCellParams([&asked](TMoxCellParams& cell) {
        asked.push_back(cell);
        if (cell.field == QStringLiteral("CENA") && cell.value.toDouble() < 25)
            cell.background = QColor(255, 128, 128);
    });
    desk.grid->setCurrentIndex(desk.table.index(0, 0));
    EXPECT_EQ(desk.cellColour(2, 1), QColor(255, 128, 128));
    EXPECT_EQ(desk.cellColour(1, 1), QColor(255, 255, 255));
    EXPECT_EQ(desk.cellColour(0, 1), QColor(255, 255, 255)); // not editable: no tints
    const auto nazev = std::find_if(asked.begin(), asked.end(),
                                    [](const TMoxCellParams& c) { return c.row == 1 && c.column == 0; });
    ASSERT_NE(nazev, asked.end());
    EXPECT_EQ(nazev->field, QStringLiteral("NAZEV"));
    EXPECT_EQ(nazev->value.toString(), QStringLiteral("Brazil"));
    EXPECT_FALSE(nazev->highlighted);

    desk.table.setColumnReadOnly(QStringLiteral("KOD_NOSIC"), true);
    desk.grid->setEditTriggers(QAbstractItemView::DoubleClicked);
    desk.grid->viewport()->update();
    EXPECT_EQ(desk.cellColour(1, 2), QColor(208, 224, 240)); // read-only column
    EXPECT_EQ(desk.cellColour(0, 1), QColor(255, 255, 224)); // current row
    EXPECT_EQ(desk.cellColour(0, 2), QColor(208, 224, 209)); // both
    EXPECT_EQ(desk.cellColour(2, 1), QColor(255, 128, 128)); // owner's colour on a writable column
}

TEST(MoxGrid, ReadOnlyAndDisabledGridColours) {
    Desk desk;
    desk.grid->setEditTriggers(QAbstractItemView::DoubleClicked);
    desk.grid->setReadOnly(true);
    desk.grid->setCurrentIndex(desk.table.index(0, 0));
    EXPECT_EQ(desk.cellColour(0, 1), QColor(255, 255, 255));
    desk.grid->setEnabled(false);
    EXPECT_EQ(desk.cellColour(1, 1), QColor(208, 208, 208));
    EXPECT_EQ(desk.grid->palette().color(QPalette::Text), QColor(128, 128, 128));
    desk.grid->setEnabled(true);
    EXPECT_EQ(desk.cellColour(1, 1), QColor(255, 255, 255));
    EXPECT_EQ(desk.grid->horizontalHeader()->palette().color(QPalette::Button), QColor(226, 241, 226));
}

TEST(MoxGrid, GuardRefusesClerksInsertAndDelete) {
    Desk desk;
    desk.grid->setEditTriggers(QAbstractItemView::AnyKeyPressed);
    int asked = 0;
    desk.grid->setDeleteConfirmation([&asked] { return ++asked, true; });
    desk.grid->setCurrentIndex(desk.table.index(1, 0));
    desk.key(Qt::Key_Insert);
    desk.key(Qt::Key_Delete, Qt::ControlModifier);
    desk.grid->setCurrentIndex(desk.table.index(2, 0));
    desk.key(Qt::Key_Down);
    EXPECT_EQ(desk.table.rowCount(), 3);
    EXPECT_EQ(asked, 0);

    desk.table.appendRecord({QStringLiteral("Dune"), 35.0, 4}); // the program is never refused
    desk.table.deleteRecord(0);
    EXPECT_EQ(desk.table.rowCount(), 3);
}

TEST(MoxGrid, AllowedInsertKeepsOnlyFilledRows) {
    Desk desk;
    desk.table.setUserInsertAllowed(true);
    desk.grid->setEditTriggers(QAbstractItemView::AnyKeyPressed);
    desk.grid->setCurrentIndex(desk.table.index(1, 0));
    desk.key(Qt::Key_Insert);
    ASSERT_EQ(desk.table.rowCount(), 4);
    EXPECT_EQ(desk.grid->currentIndex().row(), 1);
    EXPECT_EQ(desk.table.currentRow(), 1);
    desk.key(Qt::Key_Up); // leaving the empty row drops it
    EXPECT_EQ(desk.table.rowCount(), 3);

    desk.grid->setCurrentIndex(desk.table.index(2, 0));
    desk.key(Qt::Key_Down); // past the last row appends
    ASSERT_EQ(desk.table.rowCount(), 4);
    QTest::keyClick(desk.grid, 'E'); // typing opens the cell's editor
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("raserhead"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    desk.key(Qt::Key_Up);
    ASSERT_EQ(desk.table.rowCount(), 4);
    EXPECT_EQ(desk.table.value(3, QStringLiteral("NAZEV")).toString(), QStringLiteral("Eraserhead"));

    desk.key(Qt::Key_Insert);
    desk.elsewhere->setFocus(); // leaving the grid drops it as well
    EXPECT_EQ(desk.table.rowCount(), 4);

    desk.grid->setFocus();
    desk.key(Qt::Key_Insert);
    desk.key(Qt::Key_Escape);
    EXPECT_EQ(desk.table.rowCount(), 4);
}

TEST(MoxGrid, AllowedDeleteAsksFirst) {
    Desk desk;
    desk.table.setUserDeleteAllowed(true);
    bool answer = false;
    desk.grid->setDeleteConfirmation([&answer] { return answer; });
    desk.grid->setCurrentIndex(desk.table.index(1, 0));
    desk.key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(desk.table.rowCount(), 3);
    answer = true;
    desk.key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(desk.table.rowCount(), 2);
    EXPECT_EQ(desk.table.field(QStringLiteral("NAZEV")).toString(), QStringLiteral("Cube"));
    EXPECT_EQ(desk.grid->currentIndex().row(), 1);

    desk.grid->setReadOnly(true);
    desk.key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(desk.table.rowCount(), 2);
}

TEST(MoxGrid, GridAndTableShareTheCurrentRow) {
    Desk desk;
    EXPECT_EQ(desk.grid->currentIndex().row(), 0);
    desk.table.setCurrentRow(2);
    EXPECT_EQ(desk.grid->currentIndex().row(), 2);
    desk.key(Qt::Key_Up);
    EXPECT_EQ(desk.table.currentRow(), 1);
    EXPECT_EQ(desk.table.field(QStringLiteral("NAZEV")).toString(), QStringLiteral("Brazil"));
    desk.table.appendRecord({QStringLiteral("Dune")});
    EXPECT_EQ(desk.grid->currentIndex().row(), 3);
}

TEST(MoxGrid, ClerkEditsByKeysAndDoubleClickAndTheNavigatorPostsAndCancels) {
    Desk desk;
    desk.table.setColumnDecimals(QStringLiteral("CENA"), 2);
    desk.table.setUserInsertAllowed(true);
    desk.table.setUserDeleteAllowed(true);
    desk.grid->setDeleteConfirmation([] { return true; });
    desk.grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    using B = TMoxNavigator::TButton;
    auto* navigator = new TMoxNavigator(
        desk.grid, {B::Prior, B::Next, B::Insert, B::Delete, B::Post, B::Cancel}, &desk.window);
    desk.window.layout()->addWidget(navigator);
    const auto button = [&](const char* name) {
        auto* b = navigator->findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    };
    const auto typeInCell = [](const QString& text) {
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
    };

    desk.key(Qt::Key_F2); // F2 opens the name with its text

    typeInCell(QStringLiteral("Aliens"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCoreApplication::processEvents(); // Return writes the cell from the event loop
    EXPECT_EQ(desk.table.value(0, QStringLiteral("NAZEV")).toString(), QStringLiteral("Aliens"));

    button("nbNext");
    desk.key(Qt::Key_Right);
    QTest::keyClick(desk.grid, '2'); // typing over a price, in the shop's decimal comma
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7,5"));
    button("nbPost");
    EXPECT_DOUBLE_EQ(desk.table.value(1, QStringLiteral("CENA")).toDouble(), 27.5);
    EXPECT_EQ(desk.table.data(desk.table.index(1, 1)).toString(), QStringLiteral("27,50"));

    // A double click as the window system delivers it: a click, then the second press.
    const QPoint cube = desk.grid->visualRect(desk.table.index(2, 0)).center();
    QTest::mouseClick(desk.grid->viewport(), Qt::LeftButton, {}, cube);
    QTest::mouseDClick(desk.grid->viewport(), Qt::LeftButton, {}, cube);
    QTest::mouseRelease(desk.grid->viewport(), Qt::LeftButton, {}, cube);
    typeInCell(QStringLiteral("Cube 2"));
    button("nbPost");
    EXPECT_EQ(desk.table.value(2, QStringLiteral("NAZEV")).toString(), QStringLiteral("Cube 2"));
    desk.key(Qt::Key_F2);
    typeInCell(QStringLiteral("Cube 3"));
    button("nbCancel"); // the open cell is dropped
    EXPECT_EQ(desk.table.value(2, QStringLiteral("NAZEV")).toString(), QStringLiteral("Cube 2"));

    button("nbPrior");
    EXPECT_EQ(desk.table.currentRow(), 1);
    button("nbInsert");
    ASSERT_EQ(desk.table.rowCount(), 4);
    button("nbCancel"); // an untouched new row goes
    EXPECT_EQ(desk.table.rowCount(), 3);
    button("nbInsert");
    desk.grid->setCurrentIndex(desk.table.index(1, 1));
    QTest::keyClick(desk.grid, '9');
    button("nbPost");
    ASSERT_EQ(desk.table.rowCount(), 4);
    EXPECT_DOUBLE_EQ(desk.table.value(1, QStringLiteral("CENA")).toDouble(), 9);
    button("nbDelete");
    EXPECT_EQ(desk.table.rowCount(), 3);
    EXPECT_EQ(desk.table.value(1, QStringLiteral("NAZEV")).toString(), QStringLiteral("Brazil"));
}

// The columns fit their rows and the name column takes the room left; an edge the clerk dragged
// stays where the clerk left it when the rows change.
TEST(MoxGrid, ANameColumnTakesTheRoomLeftAndAColumnTheClerkResizedKeepsItsWidth) {
    Desk desk;
    QHeaderView* header = desk.grid->horizontalHeader();
    const auto filled = [&] {
        QApplication::processEvents();
        return header->length() == desk.grid->viewport()->width();
    };
    ASSERT_TRUE(filled());
    EXPECT_GT(header->sectionSize(0), header->sectionSize(2));
    const int edge = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    const int fitted = header->sectionSize(1);
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), QPoint(edge + 40, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 40, y));
    EXPECT_EQ(header->sectionSize(1), fitted + 40);
    desk.table.appendRecord({QStringLiteral("Dune"), 15.0, 4});
    EXPECT_TRUE(filled());
    EXPECT_EQ(header->sectionSize(1), fitted + 40);
}
