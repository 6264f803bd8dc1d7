#include "VyberZdroje.h"

#include "MoxButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TFVyberZdroje::TFVyberZdroje(const std::vector<TScanSource>& sources, const QString& current, QWidget* parent)
    : QDialog(parent), sources_(sources), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("FVyberZdroje"));
    setWindowTitle(QStringLiteral("Výběr zdroje"));
    list_->setObjectName(QStringLiteral("ListZdroje"));
    for (const TScanSource& source : sources_) {
        list_->addItem(source.name + QStringLiteral(" – ") + source.description);
        if (source.name == current)
            list_->setCurrentRow(list_->count() - 1);
    }
    if (list_->currentRow() < 0 && list_->count() > 0)
        list_->setCurrentRow(0);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* vybrat = new TMoxButton(QStringLiteral("&Vybrat"), this);
    vybrat->setObjectName(QStringLiteral("BVybrat"));
    vybrat->setDefault(true);
    vybrat->setEnabled(!sources_.empty());
    connect(vybrat, &QPushButton::clicked, this, &QDialog::accept);
    auto* zavrit = new TMoxButton(QStringLiteral("Zavřít"), this);
    zavrit->setObjectName(QStringLiteral("BZavrit"));
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(vybrat);
    buttons->addWidget(zavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        sources_.empty() ? QStringLiteral("Nebyl nalezen žádný skener.") : QStringLiteral("Zdroje:"), this));
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
}

QString TFVyberZdroje::Chosen() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(sources_.size()))
        return {};
    return sources_[static_cast<std::size_t>(row)].name;
}
