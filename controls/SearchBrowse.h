#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QAbstractButton;
class QLabel;
class QLineEdit;

// The search row of a desk: a code field and a name field with "Hledej", and the browsing of a
// name search's result with "Předchozí" and "Následující", a filter label and a counter. The desk
// says how a code and a name are looked up and how a record is shown; the row asks the desk's
// unsaved-changes question before anything it finds replaces the record shown.
class TSearchBrowse final : public QObject {
    Q_OBJECT
public:
    struct TControls {
        QLineEdit* code;
        QLineEdit* name;
        QAbstractButton* search;
        QAbstractButton* previous;
        QAbstractButton* next;
        QLabel* filter;
        QLabel* counter;
        // Whether the browsing buttons are hidden, not only disabled, while no name search is open.
        bool hideButtonsWhenClosed = false;
        // Whether a new search asks the unsaved-changes question; the counter replaces its visit
        // without asking and asks only before browsing.
        bool askBeforeSearch = true;
    };
    struct THooks {
        // The unsaved-changes question; false keeps the record shown and the search fields.
        std::function<bool()> canLeave;
        // Shows the record of the code and returns true, or tells the clerk and returns false.
        std::function<bool(const QString& code)> findCode;
        // The keys of the records whose name matches, in their order.
        std::function<std::vector<int>(const QString& name)> findName;
        std::function<void(int key)> show;
        // Runs a clerk's action so that a failure is reported and the desk goes on.
        std::function<void(const std::function<void()>& action)> guard;
    };

    TSearchBrowse(const TControls& controls, THooks hooks, QObject* parent);
    Q_DISABLE_COPY_MOVE(TSearchBrowse)

    // "Hledej", also Enter in either search field.
    void Search();
    void Move(int step);
    // Ends the browsing: no result, no filter, no counter.
    void Close();

private:
    void ShowPosition();

    TControls controls_;
    THooks hooks_;
    std::vector<int> keys_;
    int position_ = -1;
};
