#include "SearchBrowse.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A desk around the search row: it counts the Enter keys that reach it and records what is shown.
class Desk : public QWidget {
public:
    QLineEdit* code = new QLineEdit(this);
    QLineEdit* name = new QLineEdit(this);
    QPushButton* search = new QPushButton(QStringLiteral("Hledej"), this);
    QPushButton* previous = new QPushButton(QStringLiteral("Předchozí"), this);
    QPushButton* next = new QPushButton(QStringLiteral("Následující"), this);
    QLabel* filter = new QLabel(this);
    QLabel* counter = new QLabel(this);
    TSearchBrowse* row;

    bool leave = true;
    int questions = 0;
    int entersSeen = 0;
    std::vector<int> shown;

    Desk()
        : row(new TSearchBrowse(
              {code, name, search, previous, next, filter, counter, true},
              {[this] {
                   ++questions;
                   return leave;
               },
               [this](const QString& typed) {
                   if (typed != QStringLiteral("42"))
                       return false;
                   shown.push_back(42);
                   return true;
               },
               [](const QString& typed) {
                   return typed == QStringLiteral("Nov") ? std::vector<int>{7, 8, 9} : std::vector<int>{};
               },
               [this](int key) { shown.push_back(key); },
               [](const std::function<void()>& action) { action(); }},
              this)) {
        show();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return)
            ++entersSeen;
    }
};

} // namespace

TEST(SearchBrowse, EnterSearchesAndStaysInTheField) {
    Desk desk;
    desk.code->setText(QStringLiteral("42"));
    QTest::keyClick(desk.code, Qt::Key_Return);
    EXPECT_EQ(desk.shown, std::vector<int>{42});
    EXPECT_EQ(desk.entersSeen, 0) << "the desk's own Enter rule must not press a second button";
    EXPECT_TRUE(desk.code->text().isEmpty());
    EXPECT_FALSE(desk.previous->isVisible()) << "no name search is open";
}

TEST(SearchBrowse, ANameResultIsBrowsedAfterTheQuestionAndClosedByAnEmptySearch) {
    Desk desk;
    desk.name->setText(QStringLiteral("Nov"));
    desk.search->click();
    EXPECT_EQ(desk.shown, std::vector<int>{7});
    EXPECT_EQ(desk.filter->text(), QStringLiteral("Několik záznamů odpovídá filtru \"Nov\"."));
    EXPECT_EQ(desk.counter->text(), QStringLiteral("1 / 3"));
    EXPECT_FALSE(desk.previous->isEnabled());
    desk.next->click();
    desk.next->click();
    EXPECT_EQ(desk.shown, (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(desk.counter->text(), QStringLiteral("3 / 3"));
    EXPECT_FALSE(desk.next->isEnabled());

    desk.leave = false; // the clerk keeps his unsaved changes
    desk.previous->click();
    EXPECT_EQ(desk.shown.back(), 9);

    const int asked = desk.questions;
    desk.search->click();
    EXPECT_EQ(desk.questions, asked) << "closing the result replaces nothing";
    EXPECT_TRUE(desk.filter->text().isEmpty());
    EXPECT_TRUE(desk.counter->text().isEmpty());
    EXPECT_FALSE(desk.previous->isVisible());
}

TEST(SearchBrowse, ANameBesideACodeNotFoundIsSearchedAndNothingFoundIsSaid) {
    Desk desk;
    desk.code->setText(QStringLiteral("999"));
    desk.name->setText(QStringLiteral("Xyz"));
    desk.search->click();
    EXPECT_TRUE(desk.shown.empty());
    EXPECT_EQ(desk.filter->text(), QStringLiteral("Nebyl nalezen žádný záznam."));
    EXPECT_EQ(desk.counter->text(), QStringLiteral("0 / 0"));
    EXPECT_EQ(desk.name->text(), QStringLiteral("Xyz")) << "the clerk may correct the name";
    EXPECT_TRUE(desk.previous->isVisible());
    EXPECT_FALSE(desk.previous->isEnabled());
}

// A name typed with markup is shown in the filter as the clerk typed it, not as formatted text.
TEST(SearchBrowse, AMarkedUpNameIsShownInTheFilterAsTyped) {
    QWidget desk;
    auto* code = new QLineEdit(&desk);
    auto* name = new QLineEdit(&desk);
    auto* search = new QPushButton(QStringLiteral("Hledej"), &desk);
    auto* previous = new QPushButton(QStringLiteral("Předchozí"), &desk);
    auto* next = new QPushButton(QStringLiteral("Následující"), &desk);
    auto* filter = new QLabel(&desk);
    auto* counter = new QLabel(&desk);
    TSearchBrowse row({code, name, search, previous, next, filter, counter},
                      {[] { return true; }, [](const QString&) { return false; },
                       [](const QString&) {
                           return std::vector<int>{1, 2};
                       },
                       [](int) {}, [](const std::function<void()>& action) { action(); }},
                      &desk);
    desk.show();
    name->setText(QStringLiteral("<b>Malá</b> &amp;"));
    row.Search();
    EXPECT_EQ(filter->text(), QStringLiteral("Několik záznamů odpovídá filtru \"<b>Malá</b> &amp;\"."));
    // The tags and the entity take their room on the screen; nothing turned bold or into "&".
    EXPECT_GE(filter->sizeHint().width(), filter->fontMetrics().horizontalAdvance(filter->text()) - 3);
}
