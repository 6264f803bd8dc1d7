#include "RtfText.h"

#include "Win1250.h"

#include <cctype>
#include <vector>

namespace {

struct TState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool skip = false;
    int unicodeSkip = 1;
};

class TRtfReader final {
public:
    explicit TRtfReader(const QByteArray& rtf) : rtf_(rtf) {}

    QString Html() {
        states_.push_back({});
        while (pos_ < rtf_.size()) {
            const char c = rtf_.at(pos_++);
            if (c == '{') {
                states_.push_back(states_.back());
                groupStart_ = true;
                continue;
            }
            if (c == '}') {
                if (states_.size() > 1)
                    states_.pop_back();
                groupStart_ = false;
                continue;
            }
            if (c == '\\') {
                ControlWord();
                groupStart_ = false;
                continue;
            }
            groupStart_ = false;
            if (c == '\r' || c == '\n')
                continue;
            Text(Win1250::FromByte(static_cast<unsigned char>(c)));
        }
        EndSpan();
        return QStringLiteral("<html><body><p>") + html_ + QStringLiteral("</p></body></html>");
    }

private:
    void ControlWord() {
        if (pos_ >= rtf_.size())
            return;
        const char first = rtf_.at(pos_);
        if (first == '\'') {
            const int byte = rtf_.mid(pos_ + 1, 2).toInt(nullptr, 16);
            pos_ += 3;
            Text(Win1250::FromByte(static_cast<unsigned char>(byte)));
            return;
        }
        if (first == '*') {
            ++pos_;
            states_.back().skip = true;
            return;
        }
        if (!std::isalpha(static_cast<unsigned char>(first))) {
            ++pos_;
            if (first == '\\' || first == '{' || first == '}')
                Text(QChar::fromLatin1(first));
            else if (first == '~')
                Text(QChar(0x00A0));
            return;
        }
        QByteArray word;
        while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_.at(pos_))))
            word += rtf_.at(pos_++);
        QByteArray number;
        if (pos_ < rtf_.size() &&
            (rtf_.at(pos_) == '-' || std::isdigit(static_cast<unsigned char>(rtf_.at(pos_)))))
            number += rtf_.at(pos_++);
        while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_.at(pos_))))
            number += rtf_.at(pos_++);
        if (pos_ < rtf_.size() && rtf_.at(pos_) == ' ')
            ++pos_;
        const bool hasNumber = !number.isEmpty() && number != "-";
        const int value = hasNumber ? number.toInt() : 1;
        Word(word, value, hasNumber);
    }

    void Word(const QByteArray& word, int value, bool hasNumber) {
        TState& state = states_.back();
        if (groupStart_ && (word == "fonttbl" || word == "colortbl" || word == "stylesheet" ||
                            word == "info" || word == "pict" || word == "header" || word == "footer")) {
            state.skip = true;
        } else if (word == "par") {
            Break(QStringLiteral("</p><p>"));
        } else if (word == "line") {
            Break(QStringLiteral("<br/>"));
        } else if (word == "tab") {
            Text(u' ');
        } else if (word == "b") {
            state.bold = value != 0;
        } else if (word == "i") {
            state.italic = value != 0;
        } else if (word == "ul") {
            state.underline = value != 0;
        } else if (word == "ulnone") {
            state.underline = false;
        } else if (word == "plain") {
            state.bold = state.italic = state.underline = false;
        } else if (word == "uc" && hasNumber) {
            state.unicodeSkip = value;
        } else if (word == "u" && hasNumber) {
            Text(QChar(static_cast<char16_t>(value < 0 ? value + 65536 : value)));
            SkipFallback(state.unicodeSkip);
        }
    }

    // The characters a reader without Unicode shows instead.
    void SkipFallback(int count) {
        for (int i = 0; i < count && pos_ < rtf_.size(); ++i) {
            if (rtf_.at(pos_) == '\\' && pos_ + 1 < rtf_.size() && rtf_.at(pos_ + 1) == '\'')
                pos_ += 4;
            else if (rtf_.at(pos_) == '{' || rtf_.at(pos_) == '}')
                return;
            else
                ++pos_;
        }
    }

    void Text(QChar c) {
        const TState& state = states_.back();
        if (state.skip)
            return;
        const QString style = Style(state);
        if (style != currentStyle_) {
            EndSpan();
            if (!style.isEmpty())
                html_ += QStringLiteral("<span style=\"") + style + QStringLiteral("\">");
            currentStyle_ = style;
        }
        if (c == u'<')
            html_ += QStringLiteral("&lt;");
        else if (c == u'>')
            html_ += QStringLiteral("&gt;");
        else if (c == u'&')
            html_ += QStringLiteral("&amp;");
        else
            html_ += c;
    }

    void Break(const QString& markup) {
        if (states_.back().skip)
            return;
        EndSpan();
        html_ += markup;
    }

    void EndSpan() {
        if (!currentStyle_.isEmpty())
            html_ += QStringLiteral("</span>");
        currentStyle_.clear();
    }

    static QString Style(const TState& state) {
        QString style;
        if (state.bold)
            style += QStringLiteral("font-weight:bold;");
        if (state.italic)
            style += QStringLiteral("font-style:italic;");
        if (state.underline)
            style += QStringLiteral("text-decoration:underline;");
        return style;
    }

    const QByteArray& rtf_;
    qsizetype pos_ = 0;
    std::vector<TState> states_;
    bool groupStart_ = false;
    QString html_;
    QString currentStyle_;
};

} // namespace

QString RtfToHtml(const QByteArray& rtf) {
    return TRtfReader(rtf).Html();
}
