#pragma once
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Generated text for round trips through writers and readers: what breaks careless ones.
namespace testing_support {

// Every character of Unicode's Cc, Cf, Zl and Zp categories (one outside the Basic
// Multilingual Plane as its surrogate pair).
inline const QStringList& controlAndFormatCharacters() {
    static const QStringList characters = [] {
        QStringList all;
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            const auto category = QChar::category(c);
            if (category == QChar::Other_Control || category == QChar::Other_Format ||
                category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
                all.append(QString::fromUcs4(&c, 1));
        }
        return all;
    }();
    return characters;
}

// Values built of markup characters, references, line ends, blanks, letters and, in turn,
// each of the characters above, from a fixed seed.
class HardText {
public:
    // `extra`: more pieces the values are made of; one value in `longEvery` is 100,000
    // characters long.
    explicit HardText(quint32 seed, QStringList extra = {}, int longEvery = 4000)
        : random_(seed), extra_(std::move(extra)), longEvery_(longEvery) {}
    QRandomGenerator& random() { return random_; }
    int below(int n) { return int(random_.bounded(n)); }

    QString piece() {
        static const QStringList pieces = QString::fromUtf8("& < > \" ' &amp; &#233; &lt; &#x1F600; a Z é % |")
                                              .split(QLatin1Char(' '))
                                          << QStringLiteral("\r") << QStringLiteral("\n") << QStringLiteral("\r\n")
                                          << QStringLiteral(" ") << QStringLiteral("\t") << QStringLiteral("\u00A0");
        const int pick = below(int(pieces.size() + extra_.size()) + 4);
        if (pick < pieces.size()) return pieces.at(pick);
        if (pick < pieces.size() + extra_.size()) return extra_.at(pick - pieces.size());
        const QStringList& special = controlAndFormatCharacters();
        return special.at(nextSpecial_++ % special.size());
    }
    // Of no, one or a few pieces; now and then 100,000 characters long.
    QString value(int most = 6) {
        if (below(longEvery_) == 0) return QString(100000, QLatin1Char('x')) + piece();
        const int kind = below(10);
        if (kind == 0) return QString();
        QString text;
        for (int n = kind == 1 ? 1 : 1 + below(most); n > 0; --n) text += piece();
        return text;
    }
    // Every character of controlAndFormatCharacters() has been handed out.
    bool usedEverySpecial() const { return nextSpecial_ >= controlAndFormatCharacters().size(); }

private:
    QRandomGenerator random_;
    QStringList extra_;
    int longEvery_;
    qsizetype nextSpecial_ = 0;
};

}  // namespace testing_support
