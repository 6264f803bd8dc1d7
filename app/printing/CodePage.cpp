#include "CodePage.h"

#include "PrintSettings.h"

#include <array>

namespace {

struct TLetter {
    unsigned char win1250, cp852, kamenicky, ascii;
};

// Á Č Ď É Ě Í Ĺ Ň Ó Ř Š Ť Ú Ů Ý Ž, then the small letters in the same order.
constexpr std::array<TLetter, 32> kLetters = {{
    {0xC1, 0xB5, 0x8F, 'A'}, {0xC8, 0xAC, 0x80, 'C'}, {0xCF, 0xD2, 0x85, 'D'}, {0xC9, 0x90, 0x90, 'E'},
    {0xCC, 0xB7, 0x89, 'E'}, {0xCD, 0xD6, 0x8B, 'I'}, {0xC5, 0x91, 0x8A, 'L'}, {0xD2, 0xD5, 0xA5, 'N'},
    {0xD3, 0xE0, 0x95, 'O'}, {0xD8, 0xFC, 0x9E, 'R'}, {0x8A, 0xE6, 0x9B, 'S'}, {0x8D, 0x9B, 0x86, 'T'},
    {0xDA, 0xE9, 0x97, 'U'}, {0xD9, 0xDE, 0xA6, 'U'}, {0xDD, 0xED, 0x9D, 'Y'}, {0x8E, 0xA6, 0x92, 'Z'},
    {0xE1, 0xA0, 0xA0, 'a'}, {0xE8, 0x9F, 0x87, 'c'}, {0xEF, 0xD4, 0x83, 'd'}, {0xE9, 0x82, 0x82, 'e'},
    {0xEC, 0xD8, 0x88, 'e'}, {0xED, 0xA1, 0xA1, 'i'}, {0xE5, 0x92, 0x8D, 'l'}, {0xF2, 0xE5, 0xA4, 'n'},
    {0xF3, 0xA2, 0xA2, 'o'}, {0xF8, 0xFD, 0xA9, 'r'}, {0x9A, 0xE7, 0xA8, 's'}, {0x9D, 0x9C, 0x9F, 't'},
    {0xFA, 0xA3, 0xA3, 'u'}, {0xF9, 0x85, 0x96, 'u'}, {0xFD, 0xEC, 0x98, 'y'}, {0x9E, 0xA7, 0x91, 'z'},
}};

using TTable = std::array<unsigned char, 256>;

template <typename Pick> TTable MakeTable(Pick pick) {
    TTable table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<unsigned char>(i);
    for (const TLetter& letter : kLetters)
        table[letter.win1250] = pick(letter);
    return table;
}

const TTable* TableFor(const QString& coding) {
    static const TTable latin2 = MakeTable([](const TLetter& l) { return l.cp852; });
    static const TTable kamenicky = MakeTable([](const TLetter& l) { return l.kamenicky; });
    static const TTable ascii = MakeTable([](const TLetter& l) { return l.ascii; });
    if (coding == TPrintSettings::CodingLatin2())
        return &latin2;
    if (coding == TPrintSettings::CodingKamenicky())
        return &kamenicky;
    if (coding == TPrintSettings::CodingAscii())
        return &ascii;
    return nullptr;
}

} // namespace

QByteArray CodePage::FromWin1250(const QByteArray& text, const QString& coding) {
    const TTable* table = TableFor(coding);
    if (table == nullptr)
        return text;
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>((*table)[static_cast<unsigned char>(text[i])]);
    return out;
}
