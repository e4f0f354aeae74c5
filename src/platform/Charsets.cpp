#include "platform/Charsets.h"

namespace pagora {

TPGCodePage CharsetToCodePage(TFontCharset charset) noexcept {
  switch (charset) {
    case ANSI_CHARSET: return 1252;
    case MAC_CHARSET: return CP_MACCP;
    case SHIFTJIS_CHARSET: return 932;
    case HANGEUL_CHARSET: return 949;
    case JOHAB_CHARSET: return 1361;
    case GB2312_CHARSET: return 936;
    case CHINESEBIG5_CHARSET: return 950;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case VIETNAMESE_CHARSET: return 1258;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    case RUSSIAN_CHARSET: return 1251;
    case THAI_CHARSET: return 874;
    case EASTEUROPE_CHARSET: return 1250;
    case OEM_CHARSET: return CP_OEMCP;
    default: return CP_ACP;
  }
}

int CharsetToLanguage(TFontCharset charset) noexcept {
  switch (charset) {
    case ANSI_CHARSET: return 1033;
    case SHIFTJIS_CHARSET: return 1041;
    case HANGEUL_CHARSET: return 1042;
    case JOHAB_CHARSET: return 2066;
    case GB2312_CHARSET: return 2052;
    case CHINESEBIG5_CHARSET: return 1028;
    case GREEK_CHARSET: return 1032;
    case TURKISH_CHARSET: return 1055;
    case VIETNAMESE_CHARSET: return 1066;
    case HEBREW_CHARSET: return 1037;
    case RUSSIAN_CHARSET: return 1049;
    case THAI_CHARSET: return 1054;
    case DEFAULT_CHARSET:
    case ARABIC_CHARSET:
    case BALTIC_CHARSET: return 0;
    default: return 1024;
  }
}

}  // namespace pagora
