#include "ReceiptLayout.h"

#include "CodePage.h"
#include "GlobFunc.h"
#include "Win1250.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

QString ShortDate(const QDate& date) {
    return DateToText(QStringLiteral("dd.mm.yyyy"), date);
}

// "%<width>.2f" with a decimal comma.
QString Fixed(double value, int width) {
    if (std::llround(value * 100) == 0)
        value = 0; // no "-0,00"
    return QString::number(value, 'f', 2).replace(u'.', u',').rightJustified(width, u' ');
}

// A VAT rate as the shortest decimal number: "21", "10,5".
QString Rate(double rate) {
    return QString::number(rate, 'g', QLocale::FloatingPointShortest).replace(u'.', u',');
}

// One printed line before it is laid out.
struct TLine {
    enum class TKind { Plain, LabelValue, Separator, Empty };
    TKind kind;
    QString text;
    QString value;
};

TLine Plain(const QString& text) {
    return {TLine::TKind::Plain, text, {}};
}
TLine LabelValue(const QString& label, const QString& value) {
    return {TLine::TKind::LabelValue, label, value};
}
TLine Separator() {
    return {TLine::TKind::Separator, {}, {}};
}
TLine Empty() {
    return {TLine::TKind::Empty, {}, {}};
}

QString Prefixed(const QString& prefix, const QString& value) {
    return value.isEmpty() ? QString() : prefix + value;
}

// The header at the top of every receipt.
std::vector<TLine> BranchHeader(const TReceiptBranch& b) {
    std::vector<TLine> lines{Plain(b.Jmeno)};
    if (!b.Ic.isEmpty() || !b.Dic.isEmpty())
        lines.push_back(
            LabelValue(Prefixed(QStringLiteral("IČ: "), b.Ic), Prefixed(QStringLiteral("DIČ: "), b.Dic)));
    lines.push_back(LabelValue(b.AdrUlice, Prefixed(QStringLiteral("Tel: "), b.Tel)));
    lines.push_back(LabelValue(b.AdrPsc + u' ' + b.AdrObec, b.Email));
    lines.push_back(Separator());
    lines.push_back(Empty());
    return lines;
}

// The next receipt's header as printed ahead at the end of a receipt.
std::vector<TLine> PrePrint(const TReceiptBranch& b, bool skipIcDic) {
    std::vector<TLine> lines{Plain(b.Jmeno)};
    if (!skipIcDic)
        lines.push_back(LabelValue(QStringLiteral("IČ: ") + b.Ic, QStringLiteral("DIČ: ") + b.Dic));
    lines.push_back(LabelValue(b.AdrUlice, b.Tel));
    lines.push_back(LabelValue(b.AdrPsc + u' ' + b.AdrObec, b.Email));
    lines.push_back(Separator());
    lines.push_back(Empty());
    return lines;
}

// Lays lines out in Windows-1250 and converts their texts into the printer's code page; the
// filling spaces and dashes, the line feeds and the cut command stay as they are.
class TReceiptText final {
public:
    explicit TReceiptText(const TPrintSettings& settings)
        : width_(settings.Width), coding_(settings.Coding) {}

    void Add(const TLine& line) {
        switch (line.kind) {
        case TLine::TKind::Plain:
            Text(Win1250::Encode(line.text));
            break;
        case TLine::TKind::LabelValue: {
            const QByteArray label = Win1250::Encode(line.text);
            const QByteArray value = Win1250::Encode(line.value);
            Text(label);
            if (!value.isEmpty()) {
                Fill(' ', width_ - value.size() - label.size());
                Text(value);
            }
            break;
        }
        case TLine::TKind::Separator:
            Fill('-', width_);
            break;
        case TLine::TKind::Empty:
            break;
        }
        bytes_ += '\n';
    }
    void Centred(const QString& text) {
        const QByteArray bytes = Win1250::Encode(text);
        if (!bytes.isEmpty()) {
            Fill(' ', (width_ - bytes.size()) / 2);
            Text(bytes);
        }
        bytes_ += '\n';
    }
    void RightAligned(const QString& text) {
        const QByteArray bytes = Win1250::Encode(text);
        if (!bytes.isEmpty()) {
            Fill(' ', width_ - bytes.size());
            Text(bytes);
        }
        bytes_ += '\n';
    }
    void Cut() {
        bytes_ += QByteArray("\x1B"
                             "d0");
    }

