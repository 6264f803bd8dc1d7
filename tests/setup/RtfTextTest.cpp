#include "RtfText.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

TEST(RtfText, TheLicencesRichTextReadsWithItsCzechLettersAndEmphasis) {
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;}{\\*\\generator Writer;}\\pard\\f0\\fs20\r\n"
        "{\\b Licen\\'e8n\\'ed smlouva}\\par\r\nP\\u345?\\'ed li\\'9aka <a> & \\{z\\}\\line konec\\par}";
    const QString html = RtfToHtml(rtf);
    QTextDocument document;
    document.setHtml(html);
    const QString expected = QStringLiteral("Licenční smlouva\nPří liška <a> & {z}\nkonec\n");
    EXPECT_EQ(document.toPlainText().toStdString(), expected.toStdString());
    EXPECT_TRUE(html.contains(QStringLiteral("<span style=\"font-weight:bold;\">Licenční smlouva</span>")));
    EXPECT_FALSE(html.contains(QStringLiteral("Arial")));
    EXPECT_FALSE(html.contains(QStringLiteral("Writer")));
}

} // namespace
