// The figures of the report's tables: five significant figures, written out in full for the
// magnitudes of engineering and with an exponent only beyond them.

#include <QtTest>
#include <cmath>
#include <limits>

#include "ReportTestSupport.h"
#include "report/ReportNumbers.h"

class ReportFiguresTest : public QObject {
    Q_OBJECT
private slots:
    void figuresAreWrittenAsTheTablesShowThem() {
        const struct {
            double value;
            int digits;
            const char* text;
        } cases[] = {
            {-102750, 5, "-102750"},        {-102753.4, 5, "-102750"},   {0.5896, 5, "0.5896"},
            {1234567, 5, "1234600"},        {12.5, 5, "12.5"},           {12.500001, 5, "12.5"},
            {-0.0, 5, "0"},                 {0, 5, "0"},                 {1e-7, 5, "1e-07"},
            {2.5e10, 5, "2.5e+10"},         {-1.23456e9, 5, "-1.2346e+09"}, {99999.5, 5, "100000"},
            {999999999.6, 5, "1e+09"},      {123456789, 5, "123460000"}, {0.00012345, 5, "0.00012345"},
            {1e-5, 5, "0.00001"},           {9.9e-6, 5, "9.9e-06"},      {-0.069444444, 5, "-0.069444"},
            {1.23456, 4, "1.235"},          {98765.4, 4, "98770"},
            {std::numeric_limits<double>::infinity(), 5, "inf"},
        };
        for (const auto& c : cases)
            QCOMPARE(torvex::Figure(c.value, c.digits), QString(c.text));
    }

    // Read back, every figure from 1e-12 to 1e14 is the value to five figures, as a reader
    // of the text report would round it.
    void figuresReadBackAsTheValue() {
        for (double value = 1.234567e-12; value < 1e14; value *= 1.6180339887) {
            for (double signed_ : {value, -value}) {
                const QString text = torvex::Figure(signed_);
                QVERIFY2(torvex::testing::SignificantFigures(text) <= 5, qPrintable(text));
                const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(signed_))) - 4);
                QVERIFY2(std::fabs(text.toDouble() - signed_) <= 0.5 * unit * (1 + 1e-9), qPrintable(text));
                const bool exponent = std::fabs(signed_) >= 1e9 || std::fabs(signed_) < 1e-5;
                QCOMPARE(text.contains('e'), exponent);
            }
        }
    }
};

QTEST_MAIN(ReportFiguresTest)
#include "ReportFiguresTest.moc"