    const QByteArray& Bytes() const { return bytes_; }

private:
    void Text(const QByteArray& win1250) { bytes_ += CodePage::FromWin1250(win1250, coding_); }
    void Fill(char c, qsizetype count) {
        if (count > 0)
            bytes_ += QByteArray(count, c);
    }

    int width_;
    QString coding_;
    QByteArray bytes_;
};

class TReceipt final {
public:
    TReceipt(const TPrintSettings& settings, const TReceiptBranch& branch)
        : settings_(settings), branch_(branch), header_(BranchHeader(branch)), text_(settings) {}

    TReceiptText& Text() { return text_; }

    // The header lines the end of the previous receipt did not print ahead.
    void Header() {
        for (std::size_t i = 0; i < header_.size(); ++i) {
            if (static_cast<int>(i) >= settings_.SpaceBefore)
                text_.Add(header_[i]);
        }
    }

    void Customer(const TReceiptCustomer& customer) {
        text_.Add(Plain(QStringLiteral("ZÁKAZNÍK")));
        text_.Add(LabelValue(QStringLiteral("Jméno:"), customer.Jmeno));
        text_.Add(LabelValue(QStringLiteral("Přijmení:"), customer.Prijmeni));
        text_.Add(LabelValue(QStringLiteral("EAN kód:"), customer.EanKod));
        text_.Add(Separator());
    }

    // The space after the body, then the start of the next receipt printed ahead: the space above
    // its header and the header lines its top leaves out. SpaceShear of those lines lie after the
    // cut, the others stay at the end of this receipt.
    QByteArray Ending() {
        const int h = static_cast<int>(header_.size());
        const int s = settings_.SpaceBefore;
        for (int i = 0; i < settings_.SpaceAfter; ++i)
            text_.Add(Empty());
        std::vector<TLine> ahead(static_cast<std::size_t>(std::max(0, s - h)), Empty());
        // Ahead of a header without its IČ/DIČ line, the same lines are printed in the same
        // order as at the top, so that none is lost between the two; printed ahead as a whole
        // (more lines ahead than the header has), the IČ/DIČ line stays.
        const std::vector<TLine> preprint = PrePrint(branch_, h < 6 && s <= h);
        for (std::size_t i = 0; static_cast<int>(i) < s && i < preprint.size(); ++i)
            ahead.push_back(preprint[i]);
        const int count = static_cast<int>(ahead.size());
        const int beforeCut = std::clamp(count - settings_.SpaceShear, 0, count);
        for (int i = 0; i <= count; ++i) {
            if (settings_.Shear && i == beforeCut)
                text_.Cut();
            if (i < count)
                text_.Add(ahead[static_cast<std::size_t>(i)]);
        }
        return text_.Bytes();
    }

private:
    const TPrintSettings& settings_;
    const TReceiptBranch& branch_;
    std::vector<TLine> header_;
    TReceiptText text_;
};

QString PlainLines(QString text) {
    // Every printed line ends with a line feed alone.
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

} // namespace

