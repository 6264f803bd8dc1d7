#include "StockList.h"

#include "CodeSearch.h"
#include "GlobDB.h"

#include <optional>

namespace {

// The columns of StockMediaSql, in its order.
enum Column { KodTitul, KodNosic, CnKod, TypNosice, NazevCesky, NazevOrig, EanKod, StavNosic };

QChar FirstLetter(const TField& field) {
    const QString text = field.AsString();
    return text.isEmpty() ? QChar() : text.at(0);
}

int Count(TDMGlobDB& db, TTransaction& tr, const QString& sql) {
    auto query = db.OpenQuery(tr, sql);
    query->Open();
    return query->Eof() ? 0 : query->Fields(0).AsInteger();
}

} // namespace

QString StockMediaSql(const TStockChoices& choices) {
    QStringList lines{
        QStringLiteral("select n.KOD_TITUL, n.KOD_NOSIC, n.EAN_KOD as CN_KOD, t.TYP_NOSICE, "
                       "t.NAZEV_CESKY, t.NAZEV_ORIG, t.EAN_KOD, 'A' as STAV_NOSIC from NOSICE n "
                       "join TITULY t on (n.KOD_TITUL = t.KOD_TITUL) where D_ZRUSENI is null")};
    if (!choices.pujcene)
        lines.append(
            QStringLiteral("and n.KOD_NOSIC not in (select KOD_NOSIC from PUJCKY where D_VRACENI is null)"));
    if (!choices.volne)
        lines.append(
            QStringLiteral("and n.KOD_NOSIC in (select KOD_NOSIC from PUJCKY where D_VRACENI is null)"));
    lines.append(QStringLiteral("order by n.KOD_NOSIC"));
    return lines.join(u'\n');
}

QString MediaOnLoanSql() {
    return QStringLiteral("select KOD_NOSIC from PUJCKY where D_VRACENI is null order by KOD_NOSIC");
}

QString MediaInShopSql(QChar typNosice) {
    return QStringLiteral("select count(n.KOD_NOSIC) as POCET from NOSICE n join TITULY t on (n.KOD_TITUL = "
                          "t.KOD_TITUL) where n.D_ZRUSENI is null and t.TYP_NOSICE = '%1' and n.KOD_NOSIC "
                          "not in (select KOD_NOSIC from PUJCKY where D_VRACENI is null)")
        .arg(typNosice);
}

QString ScannedMediumSql(const QString& typed) {
    return QStringLiteral("select KOD_NOSIC from NOSICE where ") +
           CodeCondition(QStringLiteral("EAN_KOD"), typed);
}

QString ScanMessage(const TScanResult& result, const QString& typed) {
    switch (result.outcome) {
    case TScanOutcome::NotInRegister:
        return QStringLiteral("Žádný nosič s CN kódem ") + typed + QStringLiteral(" nebyl nalezen.");
    case TScanOutcome::NotInList:
        return QStringLiteral("Hledaný nosič nebyl v seznamu nalezen.");
    case TScanOutcome::OnLoan:
        return QStringLiteral("Hledaný nosič je právě půjčen.\rDo inventury ho nelze započítat.");
    case TScanOutcome::AlreadyFound:
        return QStringLiteral("Hledaný nosič byl již do inventury načten.");
    case TScanOutcome::Found:
        break;
    }
    return {};
}

