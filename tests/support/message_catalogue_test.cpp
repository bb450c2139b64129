#include "support/message_catalogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/translation_choice.h"

namespace varnock {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// A compiled catalogue as msgfmt lays it out: header, the two tables, then the texts, each
// followed by a zero byte.
std::string MoImage(const Entries& entries, bool bigEndian) {
  std::string image;
  const auto word = [&](std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      const int shift = bigEndian ? 8 * (3 - i) : 8 * i;
      image += static_cast<char>((value >> shift) & 0xffU);
    }
  };
  const auto count = static_cast<std::uint32_t>(entries.size());
  const std::uint32_t originals = 28;
  const std::uint32_t translations = originals + 8 * count;
  std::uint32_t text = translations + 8 * count;
  for (std::uint32_t value : {0x950412deU, 0U, count, originals, translations, 0U, 0U}) {
    word(value);
  }
  std::string texts;
  for (const bool original : {true, false}) {
    for (const auto& [msgid, msgstr] : entries) {
      const std::string& s = original ? msgid : msgstr;
      word(static_cast<std::uint32_t>(s.size()));
      word(text);
      text += static_cast<std::uint32_t>(s.size() + 1);
      texts += s;
      texts += '\0';
    }
  }
  return image + texts;
}

TEST(MessageCatalogueTest, FindsTranslationsInEitherByteOrder) {
  const Entries entries = {{"", "Content-Type: text/plain; charset=UTF-8\n"},
                           {"Apply", "Anwenden"},
                           {"Untranslated", ""},
                           {"Remove %1", "%1 entfernen"}};
  for (const bool bigEndian : {false, true}) {
    const std::string image = MoImage(entries, bigEndian);
    MessageCatalogue catalogue;
    std::string error;
    ASSERT_TRUE(catalogue.Read(image, error)) << error;
    EXPECT_EQ(catalogue.Size(), 2U);
    EXPECT_STREQ(catalogue.Find("Apply"), "Anwenden");
    EXPECT_STREQ(catalogue.Find("Remove %1"), "%1 entfernen");
    EXPECT_STREQ(catalogue.Find("Untranslated"), "Untranslated");
    EXPECT_STREQ(catalogue.Find(""), "");
    EXPECT_STREQ(catalogue.Find("Unknown"), "Unknown");
  }
}

// A damaged catalogue is refused or read within its bytes, never past them: every
// translation found is one of the image's zero-ended texts.
TEST(MessageCatalogueTest, DamagedImagesAreRefusedOrReadWithinThem) {
  const std::string good = MoImage({{"One", "Eins"}, {"Two", "Zwei"}, {"Three", "Drei"}}, false);
  std::mt19937 random(7);
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string image = good.substr(0, random() % (good.size() + 1));
    for (int flips = static_cast<int>(random() % 4); flips > 0 && !image.empty(); --flips) {
      image[random() % image.size()] = static_cast<char>(random());
    }
    MessageCatalogue catalogue;
    std::string error;
    if (!catalogue.Read(image, error)) {
      ++refused;
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(catalogue.Size(), 0U);
      continue;
    }
    for (const char* text : {"One", "Two", "Three"}) {
      const char* found = catalogue.Find(text);
      if (found != text) {
        ASSERT_GE(found, image.data());
        ASSERT_LT(found + std::strlen(found), image.data() + image.size());
      }
    }
  }
  EXPECT_GT(refused, 0);
}

TEST(MessageCatalogueTest, EveryCarriedCatalogueReads) {
  for (const char* language : {"de", "es", "qps"}) {
    MessageCatalogue catalogue;
    std::string error;
    EXPECT_TRUE(catalogue.Read(EmbeddedCatalogue(language), error)) << language << ": " << error;
  }
  EXPECT_TRUE(EmbeddedCatalogue("xx").empty());
}

// The user's languages as gettext reads its variables.
TEST(TranslationChoiceTest, LanguagesFollowTheVariables) {
  using List = std::vector<std::string>;
  const struct {
    LanguageVariables variables;
    List languages;
  } cases[] = {
      {{.lang = "de_DE.UTF-8"}, {"de_DE", "de"}},
      {{.lang = "de_AT@euro"}, {"de_AT", "de"}},
      {{.lang = "es"}, {"es"}},
      {{}, {}},
      {{.lang = "C"}, {}},
      {{.lang = "C.UTF-8"}, {}},
      {{.lang = "POSIX"}, {}},
      {{.language = "de", .lang = "C"}, {}},
      {{.language = "es:de", .lang = "de_AT.UTF-8"}, {"es", "de", "de_AT", "de"}},
      {{.lcMessages = "es_ES", .lang = "de_DE"}, {"es_ES", "es"}},
      {{.lcAll = "C", .lcMessages = "es_ES", .lang = "de_DE"}, {}},
      {{.lcAll = "de_CH", .lcMessages = "es_ES"}, {"de_CH", "de"}},
      {{.systemLocale = "es_MX"}, {"es_MX", "es"}},
      {{.lang = "C", .systemLocale = "es_MX"}, {}},
      {{.language = "qps", .systemLocale = "en_US"}, {"qps", "en_US", "en"}},
      // A language chosen in the settings goes first, in any locale.
      {{.chosen = "de", .lang = "C"}, {"de"}},
      {{.chosen = "es_ES", .language = "de", .lang = "de_AT"},
       {"es_ES", "es", "de", "de_AT", "de"}},
      {{.chosen = "en", .lang = "de_DE.UTF-8"}, {"en", "de_DE", "de"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UserLanguages(c.variables), c.languages)
        << c.variables.chosen << "|" << c.variables.language << "|" << c.variables.lcAll << "|"
        << c.variables.lcMessages << "|" << c.variables.lang << "|" << c.variables.systemLocale;
  }
}

// The first carried language wins; English, wherever it comes first, means no catalogue.
TEST(TranslationChoiceTest, TheFirstCarriedLanguageIsChosen) {
  const struct {
    std::vector<std::string> languages;
    const char* chosen;
  } cases[] = {{{}, ""},
               {{"fr_FR", "fr"}, ""},
               {{"en_GB", "en", "qps"}, ""},
               {{"de_AT", "de", "es"}, "de"},
               {{"fr", "qps", "de"}, "qps"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ChosenLanguage(c.languages), c.chosen) << ::testing::PrintToString(c.languages);
    EXPECT_EQ(ChosenCatalogue(c.languages).Size() > 0, *c.chosen != '\0') << c.chosen;
  }
  const MessageCatalogue pseudo = ChosenCatalogue({"fr", "qps", "de"});
  ASSERT_GT(pseudo.Size(), 0U);
  EXPECT_EQ(pseudo.Find("ERROR: the output cannot be written")[0], '[');
}

}  // namespace
}  // namespace varnock
