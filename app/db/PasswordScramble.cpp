#include "PasswordScramble.h"

#include "Win1250.h"

#include <array>
#include <cstdint>

namespace {

// Nineteen bytes shared with the setup program; the cipher takes the first sixteen.
constexpr char kKey[] = "Cinemon-Pujcovna-19";
static_assert(sizeof(kKey) - 1 == 19);

// The PC1 stream cipher with a 128-bit key, 16-bit words. One instance serves one call,
// so every call starts from the fresh key and a zero state.
class Pc1 final {
public:
    Pc1() {
        for (std::size_t i = 0; i < key_.size(); ++i)
            key_[i] = static_cast<std::uint8_t>(kKey[i]);
    }

    // The key schedule: one 16-bit word per processed byte.
    std::uint16_t NextWord() {
        std::uint16_t inter = 0;
        index_ = 0;
        words_[0] = static_cast<std::uint16_t>(key_[0] * 256 + key_[1]);
        inter = Code();
        for (std::size_t k = 1; k < words_.size(); ++k) {
            words_[k] = static_cast<std::uint16_t>(words_[k - 1] ^ (key_[2 * k] * 256 + key_[2 * k + 1]));
            inter ^= Code();
        }
        index_ = 0;
        return inter;
    }

    void MixIntoKey(std::uint8_t plain) {
        for (auto& b : key_)
            b ^= plain;
    }

private:
    std::uint16_t Code() {
        std::uint16_t dx = static_cast<std::uint16_t>(running_ + index_);
        std::uint16_t ax = words_[index_];
        std::uint16_t cx = 0x015a;       // 346
        const std::uint16_t bx = 0x4e35; // 20021

        std::swap(ax, accumulator_);
        std::swap(ax, dx);
        if (ax != 0)
            ax = static_cast<std::uint16_t>(ax * bx);
        std::swap(ax, cx);
        if (ax != 0) {
            ax = static_cast<std::uint16_t>(ax * accumulator_);
            cx = static_cast<std::uint16_t>(ax + cx);
        }
        std::swap(ax, accumulator_);
        ax = static_cast<std::uint16_t>(ax * bx);
        dx = static_cast<std::uint16_t>(cx + dx);
        ax = static_cast<std::uint16_t>(ax + 1);
        running_ = dx;
        words_[index_] = ax;
        ++index_;
        return static_cast<std::uint16_t>(ax ^ dx);
    }

    std::array<std::uint8_t, 16> key_{};
    std::array<std::uint16_t, 8> words_{};
    std::uint16_t running_ = 0;
    std::uint16_t accumulator_ = 0;
    std::size_t index_ = 0;
};

std::uint8_t WordMask(std::uint16_t word) {
    return static_cast<std::uint8_t>((word >> 8) ^ (word & 0xff));
}

} // namespace

QString ScramblePassword(const QString& text) {
    Pc1 cipher;
    QString out;
    for (const char c : Win1250::Encode(text)) {
        const auto plain = static_cast<std::uint8_t>(c);
        const std::uint16_t word = cipher.NextWord();
        cipher.MixIntoKey(plain);
        const auto coded = static_cast<std::uint8_t>(plain ^ WordMask(word));
        out.append(QChar(u'Z' - (coded >> 4)));
        out.append(QChar(u'A' + (coded & 0x0f)));
    }
    return out;
}

QString UnscramblePassword(const QString& text) {
    Pc1 cipher;
    QByteArray plainBytes;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const int high = u'Z' - text[i].unicode();
        const int low = text[i + 1].unicode() - u'A';
        const auto coded = static_cast<std::uint8_t>(high * 16 + low);
        const std::uint16_t word = cipher.NextWord();
        const auto plain = static_cast<std::uint8_t>(coded ^ WordMask(word));
        cipher.MixIntoKey(plain);
        plainBytes.append(static_cast<char>(plain));
    }
    return Win1250::Decode(plainBytes);
}
