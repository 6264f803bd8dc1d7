#include "QKasa.h"

#include "GlobFunc.h"
#include "Money.h"

#include <utility>

namespace {

constexpr double kLineMm = 6;
constexpr double kLabelMm = 45;
constexpr double kValueMm = 40;
constexpr double kRightColumnMm = 100;

} // namespace

TQRKasa::TQRKasa(const TCloseFigures& figures, QString currency, TReportShop shop)
    : figures_(figures), currency_(std::move(currency)), shop_(std::move(shop)) {}

TReportFrame TQRKasa::Report() const {
    TReportFrame report(QStringLiteral("Přehled pokladny"), shop_);
    if (figures_.CloseDate.isValid())
        report.SetHeaderRight({QStringLiteral("Datum uzávěrky: ") +
                               DateToText(QStringLiteral("dd.mm.yyyy"), figures_.CloseDate)});
    const auto money = [this](double amount) { return MoneyText(amount, currency_); };
    const std::vector<std::pair<QString, QString>> left = {
        {QStringLiteral("Půjčených nosičů:"), QString::number(figures_.LoansStarted)},
        {QStringLiteral("Vrácených nosičů:"), QString::number(figures_.LoansReturned)},
        {QStringLiteral("Převzaté zálohy:"), money(figures_.Money.DepositsTaken)},
        {QStringLiteral("Vrácené zálohy:"), money(-figures_.Money.DepositsReturned)},
        {QStringLiteral("Dodaná hotovost:"), money(figures_.Money.CashAdded)},
        {QStringLiteral("Odvedená hotovost:"), money(-figures_.Money.CashTakenOut)},
        {QStringLiteral("Tržba:"), money(figures_.Money.Takings)},
    };
    const std::vector<std::pair<QString, QString>> right = {
        {QStringLiteral("Počáteční stav pokladny:"), money(figures_.Opening)},
        {QStringLiteral("Konečný stav pokladny:"), money(figures_.Closing())},
    };
    report.AddBand({kLineMm * static_cast<double>(left.size()) + 4, [left, right](TReportCanvas& canvas) {
                        const QFont font = TReportFrame::Font(10);
                        const QFont bold = TReportFrame::Font(10, true);
                        const auto column = [&](const std::vector<std::pair<QString, QString>>& lines,
                                                double x, const QFont& valueFont) {
                            double y = 2;
                            for (const auto& [label, value] : lines) {
                                canvas.Text(QRectF(x, y, kLabelMm, kLineMm), label, font);
                                canvas.Text(QRectF(x + kLabelMm, y, kValueMm, kLineMm), value, valueFont,
                                            Qt::AlignRight | Qt::AlignVCenter);
                                y += kLineMm;
                            }
                        };
                        column(left, 0, font);
                        column(right, kRightColumnMm, bold);
                    }});
    return report;
}
