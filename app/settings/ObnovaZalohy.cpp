#include "ObnovaZalohy.h"

#include "DeskSurface.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxLabel.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QVBoxLayout>

TFObnovaZalohy::TFObnovaZalohy(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Obnovit ze zálohy"));
    SetDeskSurface(this);
    ESoubor = Named(new TMoxEdit(this), "ESoubor");
    ESoubor->setMinimumWidth(420);
    auto* browse = Named(new TMoxButton(QStringLiteral("..."), this), "BVybrat");
    auto* restore = Named(new TMoxButton(QStringLiteral("Obnovit ze zálohy"), this), "BObnovit");
    auto* close = Named(new TMoxButton(QStringLiteral("Zavřít"), this), "BZavrit");
    restore->setDefault(true);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file =
            QFileDialog::getOpenFileName(this, QStringLiteral("Úplná cesta k záložnímu souboru"),
                                         ESoubor->text(), QStringLiteral("Záloha (*.gbk);;*"));
        if (!file.isEmpty())
            ESoubor->setText(file);
    });
    connect(restore, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* path = new QHBoxLayout;
    path->addWidget(ESoubor, 1);
    path->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restore);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Caption(QStringLiteral("Úplná cesta k záložnímu souboru::"), ESoubor, this));
    layout->addLayout(path);
    layout->addLayout(buttons);
}

QString TFObnovaZalohy::BackupFile() const {
    return ESoubor->text().trimmed();
}
