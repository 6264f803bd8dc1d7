#include "MailText.h"

#include "Win1250.h"

#include <QRegularExpression>

#include <array>
#include <cstdlib>

namespace {

constexpr std::array<const char*, 7> kDays = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A header value on one line: a line break typed or pasted into a field would start a header
// of the clerk's making.
QString OneLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        if (c.unicode() < 32)
            c = u' ';
    }
    return line;
}

void AppendLine(QByteArray& data, const QByteArray& line) {
    data += line;
    data += "\r\n";
}

void AppendHeader(QByteArray& data, const char* name, const QString& value) {
    AppendLine(data, QByteArray(name) + ": " + Win1250::Encode(OneLine(value)));
}

// A line of the message as it goes on the wire: broken where longer than SMTP allows (after a
// blank when there is one in reach, so that words stay whole), each piece with a leading "."
// doubled. The pieces together hold every byte of the line.
void AppendBodyLine(QByteArray& data, QByteArray line) {
    for (;;) {
        const int limit = line.startsWith('.') ? kMailLineLimit - 1 : kMailLineLimit;
        QByteArray piece = line;
        if (line.size() > limit) {
            const int blank = line.lastIndexOf(' ', limit - 1);
            piece = line.left(blank >= limit / 2 ? blank + 1 : limit);
        }
        line.remove(0, piece.size());
        if (piece.startsWith('.'))
            piece.prepend('.');
        AppendLine(data, piece);
        if (line.isEmpty())
            return;
    }
}

// The character itself, also when it lies outside the basic plane (two UTF-16 units).
QString CharacterAt(const QString& text, qsizetype index) {
    if (text.at(index).isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate())
        return text.mid(index, 2);
    return text.mid(index, 1);
}

QString FirstUnencodable(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!Win1250::ToByte(text.at(i)))
            return CharacterAt(text, i);
    }
    return {};
}

} // namespace

QString MailSignatureText(const TMailSignature& s) {
    QStringList lines{QString(), s.Jmeno};
    for (const QString& item : {s.AdrUlice, s.AdrObec, s.AdrPsc}) {
        if (!item.isEmpty())
            lines << item;
    }
    lines << QString();
    const std::array<std::pair<QString, QString>, 3> contacts{{{QStringLiteral("telefon: "), s.Tel},
                                                               {QStringLiteral("fax: "), s.Fax},
                                                               {QStringLiteral("web: "), s.Web}}};
    for (const auto& [caption, value] : contacts) {
        if (!value.isEmpty())
            lines << caption + value;
    }
    lines << QString() << QStringLiteral("email: ") + s.MailOdeslat;
    return lines.join(u'\n');
}

QStringList MailRecipients(const QString& email) {
    QStringList recipients;
    for (const QString& part : email.split(u';')) {
        const QString address = part.trimmed();
        if (!address.isEmpty())
            recipients << address;
    }
    return recipients;
}

QString EnvelopeAddress(const QString& address) {
    const qsizetype open = address.indexOf(u'<');
    const qsizetype close = address.indexOf(u'>', open + 1);
    if (open >= 0 && close > open)
        return address.mid(open + 1, close - open - 1).trimmed();
    return address.trimmed();
}

QString Rfc822Date(const QDateTime& time) {
    const QDate date = time.date();
    const int offset = time.offsetFromUtc() / 60;
    const int minutes = std::abs(offset);
    return QStringLiteral("%1, %2 %3 %4 %5 %6%7%8")
        .arg(QString::fromLatin1(kDays.at(static_cast<std::size_t>(date.dayOfWeek() - 1))))
        .arg(date.day())
        .arg(QString::fromLatin1(kMonths.at(static_cast<std::size_t>(date.month() - 1))))
        .arg(date.year())
        .arg(time.time().toString(QStringLiteral("HH:mm:ss")))
        .arg(QChar(offset < 0 ? u'-' : u'+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QByteArray MailData(const TMailContent& content) {
    QByteArray data;
    const bool withSender = !content.Sender.trimmed().isEmpty();
    if (withSender)
        AppendHeader(data, "Return-Path", content.Sender);
    AppendHeader(data, "From", content.Sender);
    AppendHeader(data, "To", content.Recipients);
    // The subject goes as raw 8-bit Windows-1250, as the shop's mail always went.
    AppendHeader(data, "Subject", content.Subject);
    if (withSender)
        AppendHeader(data, "Sender", content.Sender);
    AppendLine(data, "Mime-Version: 1.0");
    AppendLine(data, "Content-Type: text/plain; charset=\"windows-1250\"");
    AppendLine(data, "Content-Transfer-Encoding: 8bit");
    AppendHeader(data, "Date", Rfc822Date(content.Date));
    AppendLine(data, {});
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : content.Body.split(lineEnd))
        AppendBodyLine(data, Win1250::Encode(line));
    AppendLine(data, ".");
    return data;
}

QString MailInputProblem(const QString& subject, const QString& message) {
    const auto problem = [](const QString& where, const QString& character) {
        return where + QStringLiteral(" obsahuje znak „") + character +
               QStringLiteral("“, který e-mail v kódování windows-1250 nepřenese. Nic nebylo odesláno.");
    };
    if (message.size() > kMailMessageLimit)
        return QStringLiteral("Zpráva je delší než %1 znaků. Nic nebylo odesláno.").arg(kMailMessageLimit);
    if (const QString c = FirstUnencodable(subject); !c.isEmpty())
        return problem(QStringLiteral("Předmět"), c);
    if (const QString c = FirstUnencodable(message); !c.isEmpty())
        return problem(QStringLiteral("Zpráva"), c);
    return {};
}
