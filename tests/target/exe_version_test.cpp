#include "target/exe_version.h"

#include <gtest/gtest.h>

#include "support/paths.h"
#include "target/engine_probes.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tests/target/synthetic_exe.h"

namespace varnock {
namespace {

using namespace probes;
using testing::ExeImage;
using testing::Put;
using testing::ReferenceEngine;

constexpr const char* kEngineDate = " (11-Nov-2000  15:21)";

class ExeVersionTest : public ::testing::Test {
 protected:
  // The signature of `image` written under `name`; no message may appear.
  std::string Signature(const Bytes& image, const std::string& name = "tomb4.exe") {
    const std::string path = dir.Write(name, image);
    std::string signature = GetExeVersion(path, ui);
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().at(0);
    return signature;
  }
  // The failure message of `image` written under `name`; the result must be "ERROR".
  std::string FailureOf(const Bytes& image, const std::string& name = "tomb4.exe") {
    const std::string path = dir.Write(name, image);
    EXPECT_EQ(GetExeVersion(path, ui), "ERROR");
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages.at(0).icon, MessageIcon::Critical);
    const std::string prefix =
        "ERROR trying to compute version of file: " + path + "\r\nError mexage: ";
    EXPECT_TRUE(ui.messages.at(0).text.starts_with(prefix)) << ui.messages.at(0).text;
    return ui.messages.at(0).text.substr(prefix.size());
  }