QByteArray ComposeTaxReceipt(const TPrintSettings& settings, const TReceiptBranch& branch,
                             const TReceiptShop& shop, const TTaxReceipt& receipt) {
    TReceipt r(settings, branch);
    TReceiptText& t = r.Text();
    r.Header();
    t.Centred(QStringLiteral("D A Ň O V Ý   D O K L A D"));
    t.Add(Empty());
    t.Add(LabelValue(QStringLiteral("Daňový doklad číslo: "), receipt.CisloDok));
    if (shop.PlatceDph)
        t.Add(LabelValue(QStringLiteral("Datum uskut. zd. plnění: "), ShortDate(receipt.DUzp)));
    else
        t.Add(LabelValue(QStringLiteral("Datum vystavení: "), ShortDate(receipt.DVystaveni)));
    t.Add(Separator());
    r.Customer(receipt.Customer);
    for (std::size_t i = 0; i < receipt.Lines.size(); ++i) {
        const TReceiptLine& line = receipt.Lines[i];
        if (i > 0)
            t.Add(Empty());
        t.Add(LabelValue(QStringLiteral("CN kód, název:"), line.EanKod));
        t.Add(Plain(line.NazevCesky));
        t.Add(Empty());
        t.Add(LabelValue(QStringLiteral("Půjčeno od - do:"),
                         ShortDate(line.DPujceni) + QStringLiteral(" - ") +
                             ShortDate(line.DPujceni.addDays(line.PocetDni))));
        QString price = Fixed(line.CenaRadkuDph, 10) + u' ' + shop.Mena;
        if (shop.PlatceDph)
            price += u' ' + line.Dph;
        t.Add(LabelValue(QStringLiteral("Cena:"), price));
    }
    t.Add(Separator());
    if (shop.PlatceDph) {
        if (receipt.ZakladB != 0)
            t.RightAligned(QStringLiteral("Základ %1%: %2 DPH: %3 B")
                               .arg(Rate(shop.DphB), Fixed(receipt.ZakladB, 7), Fixed(receipt.DphB, 7)));
        if (receipt.ZakladA != 0)
            t.RightAligned(QStringLiteral("Základ  %1%: %2 DPH: %3 A")
                               .arg(Rate(shop.DphA), Fixed(receipt.ZakladA, 7), Fixed(receipt.DphA, 7)));
        if (receipt.Zaklad0 != 0)
            t.RightAligned(
                QStringLiteral("Základ  0%: %1        %2").arg(Fixed(receipt.Zaklad0, 7), Fixed(0, 7)));
    }
    t.Add(Empty());
    if (shop.PlatceDph)
        t.Add(LabelValue(QStringLiteral("CELKOVÁ CENA S DPH:"),
                         Fixed(receipt.CenaDph, 7) + u' ' + shop.Mena + QStringLiteral("  ")));
    else
        t.Add(LabelValue(QStringLiteral("CELKOVÁ CENA:"), Fixed(receipt.CenaDph, 7) + u' ' + shop.Mena));
    t.Add(Empty());
    if (!branch.TextDoklad.isEmpty())
        t.Add(Plain(PlainLines(branch.TextDoklad)));
    return r.Ending();
}

QByteArray ComposeDepositReceipt(const TPrintSettings& settings, const TReceiptBranch& branch,
                                 const TReceiptShop& shop, TDepositKind kind,
                                 const TReceiptCustomer& customer, double amount, const QDate& today) {
    const bool taken = kind == TDepositKind::Taken;
    TReceipt r(settings, branch);
    TReceiptText& t = r.Text();
    r.Header();
    t.Centred(taken ? QStringLiteral("P Ř E V Z E T Í   Z Á L O H Y")
                    : QStringLiteral("V R Á C E N Í   Z Á L O H Y"));
    t.Add(Empty());
    t.Add(LabelValue(taken ? QStringLiteral("Datum převzetí: ") : QStringLiteral("Datum vrácení: "),
                     ShortDate(today)));
    t.Add(Separator());
    r.Customer(customer);
    t.Add(Empty());
    t.Add(LabelValue(taken ? QStringLiteral("PŘEVZATÁ ČÁSTKA:") : QStringLiteral("VRACENÁ ČÁSTKA:"),
                     Fixed(amount, 7) + u' ' + shop.Mena));
    return r.Ending();
}
