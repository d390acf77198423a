// Tests of the local vector neu: t handling of its arithmetic, the equality
// tolerance, the RINEX and plain output layouts and scaled input.
#include "gdata/neu.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/near.h"

namespace {

class NeuTest : public ::testing::Test {
 protected:
  void TearDown() override {
    neuns::Unit = 1;
    neuns::UnitT = 1;
    neuns::PrintType = neuns::NORINEX;
    neuns::PrintTime = false;
    neuns::ReadTime = false;
    neuns::NDecNE = neuns::NDecU = 4;
    neuns::WidthNE = neuns::WidthU = 14;
  }
};

void ExpectNeu(const neu& p, long double n, long double e, long double u, long double t,
               long double tol) {
  EXPECT_NEAR_L(p.GetN(), n, tol);
  EXPECT_NEAR_L(p.GetE(), e, tol);
  EXPECT_NEAR_L(p.GetU(), u, tol);
  EXPECT_NEAR_L(p.GetT(), t, tol);
}

TEST_F(NeuTest, ArithmeticKeepsTheFourthComponent) {
  ExpectNeu(neu(1, 2, 3), 1, 2, 3, 0, 0);
  neu p(1, 2, 3, 5);
  p.Set(1, 2, 3);
  EXPECT_EQ(p.GetT(), 0);
  p.Set(1, 2, 3, 4);
  p.SetU(5);
  ExpectNeu(p, 1, 2, 5, 4, 0);

  neu q(2, 4, 6, 8);
  q /= 2;
  ExpectNeu(q, 1, 2, 3, 4, 0);
  // Unlike xyz, the element product and the square root include t.
  ExpectNeu(ElementP(neu(1, 2, 3, 4), neu(5, 6, 7, 8)), 5, 12, 21, 32, 0);
  ExpectNeu(sqrt(neu(4, 9, 16, 25)), 2, 3, 4, 5, 0);
  ExpectNeu(neu(1, 2, 3, 4) + neu(0.5, 0.5, 0.5, 1), 1.5, 2.5, 3.5, 5, 0);
  ExpectNeu(neu(1, 2, 3, 4) - neu(0.5, 0.5, 0.5, 1), 0.5, 1.5, 2.5, 3, 0);
  ExpectNeu(neu(1, 2, 3, 4) * 3, 3, 6, 9, 12, 0);
  ExpectNeu(-2 * neu(1, 2, 3, 4), -2, -4, -6, -8, 0);
  q += neu(1, 1, 1, 1);
  q -= neu(0, 0, 0, 5);
  ExpectNeu(q, 2, 3, 4, 0, 0);
  EXPECT_EQ(neu(3, 0, 4).GetLength(), 5);

  EXPECT_TRUE(neu(1, 2, 3, 4) == neu(1, 2, 3 + 1e-15L, 4));
  EXPECT_FALSE(neu(1, 2, 3, 4) == neu(1, 2, 3, 4.5));
  EXPECT_TRUE(neu(0, 0, 0) != neu(1e-14, 0, 0));
}

TEST_F(NeuTest, OutputLayouts) {
  std::ostringstream os;
  neuns::PrintType = neuns::RINEX;
  neuns::Unit = neuns::MM;  // the RINEX layout ignores the unit, widths and decimals
  neuns::WidthNE = 5;
  os << neu(1, 2, 3);
  EXPECT_EQ(os.str(), "        3.0000        2.0000        1.0000");

  neuns::PrintType = neuns::NORINEX;
  neuns::Unit = neuns::M;
  neuns::WidthNE = 14;
  os.str("");
  os << neu(0.0012L, 0, 0);
  EXPECT_EQ(os.str(), "        0.0012        0.0000        0.0000");
  neuns::Unit = neuns::MM;
  os.str("");
  os << neu(0.0012L, 0, 0);
  EXPECT_EQ(os.str(), "        1.2000        0.0000        0.0000");

  // Separate width and decimals for up, and the appended t.
  neuns::Unit = neuns::CM;
  neuns::NDecU = 1;
  neuns::WidthU = 8;
  neuns::PrintTime = true;
  neuns::UnitT = neuns::MS;
  os.str("");
  os << neu(0.1L, -0.25L, 1.5L, 0.0025L);
  EXPECT_EQ(os.str(), "       10.0000      -25.0000   150.0  2.500000");
  EXPECT_TRUE(os.flags() & std::ios::fixed);
}

TEST_F(NeuTest, InputIgnoresLayoutAndScales) {
  neu p(9, 9, 9, 9);
  neuns::PrintType = neuns::RINEX;
  std::istringstream("1 2 3") >> p;
  ExpectNeu(p, 1, 2, 3, 0, 0);
  neuns::Unit = neuns::MM;
  std::istringstream("1 2 3") >> p;
  ExpectNeu(p, 0.001L, 0.002L, 0.003L, 0, 1e-18L);
  neuns::Unit = neuns::M;
  neuns::ReadTime = true;
  neuns::UnitT = neuns::MS;
  std::istringstream("1 2 3 4") >> p;
  ExpectNeu(p, 1, 2, 3, 0.004L, 1e-18L);
}

}  // namespace
