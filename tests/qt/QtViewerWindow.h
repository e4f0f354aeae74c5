// A viewer widget on screen (the offscreen one) showing lines of plain text, with the
// style sheet it needs.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include <string>

#include "model/PGStyle.h"
#include "model/PlainText.h"
#include "qt/QtPagoraWidget.h"

namespace pagora::test {

// "Line 1\nLine 2\n..." up to count.
inline std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "Line " + std::to_string(i) + "\n";
  return text;
}

// The default style sheet with Unicode text styles, as applications set it up.
struct TUnicodeStyle : TPGStyle {
  TUnicodeStyle() {
    for (int i = 0; i < TextStyles.Count(); ++i) TextStyles[i].Unicode = true;
  }
};

inline void LoadText(TPagora& core, const std::string& utf8, int textStyle = 0) {
  TPGTextReadOptions options;
  options.TextStyle = textStyle;
  ASSERT_TRUE(ReadPlainTextUTF8(core.PGData(), utf8, options));
  core.Format();
}

class TViewerWindow {
public:
  explicit TViewerWindow(const std::string& utf8, QSize size = {300, 200}, int textStyle = 0) {
    Core().SetStyle(&style_);
    widget_.resize(size);
    widget_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget_));
    LoadText(Core(), utf8, textStyle);
    QCoreApplication::processEvents();
  }

  TQtPagoraWidget& Widget() { return widget_; }
  TPagora& Core() { return widget_.Core(); }
  QWidget* Viewport() { return widget_.viewport(); }

private:
  TUnicodeStyle style_;  // outlives the widget
  TQtPagoraWidget widget_;
};

}  // namespace pagora::test
