#include "TarnPageControl.h"

#include "MoxColors.h"

#include <QEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

namespace {

class TarnTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        // Room for the deeper indent of the active tab.
        return QTabBar::tabSizeHint(index) + QSize(2, 0);
    }

    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        const QColor caption = isEnabled() ? MoxColors::Text : MoxColors::DisabledText;
        for (int index = 0; index < count(); ++index) {
            if (index == currentIndex())
                continue;
            paintTab(painter, index, caption);
        }
        if (currentIndex() >= 0)
            paintTab(painter, currentIndex(), caption);
    }

private:
    void paintTab(QStylePainter& painter, int index, const QColor& caption) {
        QStyleOptionTab option;
        initStyleOption(&option, index);
        const QString text = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTab, option);
        const int indent = index == currentIndex() ? 5 : 3;
        painter.setPen(caption);
        painter.drawText(option.rect.adjusted(indent, 3, 0, 0),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, text);
    }
};

} // namespace

TTarnPageControl::TTarnPageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new TarnTabBar(this));
}

void TTarnPageControl::changeEvent(QEvent* event) {
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        tabBar()->update();
}