  testing::TempDir dir;
  testing::RecordingUi ui;
  Bytes engine = ReferenceEngine();
};

// ---- The stored signatures come out character for character ----

TEST_F(ExeVersionTest, ReferenceEngineWithDifferentPBytes) {
  EXPECT_EQ(Signature(engine), "LE_UK_P:XP_Standard (11-Nov-2000  15:21)");
}

TEST_F(ExeVersionTest, ReferenceLevelConverter) {
  Bytes image = ExeImage(0x20000, testing::kConverterStamp);
  Put(image, 0x199C0, "PC Level Converter");
  EXPECT_EQ(Signature(image, "tom2pc.exe"), "TP_Standard (16-Oct-2000  10:37)");
}

TEST_F(ExeVersionTest, EmptyEngineFile) {
  EXPECT_EQ(Signature({}), "LE_UNKNOWN_A:M_B:M_C:M_D:M_S:NC1000 (1-Jan-1970  00:00)");
}

// ---- Engine probes ----

TEST_F(ExeVersionTest, PBytesInPlaceAddNothing) {
  Put(engine, kPlacePForLe, kProbeP);
  EXPECT_EQ(Signature(engine), std::string("LE_UK_Standard") + kEngineDate);
}

TEST_F(ExeVersionTest, OnlyTheFirstOccurrenceCounts) {
  Put(engine, 0x100, kProbeA);
  // A is no longer in place, so the layout is unknown and probe P does not run.
  EXPECT_EQ(Signature(engine), std::string("LE_UK_A:N6F9AD") + kEngineDate);
}

TEST_F(ExeVersionTest, LogoCodesAreJoinedOrCounted) {
  Put(engine, 0x1000, "usLogo.pak");  // letter case differs: no occurrence
  EXPECT_EQ(Signature(engine, "tomb4.exe").substr(0, 6), "LE_UK_");

  Put(engine, 0x2000, "fr");
  Put(engine, 0x2002, kLogoText);
  EXPECT_EQ(Signature(engine, "tomb4.exe"), std::string("LE_FR/UK_P:XP_Standard") + kEngineDate);

  Put(engine, 0x3000, "de");
  Put(engine, 0x3002, kLogoText);
  EXPECT_EQ(Signature(engine, "tomb4.exe").substr(0, 8), "LE_INT3_");

  Put(engine, 0x4000, "it");
  Put(engine, 0x4002, kLogoText);
  EXPECT_EQ(Signature(engine, "tomb4.exe").substr(0, 8), "LE_INT4_");
}

TEST_F(ExeVersionTest, LogoNameWithoutTwoBytesBeforeItIsAFailure) {
  Bytes image = ExeImage(0x100, testing::kEngineStamp);
  Put(image, 1, kLogoText);
  EXPECT_FALSE(FailureOf(image).empty());
}

TEST_F(ExeVersionTest, LrEditionMayLackAButNotB) {
  Put(engine, 0x500, kEditionText);
  testing::Erase(engine, kPlaceA, kProbeA.size());
  testing::Erase(engine, kPlaceB, kProbeB.size());
  testing::Erase(engine, kPlaceSleep, kSleepText.size());  // never looked at for LR
  EXPECT_EQ(Signature(engine), std::string("LR_UK_B:M_P:XP") + kEngineDate);

  Put(engine, kPlacePForLr, kProbeP);
  EXPECT_EQ(Signature(engine, "tomb4.exe"), std::string("LR_UK_B:M") + kEngineDate);
}

TEST_F(ExeVersionTest, ShortLrFileFailsOnlyWhenProbePReadsPastTheEnd) {
  Bytes image = ExeImage(kPlacePForLr, testing::kEngineStamp);
  Put(image, 0x500, kEditionText);
  EXPECT_FALSE(FailureOf(image).empty());

  ui.Clear();
  Put(image, kPlacePForLr, "\x85\xC0");  // equal so far; the third byte lies past the end
  EXPECT_FALSE(FailureOf(image).empty());

  ui.Clear();
  image.push_back(0);  // the third byte differs: the comparison stops there
  EXPECT_EQ(Signature(image), "LR_UNKNOWN_B:M_C:M_D:M_P:XP_S:N4A8E4" + std::string(kEngineDate));
}

TEST_F(ExeVersionTest, BThirtyLateWithAInPlaceShiftsProbeP) {
  testing::Erase(engine, kPlaceB, kProbeB.size());
  Put(engine, kPlaceB + kLayoutShift, kProbeB);
  Put(engine, kPlacePForLe, kProbeP);  // unshifted place: not looked at
  EXPECT_EQ(Signature(engine), std::string("LE_UK_B:30_P:XPnew") + kEngineDate);

  testing::Erase(engine, kPlaceSleep, kSleepText.size());
  testing::Erase(engine, kPlaceP3, kProbeP3.size());
  Put(engine, kPlaceSleep + kLayoutShift, kSleepText);
  Put(engine, kPlaceP3 + kLayoutShift, kProbeP3);
  EXPECT_EQ(Signature(engine, "tomb4.exe"), std::string("LE_UK_B:30_P:XP") + kEngineDate);

  Put(engine, kPlacePForLe + kLayoutShift, kProbeP);
  EXPECT_EQ(Signature(engine, "tomb4.exe"), std::string("LE_UK_B:30") + kEngineDate);
}

TEST_F(ExeVersionTest, BThirtyLateWithoutAInPlaceIsNoLayout) {
  testing::Erase(engine, kPlaceA, kProbeA.size());
  testing::Erase(engine, kPlaceB, kProbeB.size());
  Put(engine, kPlaceB + kLayoutShift, kProbeB);
  EXPECT_EQ(Signature(engine), std::string("LE_UK_A:M_B:30") + kEngineDate);
}

TEST_F(ExeVersionTest, SleepOrThirdTestOutOfPlaceGivesXPnew) {
  Bytes moved = engine;
  testing::Erase(moved, kPlaceSleep, kSleepText.size());
  Put(moved, kPlaceSleep + 1, kSleepText);
  EXPECT_EQ(Signature(moved, "tomb4.exe"), std::string("LE_UK_P:XPnew_Standard") + kEngineDate);

  Bytes earlier = engine;
  Put(earlier, 0x40000, kSleepText);
  EXPECT_EQ(Signature(earlier, "tomb4.exe"), std::string("LE_UK_P:XPnew_Standard") + kEngineDate);

  Bytes changed = engine;
  Put(changed, kPlaceP3 + 7, "\xC4");
  EXPECT_EQ(Signature(changed, "tomb4.exe"), std::string("LE_UK_P:XPnew_Standard") + kEngineDate);
}

TEST_F(ExeVersionTest, ThirdTestIgnoresLetterCase) {
  Put(engine, kPlaceP3, "y");      // 0x59 is 'Y'
  Put(engine, kPlaceP3 + 5, "T");  // 0x74 is 't'
  EXPECT_EQ(Signature(engine), std::string("LE_UK_P:XP_Standard") + kEngineDate);
}

TEST_F(ExeVersionTest, SizePieceComesLastWithoutUnderscore) {
  Bytes shorter(engine.begin(), engine.end() - 0x10);
  EXPECT_EQ(Signature(shorter, "tomb4.exe"), std::string("LE_UK_P:XP_S:N10") + kEngineDate);

  engine.resize(engine.size() + 0x10, 0);
  EXPECT_EQ(Signature(engine, "tomb4.exe"), std::string("LE_UK_P:XP_S:10") + kEngineDate);
}

TEST_F(ExeVersionTest, LogoCodeOfUnderscoresCollapses) {
  Put(engine, testing::kLogoPlace - 2, "__");
  EXPECT_EQ(Signature(engine), std::string("LE__P:XP_Standard") + kEngineDate);
}

// ---- Tool programs and names ----

TEST_F(ExeVersionTest, ToolMarkerDistanceIsUnsignedAndUnlabelled) {
  Bytes early = ExeImage(0x20000, testing::kConverterStamp);
  Put(early, 0x199C0 - 0x10, "PC Level Converter");
  EXPECT_EQ(Signature(early, "tom2pc.exe"), "TP_10 (16-Oct-2000  10:37)");

  Bytes late = ExeImage(0x20010, testing::kConverterStamp);
  Put(late, 0x199C0 + 0x10, "PC Level Converter");
  EXPECT_EQ(Signature(late, "tom2pc.exe"), "TP_10_S:10 (16-Oct-2000  10:37)");
}

TEST_F(ExeVersionTest, EachToolHasItsMarkerPlaceAndSize) {
  Bytes script = ExeImage(0x1A9DC, 0);
  Put(script, 0x1692D, "\\c\\script.c");
  EXPECT_EQ(Signature(script, "SCRIPT.EXE"), "SC_Standard (1-Jan-1970  00:00)");

  Bytes editor = ExeImage(0x69000, 0);
  Put(editor, 0x61C38, "Room Edit");
  EXPECT_EQ(Signature(editor, "winroomedit.exe"), "WE_Standard (1-Jan-1970  00:00)");

  EXPECT_EQ(Signature({}, "WinRoomEdit.exe"), "WE_M_S:N69000 (1-Jan-1970  00:00)");
}

TEST_F(ExeVersionTest, KindFollowsTheFileNameIgnoringCase) {
  EXPECT_EQ(Signature(engine, "TOMB4.EXE"), "LE_UK_P:XP_Standard (11-Nov-2000  15:21)");
  EXPECT_EQ(Signature(engine, "tomb4_copy.exe"), "??_ (11-Nov-2000  15:21)");
  // Only the file name counts, not the folder it lies in.
  EXPECT_EQ(Signature(engine, JoinPath(JoinPath("in", "tomb4.exe"), "game.exe")),
            "??_ (11-Nov-2000  15:21)");
}

// ---- Build date read from the header ----

TEST_F(ExeVersionTest, BytesBeyondTheEndReadAsZero) {
  Bytes image(0x42, 0);
  Put(image, 0x3C, std::string("\x38\0\0\0", 4));
  Put(image, 0x40, "\x10\x0E");  // low half of the stamp 3600; the high half lies past the end
  EXPECT_EQ(Signature(image, "a.exe"), "??_ (1-Jan-1970  01:00)");

  Bytes tiny(0x3E, 0);
  Put(tiny, 0x3C, "\x01\x01");  // offset 0x101: the stamp lies past the end
  EXPECT_EQ(Signature(tiny, "b.exe"), "??_ (1-Jan-1970  00:00)");
}

TEST_F(ExeVersionTest, HeaderOffsetBeforeTheStartIsAFailure) {
  Bytes image(0x100, 0);
  Put(image, 0, "\x10\x0E");             // the stamp 3600 at the very start ...
  Put(image, 0x3C, "\xF8\xFF\xFF\xFF");  // ... reached through offset -8
  EXPECT_EQ(Signature(image, "a.exe"), "??_ (1-Jan-1970  01:00)");

  Put(image, 0x3C, "\xF7\xFF\xFF\xFF");  // -9: one byte before the start
  EXPECT_FALSE(FailureOf(image, "b.exe").empty());
}

TEST_F(ExeVersionTest, MissingFileIsReportedAsError) {
  const std::string path = dir.File("tomb4.exe");
  EXPECT_EQ(GetExeVersion(path, ui), "ERROR");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  const std::string prefix =
      "ERROR trying to compute version of file: " + path + "\r\nError mexage: ";
  EXPECT_TRUE(ui.messages[0].text.starts_with(prefix));
  EXPECT_GT(ui.messages[0].text.size(), prefix.size());
}

}  // namespace
}  // namespace varnock
