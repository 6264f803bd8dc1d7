#include "ReceiptPrinting.h"

#include "AppContext.h"
#include "ReceiptVat.h"

#include <QFileInfo>

namespace {

QString Key(int key) {
    return QString::number(key);
}

// Commits the caller's transaction at the end when the printing started it.
class TReadScope final {
public:
    explicit TReadScope(TTransaction& transaction)
        : transaction_(transaction), started_(!transaction.Active()) {}
    TReadScope(const TReadScope&) = delete;
    TReadScope& operator=(const TReadScope&) = delete;
    void Done() {
        if (started_ && transaction_.Active())
            transaction_.Commit();
    }

private:
    TTransaction& transaction_;
    bool started_;
};

void Raise(const TPrintOutcome& outcome) {
    if (!outcome.Ok)
        throw EPrintError(
            QStringLiteral("Doklad nebyl vytištěn.\r") + outcome.Message +
            QStringLiteral(
                "\rZkontrolujte, zda je tiskárna zapnutá, má papír a je připojená "
                "kabelem, a v nastavení tisku zařízení a jeho cestu, u sériové tiskárny i rychlost "
                "a řízení toku."));
}

} // namespace

QString DocumentSql(int kodDok) {
    return QStringLiteral("select d.KOD_DOK, d.CISLO_DOK, d.KOD_ZAK, d.D_UZP, d.D_VYSTAVENI, d.D_STORNO, "
                          "uv.JMENO || ' ' || uv.PRIJMENI as UZIV_VYSTAVIL, d.C_ZAKLAD_A, d.C_ZAKLAD_B, "
                          "d.C_ZAKLAD_0, d.C_DPH_A, d.C_DPH_B, d.CENA, d.CENA_DPH, z.PRIJMENI, z.JMENO, "
                          "z.EAN_KOD from DOKLADY d inner join ZAKAZNICI z on (d.KOD_ZAK = z.KOD_ZAK) "
                          "inner join UZIVATELE uv on (d.UZIV_VYSTAVIL = uv.KOD_UZIV) where KOD_DOK = ") +
           Key(kodDok);
}

QString DepositCustomerSql(int kodZak) {
    return QStringLiteral("select z.PRIJMENI, z.JMENO, z.EAN_KOD from ZAKAZNICI z where KOD_ZAK = ") +
           Key(kodZak);
}

TPortReceiptPrinter::TPortReceiptPrinter(TAppContext& context, QString executablePath)
    : context_(context), executablePath_(std::move(executablePath)) {}

TPrintSettings TPortReceiptPrinter::Settings() const {
    TPrintSettings settings = TPrintSettings::ForPrinting();
    ReadPrintSettings(PrintSettingsFile(executablePath_), settings);
    return settings;
}

// The shop's identity and VAT are read with the receipt: another counter's settings desk may
// have changed them since this program read its settings records.
TReceiptBranch TPortReceiptPrinter::Branch(TTransaction& transaction) {
    auto row =
        context_.Db().OpenQuery(transaction, QStringLiteral("select JMENO, IC, DIC, ADR_ULICE, TEL, ADR_PSC, "
                                                            "ADR_OBEC, EMAIL, TEXT_DOKLAD from POBOCKA"));
    row->Open();
    const auto text = [&](int column) { return row->Fields(column).AsString(); };
    return {text(0), text(1), text(2), text(3), text(4), text(5), text(6), text(7), text(8)};
}

TReceiptShop TPortReceiptPrinter::Shop(TTransaction& transaction) {
    auto row = context_.Db().OpenQuery(
        transaction, QStringLiteral("select PLATCE_DPH, DPH_A, DPH_B, MENA from SPEC_CENA"));
    row->Open();
    return {row->Fields(0).AsString() == QStringLiteral("A"), row->Fields(1).AsFloat(),
            row->Fields(2).AsFloat(), row->Fields(3).AsString()};
}

QString TPortReceiptPrinter::FilesFolder(const TPrintSettings& settings) const {
    // No folder chosen yet: the program's own, where the settings page starts the choice.
    return settings.FilesPath.isEmpty() ? QFileInfo(executablePath_).absolutePath() : settings.FilesPath;
}

QString TPortReceiptPrinter::DocumentFile(const TPrintSettings& settings, int kodDok) const {
    return PrintFilePath(FilesFolder(settings),
                         QStringLiteral("PRN_DOK_") + Key(kodDok) + QStringLiteral(".PRN"));
}

QString TPortReceiptPrinter::DepositFile(const TPrintSettings& settings, int kodZak) const {
    return PrintFilePath(FilesFolder(settings),
                         QStringLiteral("PRN_ZAL_") + Key(kodZak) + QStringLiteral(".PRN"));
}

