#include "TestSupport.h"
#include "core/Module1.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using platform::Variant;

namespace {

QString NumberText(double v, const QString& picture, const Variant& method) {
    Module1::RecPos(0, 3) = picture;
    Module1::RecPos(0, 5) = method;
    return Module1::CalcMod(0, v);
}

TEST(NumberText, PicturesMethodsAndShifts) {
    const struct {
        double number;
        const char* picture;
        Variant method;
        QString result;
    } cases[] = {{1234, "##-###", 1, "12-342"},
                 {1234, "/######", 1, "012342"},
                 {1234, "/#######", 7, "0012348"},
                 {12, "/###", 2, "122"},
                 {0, "/####", 6, "000X"},
                 {1234, "######", 0, "1234"},
                 {123456, "###", 0, "456"},
                 {1234, "A###", 0, "A234"},
                 {1234, "12/34##", 0, "123434"},
                 {12, "^A/####", 0, "BC"},
                 {5, "C######C", 5, "C55C"},
                 {1234, "^A#####", 1, "BCDEC"},
                 {1234, "^a####", 0, "bcde"},
                 {1234, "^K####", 0, "LMNO"},
                 {1234, "##^A##", 1, "CDEC"},
                 {1230, "^A#####", 6, "BCDAi"},
                 {1234, "^0####", 0, "1234"},
                 {1234, "^A##^K##", 0, "BC^KDE"},
                 {12, "##^", 0, QString(QChar(1)) + QChar(2)},
                 {1234, "", "3, Mod 9", "12341"},
                 {1234, "", Variant(), "1234"},
                 {1234, "", 8, "1234000000000001234"},
                 {1234, "", -1, "1234000000000001234"},
                 {1234, "", 3.5, "1234000000000001234"},
                 {999999999999999, "/################", 1, "9999999999999995"},
                 {1234, "0####", 0, "01234"},
                 {1234, "ABC", 5, "ABC"},
                 {0, "/^A####", 6, "AAAi"},
                 {9, "^z#", 0, QString(QChar(131))},
                 {-5, "^", 0, QString(QChar(5))},
                 {1234, "", std::int32_t(3), "12341"},
                 {1234, "", 3.0, "12341"},
                 {1234, "", "Mod 9", "1234"},
                 {12, "/##############################", "8", "000000000000012000000000000012"},
                 {-5, "", 0, "-5"},
                 {-5, "", 1, "-50"},
                 {12.5, "", 5, "133"},
                 {1234567890123456, "", 0, "1234567890123456"},
                 {1234567890123456, "", 5, "12345678901234565"}};
    for (const auto& c : cases)
        EXPECT_EQ(NumberText(c.number, c.picture, c.method), c.result)
            << c.number << " " << c.picture << " " << c.method.StringValue().toStdString();
}

TEST(NumberText, CheckDigitsMatchIntegerArithmetic) {
    // Multiples of 7, 9 and 10, the edges of the long division's windows and the largest number.
    std::vector<std::uint64_t> numbers = {0, 1, 7, 9, 10, 63, 90, 99999999, 100000000, 100000007};
    numbers.insert(numbers.end(), {100000000000000, 999999999999990, 999999999999993, 999999999999999});
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<std::uint64_t> any(0, 999999999999999);
    for (int k = 0; k < 300; ++k)
        numbers.push_back(any(rng));
    for (std::uint64_t n : numbers) {
        int ean = 0, weight = 3;
        for (std::uint64_t rest = n; rest > 0; rest /= 10, weight = 4 - weight)
            ean += int(rest % 10) * weight;
        const std::uint64_t r7 = n % 7, r9 = n % 9, r10 = n % 10;
        auto N = [](std::uint64_t v) { return QString::number(v); };
        const QString checks[] = {
            "", N(r7), N(7 - r7), N(r9), N(9 - r9), N(r10), r10 ? N(10 - r10) : "X", N((10 - ean % 10) % 10)};
        for (int method = 0; method <= 7; ++method)
            ASSERT_EQ(NumberText(double(n), "", method), N(n) + checks[method]) << n << " method " << method;
    }
}

TEST(NumberText, OddInputNeverFails) {
    for (double v : {-1.0, 0.4, 1e20, -1e300, std::nan(""), std::numeric_limits<double>::infinity()})
        for (const char* picture : {"", "/", "^", "^^", "/^z###", "^\xF0\x9F\x98\x80##", "\"##\""})
            for (int method = -1; method <= 8; ++method)
                EXPECT_NO_THROW(NumberText(v, QString::fromUtf8(picture), method));
}

TEST(NumberText, EanCheckDigitsOfKnownCodes) {
    using Module1::calcEAN;
    EXPECT_EQ(QStringList({calcEAN("400638133393"), calcEAN("501234567890"), calcEAN("978030640615"),
                           calcEAN("036000291452"), calcEAN(""), calcEAN("000000000000000"),
                           calcEAN("000400638133393"), calcEAN("9638507"), calcEAN("12a4")}),
              QStringList({"1", "0", "7", "2", "0", "0", "1", "4", "1"}));
}

} // namespace
