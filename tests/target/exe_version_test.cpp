#include "target/exe_version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>

#include "support/bytes.h"
#include "support/paths.h"
#include "target/build_date.h"
#include "target/engine_probes.h"
#include "tests/common/recording_ui.h"
#include "tests/common/temp_dir.h"
#include "tools/pe_time_stamp.h"

namespace varnock::testing {
namespace {

using namespace probes;

// Stamps of the builds the stored signatures were made from.
constexpr std::int32_t kEngineStamp = 973956060;     // 11-Nov-2000 15:21
constexpr std::int32_t kConverterStamp = 971692620;  // 16-Oct-2000 10:37

// `size` zero bytes with a PE header offset of 0x80 at 0x3C and `stamp` in that header.
Bytes ExeImage(std::int64_t size, std::int32_t stamp) {
  Bytes image(static_cast<std::size_t>(size), 0);
  PutPeTimeStamp(image, 0x80, stamp);
  return image;
}

// Writes `bytes` at `at`, growing the image when needed.
void Put(Bytes& image, std::int64_t at, std::string_view bytes) {
  image.resize(std::max<std::size_t>(image.size(), at + bytes.size()), 0);
  std::copy(bytes.begin(), bytes.end(), image.begin() + at);
}

constexpr std::int64_t kLogoPlace = 0xB0000;

// A tomb4.exe of the reference layout: one "uk" logo, A, B, C and D at their places, probe P's
// four bytes left zero (so P:XP), "Sleep" and the eight bytes of the third test in place.
Bytes ReferenceEngine() {
  Bytes image = ExeImage(kEngineSize, kEngineStamp);
  Put(image, kLogoPlace - 2, "uk");
  Put(image, kLogoPlace, kLogoText);
  Put(image, kPlaceA, kProbeA);
  Put(image, kPlaceB, kProbeB);
  Put(image, kPlaceC, kProbeC);
  Put(image, kPlaceD, kProbeD);
  Put(image, kPlaceSleep, kSleepText);
  Put(image, kPlaceP3, kProbeP3);
  return image;
}

// The same run of bytes with every byte zeroed (removes a probe from the image).
void Erase(Bytes& image, std::int64_t at, std::size_t length) {
  Put(image, at, std::string(length, '\0'));
}

const std::string kEngineDate = " (11-Nov-2000  15:21)";

class ExeVersionTest : public ::testing::Test {
 protected:
  // The signature of `image` written under `name`, the same from the file as from the image
  // read already; no message may appear.
  std::string Signature(const Bytes& image, const std::string& name = "tomb4.exe") {
    const std::string path = dir.Write(name, image);
    std::string signature = GetExeVersion(path, ui);
    EXPECT_EQ(GetExeVersionOfImage(path, image, ui), signature);
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().at(0);
    return signature;
  }
  // The image written under `name` gives "ERROR" and one message that says why.
  void ExpectFailure(const Bytes* image, const std::string& name = "tomb4.exe") {
    ui.Clear();
    const std::string path = image ? dir.Write(name, *image) : dir.File("absent.exe");
    EXPECT_EQ(GetExeVersion(path, ui), "ERROR");
    if (image != nullptr) {
      EXPECT_EQ(GetExeVersionOfImage(path, *image, ui), "ERROR");
      EXPECT_EQ(ui.messages.size(), 2u);
      ui.messages.pop_back();
    }
    const std::string prefix =
        "ERROR trying to compute version of file: " + path + "\r\nError mexage: ";
    EXPECT_TRUE(ui.messages.size() == 1 && ui.messages[0].icon == MessageIcon::Critical &&
                ui.messages[0].text.size() > prefix.size() &&
                ui.messages[0].text.starts_with(prefix))
        << ::testing::PrintToString(ui.Texts());
  }