TPrintOutcome TPortReceiptPrinter::Document(int kodDok, int copies, TTransaction& transaction) {
    const TPrintSettings settings = Settings();
    if (const QString unusable = settings.Unusable(); !unusable.isEmpty())
        return TPrintOutcome::Failure(unusable);
    TReadScope scope(transaction);
    TTaxReceipt receipt;
    std::vector<TPricedLine> priced;
    {
        auto head = context_.Db().OpenQuery(transaction, DocumentSql(kodDok));
        head->Open();
        if (head->IsEmpty()) {
            scope.Done();
            return TPrintOutcome::Failure(QStringLiteral("Doklad %1 v databázi není.").arg(kodDok));
        }
        const auto field = [&](const char* name) -> const TField& {
            return head->FieldByName(QString::fromLatin1(name));
        };
        receipt.CisloDok = field("CISLO_DOK").AsString();
        receipt.DUzp = field("D_UZP").AsDate();
        receipt.DVystaveni = field("D_VYSTAVENI").AsDate();
        receipt.Customer = {field("JMENO").AsString(), field("PRIJMENI").AsString(),
                            field("EAN_KOD").AsString()};
        receipt.ZakladA = field("C_ZAKLAD_A").AsFloat();
        receipt.ZakladB = field("C_ZAKLAD_B").AsFloat();
        receipt.Zaklad0 = field("C_ZAKLAD_0").AsFloat();
        receipt.DphA = field("C_DPH_A").AsFloat();
        receipt.DphB = field("C_DPH_B").AsFloat();
        receipt.CenaDph = field("CENA_DPH").AsFloat();
    }
    {
        auto lines = context_.Db().OpenQuery(transaction, DocumentLinesSql(kodDok));
        lines->Open();
        for (; !lines->Eof(); lines->Next()) {
            const auto field = [&](const char* name) -> const TField& {
                return lines->FieldByName(QString::fromLatin1(name));
            };
            receipt.Lines.push_back({field("EAN_KOD").AsString(), field("NAZEV_CESKY").AsString(),
                                     field("D_PUJCENI").AsDate(), field("POCET_DNI").AsInteger(),
                                     field("CENA_RADKU_DPH").AsFloat(), field("DPH").AsString()});
            priced.push_back({field("DPH").AsString(), field("CENA").AsFloat(), field("CENA_DPH").AsFloat()});
        }
    }
    // The rates printed are those the amounts were computed with, whatever the shop's are now.
    TReceiptShop shop = Shop(transaction);
    shop.DphA = RateOfLines(priced, QStringLiteral("A"), shop.DphA);
    shop.DphB = RateOfLines(priced, QStringLiteral("B"), shop.DphB);
    const QByteArray text = ComposeTaxReceipt(settings, Branch(transaction), shop, receipt);
    scope.Done();
    return sending_([&] { return SendToPrinter(settings, text, DocumentFile(settings, kodDok), copies); });
}

TPrintOutcome TPortReceiptPrinter::Deposit(TDepositKind kind, int kodZak, int copies, double amount,
                                           TTransaction& transaction, const QDate& today) {
    const TPrintSettings settings = Settings();
    if (const QString unusable = settings.Unusable(); !unusable.isEmpty())
        return TPrintOutcome::Failure(unusable);
    TReadScope scope(transaction);
    TReceiptCustomer customer;
    {
        auto query = context_.Db().OpenQuery(transaction, DepositCustomerSql(kodZak));
        query->Open();
        if (query->IsEmpty()) {
            scope.Done();
            return TPrintOutcome::Failure(QStringLiteral("Zákazník %1 v databázi není.").arg(kodZak));
        }
        customer = {query->FieldByName(QStringLiteral("JMENO")).AsString(),
                    query->FieldByName(QStringLiteral("PRIJMENI")).AsString(),
                    query->FieldByName(QStringLiteral("EAN_KOD")).AsString()};
    }
    const QByteArray text = ComposeDepositReceipt(settings, Branch(transaction), Shop(transaction), kind,
                                                  customer, amount, today);
    scope.Done();
    return sending_([&] { return SendToPrinter(settings, text, DepositFile(settings, kodZak), copies); });
}

void TPortReceiptPrinter::PrintDocument(int kodDok, int copies, TTransaction& transaction) {
    Raise(Document(kodDok, copies, transaction));
}

void TPortReceiptPrinter::PrintDepositTaken(int kodZak, int copies, double amount,
                                            TTransaction& transaction) {
    Raise(Deposit(TDepositKind::Taken, kodZak, copies, amount, transaction));
}

void TPortReceiptPrinter::PrintDepositReturned(int kodZak, int copies, double amount,
                                               TTransaction& transaction) {
    Raise(Deposit(TDepositKind::Returned, kodZak, copies, amount, transaction));
}
