#include "platform/Numbers.h"
#include "TestSupport.h"

#include <QLocale>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <random>

using namespace platform;

TEST(Numbers, ValReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"", 0},         {"+7", 7},          {"12abc", 12},
                 {"5.", 5},       {"-", 0},           {"1e3", 1000},
                 {"1e+", 1},      {"e5", 0},          {"\t4", 4},
                 {"0000012", 12}, {"abc", 0},         {"  12", 12},
                 {"-3.5", -3.5},  {"1,234", 1},       {"1e", 1},
                 {"1E-2", 0.01},  {"1e999", DBL_MAX}, {"-1e999", -DBL_MAX},
                 {".5", 0.5},     {"3, Mod 9", 3},    {"999999999999999", 999999999999999.0}};
    for (const auto& c : cases)
        EXPECT_EQ(Val(c.text), c.value) << c.text;
}

// Qt takes the C library's locale from the environment; numbers in files keep their point there too.
TEST(Numbers, ValReadsThePointUnderACommaLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale installed";
    const double read[] = {Val("210.5"), Val("-0.25e2"), Val(Str(297.0000000001))};
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(read[0], 210.5);
    EXPECT_EQ(read[1], -25);
    EXPECT_EQ(read[2], 297.0000000001);
}

TEST(Numbers, StrThenValGivesTheSameDouble) {
    EXPECT_EQ(
        QStringList({Str(std::int32_t(-42)), Str(1234567.0), Str(0.1), Str(210.0), Str(99999999999999.0)}),
        QStringList({"-42", "1234567", "0.1", "210", "99999999999999"}));
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::vector<double> values = {
        0.0,  -0.0, DBL_MIN, DBL_MAX,   -DBL_MAX,  1e-320,         5e-324,
        1e15, 1e16, 1e-5,    0.1 + 0.2, 1.0 / 3.0, 297.0000000001, 123456789.123456789};
    for (int i = 0; i < 20000; ++i) {
        double d;
        const std::uint64_t b = bits(rng);
        std::memcpy(&d, &b, sizeof d);
        if (std::isfinite(d))
            values.push_back(d);
        values.push_back(std::uniform_real_distribution<double>(-1000, 1000)(rng));
    }
    for (double d : values) {
        const QString s = Str(d);
        ASSERT_EQ(Val(s), d) << s.toStdString();
        ASSERT_EQ(std::signbit(Val(s)), std::signbit(d)) << s.toStdString();
    }
}

TEST(Numbers, FormatPictures) {
    const QString display = "\"##########.0;##########.0;##########\"";
    struct Case {
        double value;
        QString picture, text;
    } cases[] = {
        {210, display, "210.0"},
        {12.34, display, "12.3"},
        {-5.25, display, "5.3"}, // the negative section prints no sign of its own
        {0, display, "0"},
        {0.5, display, "0.5"},
        {1234, "\"#############\"", "1234"},
        {0, "\"#############\"", "0"},
        {0, "###############", "0"},
        {999999999999999.0, "###############", "999999999999999"},
        {3.1, "###.###", "3.1"},
        {3, "#.00", "3.00"},
        {-3, "#.00", "-3.00"},
        {42, "A##B", "A42B"},
        {7, "00", "07"},
        {-0.0001, "#", "0"},
        {1e20, "#", "100000000000000000000"},
        {3.14159, "###.###", "3.142"},
        {3, "###.###", "3"},
        {12345, "###", "12345"},
        {1234, "000000000000000", "000000000001234"},
        {999999999999999.0, "000000000000000", "999999999999999"},
        // Thousands grouping, and a rounding that carries into a new digit.
        {1234567, "#,###", "1,234,567"},
        {1234.5, "#,##0.00", "1,234.50"},
        {-1234567.891, "#,##0.0;(#,##0.0)", "(1,234,567.9)"},
        {9.996, "0.00", "10.00"},
        {99.96, "##.#", "100"}, // "#" drops the trailing zero
        {999.5, "#,###", "1,000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, c.picture), c.text) << c.value << " " << c.picture.toStdString();
    for (double v : {0.0, 0.04, 0.06, 1.0, 99.95, 1e9, 123456.789}) // every shown value reads back
        EXPECT_NEAR(Val(Format(v, display)), v, 0.05) << v;
}

TEST(Numbers, IntTruncatesAndSaturates) {
    struct Case {
        double in;
        std::int32_t out;
    } cases[] = {{20.7, 20},
                 {-20.7, -20},
                 {19.444, 19},
                 {0.0, 0},
                 {NAN, 0},
                 {1e300, INT32_MAX},
                 {-1e300, INT32_MIN},
                 {INFINITY, INT32_MAX},
                 {2147483647.9, INT32_MAX},
                 {-2147483648.5, INT32_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(Int(c.in), c.out) << c.in;
}

// A typed number is the whole text, blanks aside, written as the program writes numbers or with the
// locale's thousands separators; anything else is none. The program's notation wins where the locale
// would read the same text otherwise.
TEST(Numbers, TypedNumberIsTheWholeTextOrNone) {
    const QLocale english(QLocale::English, QLocale::UnitedStates), german(QLocale::German, QLocale::Germany),
        french(QLocale::French, QLocale::France);
    struct Case {
        const char* text;
        const QLocale* locale;
        std::optional<double> value;
    } cases[] = {
        {"50,000", &english, 50000},
        {"1,234,567.5", &english, 1234567.5},
        {" 12 ", &english, 12},
        {"+5", &english, 5},
        {"-3.5", &english, -3.5},
        {".5", &english, 0.5},
        {"2.1e+2", &english, 210},
        {"1e-2", &english, 0.01},
        {"50,00", &english, std::nullopt},
        {"1,5", &english, std::nullopt},
        {"50,", &english, std::nullopt},
        {"abc", &english, std::nullopt},
        {"12abc", &english, std::nullopt},
        {"3, Mod 9", &english, std::nullopt},
        {"1e", &english, std::nullopt},
        {"", &english, std::nullopt},
        {"   ", &english, std::nullopt},
        {"1e999", &english, std::nullopt},
        {"inf", &english, std::nullopt},
        {"nan", &english, std::nullopt},
        {"0x10", &english, std::nullopt},
        {"1.234,5", &german, 1234.5},
        {"1,5", &german, 1.5},
        {"0.125", &german, 0.125}, // as the program shows it, not 125
        {"50.000", &german, 50},
        {"50 000", &french, 50000},
        {"1,25", &french, 1.25},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TypedNumber(c.text, *c.locale), c.value) << c.text << " " << c.locale->name().toStdString();
}
