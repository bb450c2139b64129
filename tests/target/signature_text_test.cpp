#include <gtest/gtest.h>

#include "target/deviation_text.h"
#include "target/signature_parts.h"

namespace varnock {
namespace {

TEST(SignatureTextTest, DeviationsAreSignedUpperCaseHex) {
  EXPECT_EQ(DeviationText(0), "0");
  EXPECT_EQ(DeviationText(48), "30");
  EXPECT_EQ(DeviationText(0xABCDEF), "ABCDEF");
  EXPECT_EQ(DeviationText(-0x10), "N10");
  EXPECT_EQ(DeviationText(-790528), "NC1000");
  EXPECT_EQ(DeviationText(-0x80000000LL), "N80000000");
}

TEST(SignatureTextTest, DoubleUnderscoresCollapseLeftToRight) {
  EXPECT_EQ(CollapseUnderscores("TP__Standard"), "TP_Standard");
  EXPECT_EQ(CollapseUnderscores("a___b"), "a__b");
  EXPECT_EQ(CollapseUnderscores("____"), "__");
  EXPECT_EQ(CollapseUnderscores("_a_b_"), "_a_b_");
}

TEST(SignatureTextTest, StandardIsAddedOnlyWhenNothingDeviates) {
  SignatureParts parts{"LE", "UK_P:XP_", false};
  EXPECT_EQ(ComposeSignature(parts, "d"), "LE_UK_P:XP_Standard (d)");

  AppendDeviation(parts, "A:", "0");
  EXPECT_FALSE(parts.nonStandard);
  AppendDeviation(parts, "A:", "M");
  EXPECT_EQ(ComposeSignature(parts, "d"), "LE_UK_P:XP_A:M (d)");

  EXPECT_EQ(ComposeSignature({"??", "", true}, "d"), "??_ (d)");
}

}  // namespace
}  // namespace varnock