  TempDir dir;
  RecordingUi ui;
  Bytes engine = ReferenceEngine();
};

// ---- Engine probes: each change of the reference engine, applied in order ----

TEST_F(ExeVersionTest, EngineProbes) {
  const auto logo = [](const char* code, std::int64_t at) {
    return [code, at](Bytes& image) {
      Put(image, at, code);
      Put(image, at + 2, kLogoText);
    };
  };
  const auto moveB = [](Bytes& image) {
    Erase(image, kPlaceB, kProbeB.size());
    Put(image, kPlaceB + kLayoutShift, kProbeB);
  };
  const auto lr = [](Bytes& image) {
    Put(image, 0x500, kEditionText);
    Erase(image, kPlaceA, kProbeA.size());
    Erase(image, kPlaceB, kProbeB.size());
    Erase(image, kPlaceSleep, kSleepText.size());
  };
  const struct {
    std::vector<std::function<void(Bytes&)>> changes;
    std::string signature;
  } cases[] = {
      // P bytes in place add nothing.
      {{[](Bytes& e) { Put(e, kPlacePForLe, kProbeP); }}, "LE_UK_Standard"},
      // Only the first occurrence counts: A is no longer in place, so the layout is unknown and
      // probe P does not run.
      {{[](Bytes& e) { Put(e, 0x100, kProbeA); }}, "LE_UK_A:N6F9AD"},
      // Logo name of another case is no occurrence; two logos are joined.
      {{[](Bytes& e) { Put(e, 0x1000, "usLogo.pak"); }, logo("fr", 0x2000)},
       "LE_FR/UK_P:XP_Standard"},
      // Three logos are counted.
      {{logo("fr", 0x2000), logo("de", 0x3000)}, "LE_INT3_P:XP_Standard"},
      // Logo code of underscores collapses.
      {{[](Bytes& e) { Put(e, kLogoPlace - 2, "__"); }}, "LE__P:XP_Standard"},
      // LR edition may lack A but not B; Sleep is never looked at.
      {{lr}, "LR_UK_B:M_P:XP"},
      // LR probe P in place.
      {{lr, [](Bytes& e) { Put(e, kPlacePForLr, kProbeP); }}, "LR_UK_B:M"},
      // B thirty late with A in place shifts probe P; the unshifted place is not looked at.
      {{moveB, [](Bytes& e) { Put(e, kPlacePForLe, kProbeP); }}, "LE_UK_B:30_P:XPnew"},
      // B thirty late with Sleep, the third test and P shifted too.
      {{moveB,
        [](Bytes& e) {
          Erase(e, kPlaceSleep, kSleepText.size());
          Erase(e, kPlaceP3, kProbeP3.size());
          Put(e, kPlaceSleep + kLayoutShift, kSleepText);
          Put(e, kPlaceP3 + kLayoutShift, kProbeP3);
          Put(e, kPlacePForLe + kLayoutShift, kProbeP);
        }},
       "LE_UK_B:30"},
      // B thirty late without A in place is no layout.
      {{moveB, [](Bytes& e) { Erase(e, kPlaceA, kProbeA.size()); }}, "LE_UK_A:M_B:30"},
      // Sleep one byte late.
      {{[](Bytes& e) { Put(e, kPlaceSleep, std::string_view("\0Sleep\0", 7)); }},
       "LE_UK_P:XPnew_Standard"},
      // Third test changed.
      {{[](Bytes& e) { Put(e, kPlaceP3 + 7, "\xC4"); }}, "LE_UK_P:XPnew_Standard"},
      // Third test ignores letter case.
      {{[](Bytes& e) { Put(e, kPlaceP3, "y\x8B\x01\x85\xC0T"); }}, "LE_UK_P:XP_Standard"},
      // Shorter: the size piece comes last without underscore.
      {{[](Bytes& e) { e.erase(e.end() - 0x10, e.end()); }}, "LE_UK_P:XP_S:N10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.signature);
    Bytes image = ReferenceEngine();
    for (const auto& change : c.changes) {
      change(image);
    }
    EXPECT_EQ(Signature(image), c.signature + kEngineDate);
  }
}

TEST_F(ExeVersionTest, ShortFilesFailOnlyWhenAProbeReadsPastTheEnd) {
  Bytes image = ExeImage(0x100, kEngineStamp);
  Put(image, 1, kLogoText);  // a logo name without two bytes before it
  ExpectFailure(&image);

  image = ExeImage(kPlacePForLr, kEngineStamp);
  Put(image, 0x500, kEditionText);
  ExpectFailure(&image);
  Put(image, kPlacePForLr, "\x85\xC0");  // equal so far; the third byte lies past the end
  ExpectFailure(&image);
  image.push_back(0);  // the third byte differs: the comparison stops there
  ui.Clear();
  EXPECT_EQ(Signature(image), "LR_UNKNOWN_B:M_C:M_D:M_P:XP_S:N4A8E4" + kEngineDate);
  ExpectFailure(nullptr);
}

// ---- Each tool's marker place and size, and the names ----

TEST_F(ExeVersionTest, ToolMarkersSizesAndNames) {
  EXPECT_EQ(Signature({}), "LE_UNKNOWN_A:M_B:M_C:M_D:M_S:NC1000 (1-Jan-1970  00:00)");
  // The distance is unsigned, unlabelled.
  for (const auto& [size, at, signature] : {std::tuple{0x20000, 0x199C0 - 0x10, "TP_10"},
                                            std::tuple{0x20010, 0x199C0 + 0x10, "TP_10_S:10"}}) {
    Bytes converter = ExeImage(size, kConverterStamp);
    Put(converter, at, "PC Level Converter");
    EXPECT_EQ(Signature(converter, "tom2pc.exe"), std::string(signature) + " (16-Oct-2000  10:37)");
  }

  EXPECT_EQ(Signature(engine, "TOMB4.EXE"), "LE_UK_P:XP_Standard" + kEngineDate);
  EXPECT_EQ(Signature(engine, "tomb4_copy.exe"), "??_" + kEngineDate);
  // Only the file name counts, not the folder it lies in.
  EXPECT_EQ(Signature(engine, JoinPath(JoinPath("in", "tomb4.exe"), "game.exe")),
            "??_" + kEngineDate);
}

// ---- Build date read from the header ----

TEST_F(ExeVersionTest, TheHeaderIsReadWithZerosBeyondTheEndButNothingBeforeTheStart) {
  Bytes image(0x42, 0);
  Put(image, 0x3C, std::string("\x38\0\0\0", 4));
  Put(image, 0x40, "\x10\x0E");  // low half of the stamp 3600; the high half lies past the end
  EXPECT_EQ(Signature(image, "a.exe"), "??_ (1-Jan-1970  01:00)");

  Bytes early(0x100, 0);
  Put(early, 0, "\x10\x0E");             // the stamp 3600 at the very start ...
  Put(early, 0x3C, "\xF8\xFF\xFF\xFF");  // ... reached through offset -8
  EXPECT_EQ(Signature(early, "a.exe"), "??_ (1-Jan-1970  01:00)");
  Put(early, 0x3C, "\xF7\xFF\xFF\xFF");  // -9: one byte before the start
  ExpectFailure(&early, "b.exe");
}

}  // namespace
}  // namespace varnock::testing