void TStockList::Load(TDMGlobDB& db, TTransaction& tr, const TStockChoices& choices) {
    std::vector<TStockRow> rows;
    QHash<int, int> slotOfKey;
    {
        auto query = db.OpenQuery(tr, StockMediaSql(choices));
        query->Open();
        for (; !query->Eof(); query->Next()) {
            const auto field = [&](Column column) -> const TField& { return query->Fields(column); };
            slotOfKey.insert(field(KodNosic).AsInteger(), static_cast<int>(rows.size()));
            rows.push_back({field(KodTitul).AsInteger(), field(KodNosic).AsInteger(), field(CnKod).AsString(),
                            FirstLetter(field(TypNosice)), field(NazevCesky).AsString(),
                            field(NazevOrig).AsString(), field(EanKod).AsString(),
                            FirstLetter(field(StavNosic))});
        }
    }
    if (choices.pujcene) {
        auto query = db.OpenQuery(tr, MediaOnLoanSql());
        query->Open();
        for (; !query->Eof(); query->Next()) {
            const int slot = slotOfKey.value(query->Fields(0).AsInteger(), -1);
            if (slot >= 0)
                rows[static_cast<std::size_t>(slot)].stav = u'P';
        }
    }
    const int dvd = Count(db, tr, MediaInShopSql(u'D'));
    const int vhs = Count(db, tr, MediaInShopSql(u'V'));
    // Only a load that read everything replaces the list shown.
    slots_ = std::move(rows);
    slotOfKey_ = std::move(slotOfKey);
    inShopDvd_ = dvd;
    inShopVhs_ = vhs;
    foundDvd_ = foundVhs_ = 0;
    open_ = true;
    locked_ = false;
    Rebuild();
}

void TStockList::Close() {
    slots_.clear();
    slotOfKey_.clear();
    open_ = false;
    locked_ = false;
    Rebuild();
}

TScanResult TStockList::Scan(TDMGlobDB& db, TTransaction& tr, const QString& typed, bool deleteFound) {
    std::optional<int> kodNosic;
    {
        auto query = db.OpenQuery(tr, ScannedMediumSql(typed));
        query->Open();
        if (!query->Eof())
            kodNosic = query->Fields(0).AsInteger();
    }
    TScanResult result;
    if (!kodNosic)
        return result;
    // Any medium of the register ends the choosing, also one that is not counted here.
    result.locked = !locked_;
    locked_ = true;
    const int slot = slotOfKey_.value(*kodNosic, -1);
    if (slot < 0 || removed_[static_cast<std::size_t>(slot)]) {
        result.outcome = TScanOutcome::NotInList;
        return result;
    }
    result.row = RowOfSlot(slot);
    TStockRow& row = slots_[static_cast<std::size_t>(slot)];
    if (row.stav == u'P') {
        result.outcome = TScanOutcome::OnLoan;
        return result;
    }
    if (row.stav == u'N') {
        result.outcome = TScanOutcome::AlreadyFound;
        return result;
    }
    ++(row.typNosice == u'D' ? foundDvd_ : foundVhs_);
    if (deleteFound) {
        Remove(slot);
        result.removed = true;
    } else {
        row.stav = u'N';
    }
    result.outcome = TScanOutcome::Found;
    return result;
}

const TStockRow& TStockList::Row(int row) const {
    return slots_.at(static_cast<std::size_t>(SlotOfRow(row)));
}

int TStockList::RowOf(int kodNosic) const {
    const int slot = slotOfKey_.value(kodNosic, -1);
    return slot < 0 || removed_[static_cast<std::size_t>(slot)] ? -1 : RowOfSlot(slot);
}

void TStockList::Rebuild() {
    const std::size_t n = slots_.size();
    removed_.assign(n, false);
    tree_.assign(n + 1, 0);
    for (std::size_t i = 1; i <= n; ++i) {
        tree_[i] += 1;
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            tree_[parent] += tree_[i];
    }
    alive_ = static_cast<int>(n);
}

void TStockList::Remove(int slot) {
    removed_[static_cast<std::size_t>(slot)] = true;
    for (std::size_t i = static_cast<std::size_t>(slot) + 1; i < tree_.size(); i += i & (~i + 1))
        tree_[i] -= 1;
    --alive_;
}

int TStockList::RowOfSlot(int slot) const {
    // The rows still alive before the slot.
    int row = 0;
    for (std::size_t i = static_cast<std::size_t>(slot); i > 0; i -= i & (~i + 1))
        row += tree_[i];
    return row;
}

int TStockList::SlotOfRow(int row) const {
    if (row < 0 || row >= alive_)
        return -1;
    std::size_t step = 1;
    while (step * 2 < tree_.size())
        step *= 2;
    std::size_t position = 0;
    int left = row + 1;
    for (; step > 0; step /= 2) {
        if (position + step < tree_.size() && tree_[position + step] < left) {
            position += step;
            left -= tree_[position];
        }
    }
    return static_cast<int>(position);
}
