#include "TestSupport.h"
#include "core/Module1.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using platform::Variant;

namespace {

class NumberText : public ::testing::Test {
protected:
    void SetUp() override { Module1::InitGlobals(); }

    static QString text(double v, const QString& picture, const Variant& method, int row = 0) {
        Module1::RecPos(row, 3) = picture;
        Module1::RecPos(row, 5) = method;
        return Module1::CalcMod(row, v);
    }
};

struct Case {
    const char* name;
    double number;
    const char* picture;
    Variant method;
    QString result;
};

TEST_F(NumberText, PicturesMethodsAndShifts) {
    const Case cases[] = {
        // Every method on one number, empty picture.
        {"none", 1234, "", 0, "1234"},
        {"mod7", 1234, "", 1, "12342"},
        {"mod7 complement", 1234, "", 2, "12345"},
        {"mod9", 1234, "", 3, "12341"},
        {"mod9 complement", 1234, "", 4, "12348"},
        {"mod10", 1234, "", 5, "12344"},
        {"mod10 complement", 1234, "", 6, "12346"},
        {"ean", 1234, "", 7, "12348"},
        // Complement methods at multiples give m itself; 10 prints as X.
        {"mod7 complement at 7", 7, "", 2, "77"},
        {"mod9 complement at 9", 9, "", 4, "99"},
        {"mod10 complement at 1230", 1230, "", 6, "1230X"},
        {"fifteen digits mod7", 123456789012345, "", 1, "1234567890123455"},
        {"ean twelve digits", 400638133393, "", 7, "4006381333931"},
        {"max leading slash", 999999999999999, "/################", 1, "9999999999999995"},
        // Pictures.
        {"literal dash", 1234, "##-###", 1, "12-342"},
        {"leading zeros", 1234, "/######", 1, "012342"},
        {"leading zeros ean", 1234, "/#######", 7, "0012348"},
        {"leading zeros complement", 12, "/###", 2, "122"},
        {"zero all zeros X", 0, "/####", 6, "000X"},
        {"more hashes than digits", 1234, "######", 0, "1234"},
        {"fewer hashes keep the right", 123456, "###", 0, "456"},
        {"letter literal", 1234, "A###", 0, "A234"},
        {"slash not first", 1234, "12/34##", 0, "123434"},
        {"micr letters", 5, "C######C", 5, "C55C"},
        {"zero is a literal", 1234, "0####", 0, "01234"},
        {"no hashes", 1234, "ABC", 5, "ABC"},
        // Letter shift.
        {"shift A", 1234, "^A#####", 1, "BCDEC"},
        {"shift a", 1234, "^a####", 0, "bcde"},
        {"shift K", 1234, "^K####", 0, "LMNO"},
        {"shift in the middle", 1234, "##^A##", 1, "CDEC"},
        {"shift moves X", 1230, "^A#####", 6, "BCDAi"},
        {"shift zero", 1234, "^0####", 0, "1234"},
        {"second caret is literal", 1234, "^A##^K##", 0, "BC^KDE"},
        {"shift with leading zeros", 0, "/^A####", 6, "AAAi"},
        {"slash after shift is not first", 12, "^A/####", 0, "BC"},
        {"caret last", 12, "##^", 0, QString(QChar(1)) + QChar(2)},
        {"shift beyond ascii", 9, "^z#", 0, QString(QChar(131))},
        {"shift to an invalid code", -5, "^", 0, QString(QChar(5))},
        // The method field in its stored forms and bad values.
        {"method as list text", 1234, "", "3, Mod 9", "12341"},
        {"method as Int32", 1234, "", std::int32_t(3), "12341"},
        {"method as Double", 1234, "", 3.0, "12341"},
        {"method empty", 1234, "", Variant(), "1234"},
        {"method no number", 1234, "", "Mod 9", "1234"},
        {"method 8", 1234, "", 8, "1234000000000001234"},
        {"method negative", 1234, "", -1, "1234000000000001234"},
        {"method fraction", 1234, "", 3.5, "1234000000000001234"},
        {"method 8 with slash", 12, "/##############################", "8", "000000000000012000000000000012"},
        // Running numbers outside the range still give a text.
        {"negative", -5, "", 0, "-5"},
        {"negative mod7", -5, "", 1, "-50"},
        {"fraction rounds", 12.5, "", 5, "133"},
        {"sixteen digits", 1234567890123456, "", 0, "1234567890123456"},
        {"sixteen digits mod10", 1234567890123456, "", 5, "12345678901234565"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.number, c.picture, c.method), c.result) << c.name;
}

// The text windows of the long division agree with 64-bit arithmetic over the whole range.
TEST_F(NumberText, CheckDigitsMatchIntegerArithmetic) {
    // Multiples of 7, 9 and 10, window edges and the largest number, then random ones.
    std::vector<std::uint64_t> numbers;
    for (std::uint64_t n :
         {0ull, 1ull, 7ull, 9ull, 10ull, 63ull, 90ull, 99999999ull, 100000000ull, 100000007ull,
          100000000000000ull, 999999999999990ull, 999999999999993ull, 999999999999999ull})
        numbers.push_back(n);
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<std::uint64_t> any(0, 999999999999999);
    for (int k = 0; k < 2000; ++k)
        numbers.push_back(any(rng));

    for (std::uint64_t n : numbers) {
        int ean = 0, weight = 3;
        for (std::uint64_t rest = n; rest > 0; rest /= 10, weight = 4 - weight)
            ean += int(rest % 10) * weight;
        const QString digits = QString::number(n);
        const QString checks[] = {"",
                                  QString::number(n % 7),
                                  QString::number(7 - n % 7),
                                  QString::number(n % 9),
                                  QString::number(9 - n % 9),
                                  QString::number(n % 10),
                                  n % 10 == 0 ? "X" : QString::number(10 - n % 10),
                                  QString::number((10 - ean % 10) % 10)};
        for (int method = 0; method <= 7; ++method)
            ASSERT_EQ(text(double(n), "", method), digits + checks[method]) << n << " method " << method;
    }
}

TEST_F(NumberText, EanCheckDigitsOfKnownCodes) {
    const struct {
        const char* digits;
        QString check;
    } codes[] = {
        {"400638133393", "1"},
        {"501234567890", "0"},
        {"978030640615", "7"},
        {"036000291452", "2"},
        {"000000000000000", "0"},
        {"000400638133393", "1"},
        {"9638507", "4"},
        {"", "0"},
        {"12a4", "1"},
    };
    for (const auto& c : codes)
        EXPECT_EQ(Module1::calcEAN(c.digits), c.check) << c.digits;
}

TEST_F(NumberText, OddInputNeverFails) {
    const double numbers[] = {0,
                              -1,
                              0.4,
                              -999999999999999,
                              1e20,
                              1e300,
                              -1e300,
                              std::nan(""),
                              std::numeric_limits<double>::infinity()};
    const char* pictures[] = {"", "/", "^", "^^", "#^", "/^z###", "^\xF0\x9F\x98\x80##", "###.###", "\"##\""};
    for (double v : numbers)
        for (const char* picture : pictures)
            for (int method = -1; method <= 8; ++method)
                EXPECT_NO_THROW(text(v, QString::fromUtf8(picture), method));
}

TEST_F(NumberText, RowOutsideTheTableThrows) {
    EXPECT_THROW(Module1::CalcMod(129, 1), platform::OutOfBoundsException);
    EXPECT_THROW(Module1::CalcMod(-1, 1), platform::OutOfBoundsException);
    EXPECT_EQ(text(5, "#", 0, 128), "5");
}

} // namespace
