#include "About.h"

#include "ShellRules.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* Link(const QString& text, const QUrl& url, QWidget* parent) {
    auto* label =
        new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toString(), text.toHtmlEscaped()), parent);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    QObject::connect(label, &QLabel::linkActivated, label,
                     [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    return label;
}

} // namespace

TFAbout::TFAbout(QWidget* parent, bool splash) : QDialog(parent) {
    setWindowTitle(QStringLiteral("O programu"));
    setObjectName(QStringLiteral("FAbout"));
    auto* layout = new QVBoxLayout(this);

    auto* info = new QWidget(this);
    info->setAutoFillBackground(true);
    info->setStyleSheet(QStringLiteral("background: #E6FFE6;"));
    auto* infoLayout = new QVBoxLayout(info);
    auto* kind = new QLabel(QStringLiteral("Videopůjčovna"), info);
    auto* product = new QLabel(QStringLiteral("Cinemon"), info);
    QFont big = product->font();
    big.setPointSize(20);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(QStringLiteral("verze: ") + ProgramVersion(), info);
    version->setObjectName(QStringLiteral("LVerze"));
    infoLayout->addWidget(kind);
    infoLayout->addWidget(product);
    infoLayout->addWidget(version);
    infoLayout->addWidget(new QLabel(QStringLiteral("Program pro videopůjčovny"), info));
    infoLayout->addWidget(new QLabel(QStringLiteral("© tým Cinemon"), info));
    infoLayout->addWidget(Link(WebAddress(), QUrl(QStringLiteral("http://") + WebAddress()), info));
    infoLayout->addWidget(Link(MailAddress(), QUrl(QStringLiteral("mailto:") + MailAddress()), info));
    layout->addWidget(info);

    waitPanel_ = new QWidget(this);
    auto* waitLayout = new QHBoxLayout(waitPanel_);
    auto* picture = new QLabel(waitPanel_);
    picture->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(32, 32));
    status_ = new QLabel(QStringLiteral("Spouštím aplikaci..."), waitPanel_);
    status_->setObjectName(QStringLiteral("LStatus"));
    waitLayout->addWidget(picture);
    waitLayout->addWidget(status_, 1);
    layout->addWidget(waitPanel_);

    ok_ = new QPushButton(QStringLiteral(" OK"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);

    waitPanel_->setVisible(splash);
    ok_->setVisible(!splash);
    if (splash)
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
}

void TFAbout::SetStatus(const QString& text) {
    status_->setText(text);
    status_->repaint();
}
