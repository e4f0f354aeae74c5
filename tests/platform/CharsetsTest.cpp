#include <gtest/gtest.h>

#include "platform/Charsets.h"

namespace pagora {
namespace {

TEST(CharsetToCodePage, MapsEveryCharsetOfTheTable) {
  const struct {
    int charset;
    TPGCodePage cp;
  } cases[] = {
      {0, 1252},   {77, CP_MACCP}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
      {136, 950},  {161, 1253},    {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
      {186, 1257}, {204, 1251},    {222, 874},  {238, 1250}, {255, CP_OEMCP},
      // Everything else is the ANSI code page, the default and symbol charsets too.
      {1, CP_ACP}, {2, CP_ACP},    {3, CP_ACP}, {76, CP_ACP}, {78, CP_ACP}, {127, CP_ACP},
      {135, CP_ACP}, {200, CP_ACP}, {254, CP_ACP},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.charset);
    EXPECT_EQ(CharsetToCodePage(static_cast<TFontCharset>(t.charset)), t.cp);
  }
}

TEST(CharsetToCodePage, EveryCodePageItNamesConvertsHere) {
  // A missing converter would silently turn text of that charset into 1252.
  for (int charset = 0; charset < 256; ++charset) {
    SCOPED_TRACE(charset);
    EXPECT_TRUE(IsCodePageAvailable(CharsetToCodePage(static_cast<TFontCharset>(charset))));
  }
}

TEST(CharsetToLanguage, MapsEveryCharsetOfTheTable) {
  const struct {
    int charset;
    int language;
  } cases[] = {
      {0, 1033},   {128, 1041}, {129, 1042}, {130, 2066}, {134, 2052}, {136, 1028},
      {161, 1032}, {162, 1055}, {163, 1066}, {177, 1037}, {204, 1049}, {222, 1054},
      {1, 0},      {178, 0},    {186, 0},
      // Charsets with a code page but no language of their own.
      {2, 1024},   {77, 1024},  {238, 1024}, {255, 1024}, {3, 1024},  {200, 1024},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.charset);
    EXPECT_EQ(CharsetToLanguage(static_cast<TFontCharset>(t.charset)), t.language);
  }
}

}  // namespace
}  // namespace pagora
