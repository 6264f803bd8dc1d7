#pragma once

#include <QString>

#include <vector>

// What clerks and customers manage to type, paste or scan into a text field: quotes that end a
// literal, wildcards, control characters, a pasted page, letters the shop's code page cannot
// hold and statements meant for the database. Every field has to take each of them without a
// database syntax error: stored as typed, or refused with a clear message.
struct THostileInput {
    const char* name;
    QString text;
    // Windows-1250 can hold every character of the text, so a field that stores text may keep it.
    bool storable;
};

inline std::vector<THostileInput> HostileInputs() {
    return {
        {"apostrophe", QStringLiteral("O'Brien"), true},
        {"apostrophes only", QStringLiteral("''"), true},
        {"statement after a quote", QStringLiteral("x'; DELETE FROM NOSICE; --"), true},
        {"always true", QStringLiteral("' OR '1'='1"), true},
        {"double quotes", QStringLiteral("\"Kmotr\" \"\""), true},
        {"backslashes", QStringLiteral("C:\\Filmy\\"), true},
        {"wildcards", QStringLiteral("100% _a_ %"), true},
        {"comment", QStringLiteral("/* -- */"), true},
        {"tab and line break", QStringLiteral("a\tb\r\nc"), true},
        {"control characters",
         QString::fromUtf8("a\x01\x02\x1b\x7f"
                           "b"),
         true},
        {"nul character", QString::fromUtf16(u"a\u0000b", 3), true},
        {"czech letters", QStringLiteral("Žluťoučký kůň úpěl ďábelské ódy"), true},
        {"typographic signs of the code page", QStringLiteral("„Pelíšky“ – 100 € ‰ §"), true},
        {"markup", QStringLiteral("<b>tučně</b> &amp; <img src=\"x\">"), true},
        {"outside the code page", QStringLiteral("Ωmega 中文 🎬"), false},
        {"ten thousand characters", QString(10000, QLatin1Char('W')), true},
        {"blank", QStringLiteral("   "), true},
    };
}
