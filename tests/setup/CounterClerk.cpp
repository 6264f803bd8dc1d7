// A clerk at an installed counter, for the end-to-end test of the setup. Loaded into the installed
// program with LD_PRELOAD, it changes nothing of it: it waits for the windows a clerk sees and
// types and clicks into them, at a clerk's pace. One visit: log in as ADMIN, open the counter,
// read the customer's card (CINEMON_CLERK_CARD), lend the medium (CINEMON_CLERK_MEDIUM), pay,
// close the payment window and end the program. A window it waits for in vain, or a message it
// does not expect, is written to the standard error and ends the program with code 3.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int kKeyDelayMs = 30;     // typing speed
constexpr int kPollMs = 100;        // how often the clerk looks at the screen
constexpr int kPatienceMs = 120000; // how long the clerk waits for one window

struct TStep {
    const char* waitingFor;
    std::function<QWidget*()> ready; // the widget to act on once it is there
    std::function<void(QWidget*)> act;
    const char* message = nullptr; // the one message box this step expects
};

[[noreturn]] void GiveUp(const QString& why) {
    std::fprintf(stderr, "clerk: %s\n", why.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(3);
}

QWidget* Modal(const char* className) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal->isVisible() && qstrcmp(modal->metaObject()->className(), className) == 0 ? modal
                                                                                                    : nullptr;
}

template <typename T = QWidget> T* Enabled(QWidget* in, const char* name) {
    T* child = in ? in->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    return child && child->isVisible() && child->isEnabled() ? child : nullptr;
}

// A control of the main window while no dialog is open over it.
template <typename T = QWidget> T* OnMainWindow(const char* name) {
    if (QApplication::activeModalWidget())
        return nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && qstrcmp(window->metaObject()->className(), "TFMainCinemon") == 0)
            return Enabled<T>(window, name);
    }
    return nullptr;
}

void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void Type(QWidget* in, const char* field, const QString& text) {
    auto* edit = in->findChild<QLineEdit*>(QString::fromLatin1(field));
    edit->setFocus();
    // Whatever the field holds is typed over.
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text, {}, kKeyDelayMs);
}

// A message box the visit does not expect ends the visit with its text.
void CheckNoMessage(const char* expected) {
    QWidget* box = Modal("TFGlobDialog");
    if (!box)
        return;
    const auto* text = box->findChild<QLabel*>(QStringLiteral("LZprava"));
    const QString message = text ? text->text() : QString();
    if (!expected || message != QString::fromUtf8(expected))
        GiveUp(QStringLiteral("the program said: ") + message);
}

class TClerk {
public:
    TClerk(QString card, QString medium) : card_(std::move(card)), medium_(std::move(medium)) {
        steps_ = {
            {"the login", [] { return Modal("TFUzivPrihlaseni"); },
             [](QWidget* login) {
                 Type(login, "EUzivatel", QStringLiteral("ADMIN"));
                 Click(login->findChild<QWidget*>(QStringLiteral("BPrihlaseni")));
             }},
            {"the counter's menu button", [] { return OnMainWindow("BPujcky"); }, Click},
            {"the customer's card field", [] { return OnMainWindow("EHledejEAN"); },
             [this](QWidget* field) {
                 Type(field->window(), "EHledejEAN", card_);
                 QTest::keyClick(field, Qt::Key_Return);
             }},
            {"the customer at the counter", [] { return OnMainWindow("BPujcit"); }, Click},
            {"the lending window", [] { return Modal("TFNosicPujceni"); },
             [this](QWidget* dialog) {
                 Type(dialog, "ENosic", medium_);
                 QTest::keyClick(dialog->findChild<QWidget*>(QStringLiteral("ENosic")), Qt::Key_Return);
             }},
            {"the medium found", [] { return Enabled(Modal("TFNosicPujceni"), "BPotvrdit"); }, Click},
            {"payment", [] { return OnMainWindow("BZaplatit"); }, Click},
            {"the payment window", [] { return Modal("TFHotovost"); },
             [](QWidget* dialog) {
                 Type(dialog, "EZaplaceno", QStringLiteral("100"));
                 Click(dialog->findChild<QWidget*>(QStringLiteral("BZavrit")));
             }},
            {"the end button", [] { return OnMainWindow("BKonec"); }, Click},
            {"the question whether to end",
             [] {
                 QWidget* box = Modal("TFGlobDialog");
                 for (auto* button : box ? box->findChildren<QAbstractButton*>() : QList<QAbstractButton*>())
                     if (button->text().trimmed() == QStringLiteral("&Ano"))
                         return static_cast<QWidget*>(button);
                 return static_cast<QWidget*>(nullptr);
             },
             Click, "Opravdu ukončit aplikaci?"},
        };
    }

    void Look() {
        if (next_ == steps_.size())
            return;
        const TStep& step = steps_[next_];
        CheckNoMessage(step.message);
        if (QWidget* target = step.ready()) {
            ++next_;
            waited_ = 0;
            // Looked at again from inside the window this step opens, which runs its own loop.
            QTimer::singleShot(kPollMs, [this] { Look(); });
            step.act(target);
            return;
        }
        waited_ += kPollMs;
        if (waited_ > kPatienceMs)
            GiveUp(QStringLiteral("waited in vain for ") + QString::fromLatin1(step.waitingFor));
        QTimer::singleShot(kPollMs, [this] { Look(); });
    }

private:
    QString card_;
    QString medium_;
    std::vector<TStep> steps_;
    std::size_t next_ = 0;
    int waited_ = 0;
};

void StartClerk() {
    // Lives as long as the program.
    auto* clerk =
        new TClerk(qEnvironmentVariable("CINEMON_CLERK_CARD"), qEnvironmentVariable("CINEMON_CLERK_MEDIUM"));
    QTimer::singleShot(kPollMs, [clerk] { clerk->Look(); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(StartClerk)
