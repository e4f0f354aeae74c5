#include "qt/QtCanvas.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "platform/IntMath.h"
#include "qt/QtSystemColors.h"
#include "qt/SymbolCharset.h"

namespace pagora {

namespace {

constexpr std::size_t kLowCount = 0x300;  // the Latin blocks
constexpr int kMaxPixelSize = 32767;
constexpr int kMaxWidth = 1000000;
// Thin slanted lines up to this length are plotted pixel by pixel; longer ones, rare
// and mostly outside the clip, are left to Qt.
constexpr std::int64_t kMaxPlottedLine = 8192;

// A font family list with the Symbol glyphs at Unicode positions. The symbol-encoded
// OpenType face that "Symbol" usually resolves to puts them at the 8-bit codes instead,
// so the faces are checked for the characters the mapped text uses.
const QStringList& SymbolFamilies() {
  static const QStringList families = [] {
    const QString fallback = QStringLiteral("DejaVu Sans");
    for (const char* name : {"Standard Symbols PS [urw]", "Standard Symbols PS", "Symbol"}) {
      QFont font(QString::fromLatin1(name));
      font.setPixelSize(16);
      const QFontMetrics fm(font);
      if (fm.inFontUcs4(0x21B5) && fm.inFontUcs4(0x2022) && fm.inFontUcs4(0x03B1))
        return QStringList{QString::fromLatin1(name), fallback};
    }
    return QStringList{fallback};
  }();
  return families;
}

QFont MakeFont(const TFontSpec& spec, bool symbol, int stretch, int charExtra) {
  QFont font;
  if (symbol) font.setFamilies(SymbolFamilies());
  else font.setFamily(QString::fromUtf8(spec.Name.data(), static_cast<qsizetype>(spec.Name.size())));
  font.setPixelSize(std::clamp(spec.PixelSize, 1, kMaxPixelSize));
  font.setWeight(spec.Weight <= 0 ? QFont::Normal : static_cast<QFont::Weight>(std::min(spec.Weight, 1000)));
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  font.setStrikeOut(spec.StrikeOut);
  font.setKerning(false);
  font.setStyleStrategy(QFont::PreferNoShaping);
  font.setHintingPreference(QFont::PreferFullHinting);
  if (stretch != 100) font.setStretch(stretch);
  if (charExtra != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, charExtra);
  return font;
}

// Ranges of scripts whose glyphs depend on their neighbours (letters that join or
// reorder).
constexpr char16_t kContextualRanges[][2] = {
    {0x0600, 0x08FF},  // Arabic, Syriac, Thaana, N'Ko and their supplements
    {0x0900, 0x0DFF},  // the Indic scripts
    {0x0E00, 0x0FFF},  // Thai, Lao, Tibetan
    {0x1000, 0x109F},  // Myanmar
    {0x1100, 0x11FF},  // Hangul jamo
    {0x1700, 0x18AF},  // Philippine scripts, Khmer, Mongolian
    {0x1900, 0x1C4F},  // Limbu to Lepcha
    {0xA800, 0xAAFF},  // Syloti Nagri to Tai Viet, jamo extensions
    {0xABC0, 0xABFF},  // Meetei Mayek
    {0xD7B0, 0xD7FF},  // jamo extension B
    {0xFB50, 0xFDFF},  // Arabic presentation forms A
    {0xFE70, 0xFEFF},  // Arabic presentation forms B
};

// True for characters drawn with shaping: those of the scripts above, combining marks
// (placed over their base), joiners and surrogates (sequences that may form one glyph).
// A character's advance measured alone need not be its advance in a run of such text.
bool IsContextual(char16_t c) {
  if (c < 0x300) return false;
  if ((c >= 0xD800 && c <= 0xDFFF) || c == 0x200C || c == 0x200D) return true;
  for (const auto& range : kContextualRanges)
    if (c >= range[0] && c <= range[1]) return true;
  switch (QChar::category(static_cast<char32_t>(c))) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
      return true;
    default:
      return false;
  }
}

// Where the first character needing shaping is, or the length when there is none.
std::size_t FirstContextual(const QChar* chars, std::size_t n) {
  return static_cast<std::size_t>(
      std::find_if(chars, chars + n, [](QChar c) { return IsContextual(c.unicode()); }) - chars);
}

QFont Shaped(QFont font) {
  font.setStyleStrategy(QFont::PreferDefault);
  return font;
}

// True when c keeps the advance it has alone inside any run of such characters.
bool MeasuresAlone(char16_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD) return false;
  if (c < 0x300) return true;
  if (IsContextual(c)) return false;
  switch (QChar::category(static_cast<char32_t>(c))) {
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
      return false;
    default:
      return true;
  }
}

// The text as Qt gets it: Symbol-font code points become the characters they show.
// Other text is wrapped without copying, so it must outlive the result.
QString TextFor(std::u16string_view text, bool symbol) {
  if (!symbol)
    return QString::fromRawData(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
  QString mapped(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* out = mapped.data();
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = QChar(SymbolToUnicode(text[i]));
  return mapped;
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QPen MakePen(const TPenSpec& spec) {
  if (spec.Style == TPenStyle::Clear || spec.Color == clNone) return QPen(Qt::NoPen);
  QPen pen(ToQColor(spec.Color));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  const int width = std::max(spec.Width, 1);
  // Wide pens draw solid whatever their style; thin ones use the classic device patterns.
  if (width == 1 && spec.Style == TPenStyle::Dash) pen.setDashPattern({18, 6});
  else if (width == 1 && spec.Style == TPenStyle::Dot) pen.setDashPattern({3, 3});
  pen.setWidth(width);
  return pen;
}

QBrush MakeBrush(const TBrushSpec& spec) {
  if (spec.Color == clNone) return QBrush(Qt::NoBrush);
  switch (spec.Style) {
    case TBrushStyle::Solid: return QBrush(ToQColor(spec.Color), Qt::SolidPattern);
    case TBrushStyle::BDiagonal: return QBrush(ToQColor(spec.Color), Qt::BDiagPattern);
    case TBrushStyle::FDiagonal: return QBrush(ToQColor(spec.Color), Qt::FDiagPattern);
    case TBrushStyle::Clear: break;
  }
  return QBrush(Qt::NoBrush);
}

QPen MakeTextPen(TColor color) { return color == clNone ? QPen(Qt::NoPen) : QPen(ToQColor(color)); }

TRect DeviceRect(const QPaintDevice& device) { return {0, 0, device.width(), device.height()}; }

}  // namespace

// ---------------------------------------------------------------------------------------
// Fonts

TQtFontEntry::TQtFontEntry(const QFont& font, bool symbol, const QPaintDevice& device)
    : Font(font), Metrics(font, &device), ShapedFont(Shaped(font)), ShapedMetrics(ShapedFont, &device),
      Symbol(symbol) {
  TextMetrics.Ascent = Metrics.ascent();
  TextMetrics.Descent = Metrics.descent();
  TextMetrics.Height = TextMetrics.Ascent + TextMetrics.Descent;
  TextMetrics.InternalLeading = std::max(0, TextMetrics.Height - font.pixelSize());
  TextMetrics.ExternalLeading = std::max(0, Metrics.leading());
  TextMetrics.AveCharWidth = Metrics.averageCharWidth();
  TextMetrics.MaxCharWidth = Metrics.maxWidth();
}

int TQtFontEntry::Advance(char16_t c) const {
  // Measured as a string, which is how runs are measured: letter spacing included.
  const auto measure = [this](char16_t ch) { return Metrics.horizontalAdvance(QString(QChar(ch))); };
  if (c < kLowCount) {
    if (low_.empty()) low_.assign(kLowCount, -1);
    int& advance = low_[c];
    if (advance < 0) advance = measure(c);
    return advance;
  }
  const auto [it, inserted] = high_.try_emplace(c, 0);
  if (inserted) it->second = measure(c);
  return it->second;
}

bool TQtFontEntry::AdvancesAddUp() const {
  if (addsUp_ < 0) {
    static const QString sample = QStringLiteral(
        "The quick brown fox jumps over the lazy dog. THE QUICK BROWN FOX, 0123456789; "
        "(a)[b]{c} \"d\" 'e' f-g/h\\i? j! k: l* m+n=o% p&q#r@s~t^u_v|w<x>y$z "
        "\u00C0\u00C9\u00CE\u00D5\u00DC\u00E0\u00E9\u00EE\u00F5\u00FC\u00DF\u00E7\u00F1");
    int sum = 0;
    for (QChar c : sample) sum += Advance(c.unicode());
    addsUp_ = sum == Metrics.horizontalAdvance(sample) ? 1 : 0;
  }
  return addsUp_ == 1;
}

std::size_t TQtFontCache::TKeyHash::operator()(const TKey& key) const noexcept {
  const TFontSpec& s = key.Spec;
  std::size_t h = std::hash<std::string>{}(s.Name);
  const auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
  mix(static_cast<std::size_t>(s.PixelSize));
  mix(static_cast<std::size_t>(s.Width));
  mix(static_cast<std::size_t>(s.Weight));
  mix((s.Italic ? 1u : 0u) | (s.Underline ? 2u : 0u) | (s.StrikeOut ? 4u : 0u) | (std::size_t{s.Charset} << 3));
  mix(static_cast<std::size_t>(key.CharExtra));
  mix(static_cast<std::size_t>(key.Dpi));
  return h;
}

TQtFontCache::TQtFontCache(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

std::shared_ptr<const TQtFontEntry> TQtFontCache::Get(const TFontSpec& spec, int charExtra,
                                                      const QPaintDevice& device) {
  TKey key{spec, charExtra, device.logicalDpiY()};
  if (const auto it = index_.find(key); it != index_.end()) {
    lru_.splice(lru_.begin(), lru_, it->second);
    return it->second->second;
  }
  int stretch = 100;
  if (spec.Width > 0) {
    // The width asked for is an average character width: the stretch is its share of
    // the natural font's average.
    TFontSpec natural = spec;
    natural.Width = 0;
    const int average = Get(natural, 0, device)->TextMetrics.AveCharWidth;
    if (average > 0) stretch = std::clamp(MulDiv(std::min(spec.Width, kMaxWidth), 100, average), 1, 4000);
  }
  const bool symbol = IsSymbolFont(spec.Name, spec.Charset);
  auto entry = std::make_shared<const TQtFontEntry>(MakeFont(spec, symbol, stretch, charExtra), symbol, device);
  lru_.emplace_front(key, entry);
  index_.emplace(std::move(key), lru_.begin());
  while (lru_.size() > capacity_) {
    index_.erase(lru_.back().first);
    lru_.pop_back();
  }
  return entry;
}

void TQtFontCache::Clear() noexcept {
  index_.clear();
  lru_.clear();
}

// ---------------------------------------------------------------------------------------
// The canvas

TQtCanvas::TQtCanvas(const QPaintDevice& device, TQtFontCache* cache) : device_(&device), cache_(cache) {
  if (!cache_) {
    ownCache_ = std::make_unique<TQtFontCache>();
    cache_ = ownCache_.get();
  }
  state_.Clip = DeviceRect(device);
  state_.QtPen = MakePen(state_.Pen);
  state_.QtBrush = MakeBrush(state_.Brush);
  state_.TextPen = MakeTextPen(state_.TextColor);
}

TQtCanvas::TQtCanvas(QPainter& painter, TQtFontCache* cache)
    : TQtCanvas(painter.isActive() && painter.device() ? *painter.device()
                                                       : throw std::invalid_argument("The painter is not active"),
                cache) {
  painter_ = &painter;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setBrushOrigin(0, 0);
  // The clip box is in the painter's coordinates, as everything the core draws.
  bool invertible = false;
  const QTransform toLogical = painter.deviceTransform().inverted(&invertible);
  QRect box = ToQRect(DeviceRect(*device_));
  if (invertible) box = toLogical.mapRect(box);
  if (painter.hasClipping()) box &= painter.clipBoundingRect().toAlignedRect();
  state_.Clip = box.isEmpty() ? TRect{} : TRect{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
}

TQtCanvas::~TQtCanvas() {
  if (!painter_) return;
  for (std::size_t i = 0; i < saved_.size(); ++i) painter_->restore();
  painter_->restore();
}

int TQtCanvas::PixelsPerInchX() const { return device_->logicalDpiX(); }
int TQtCanvas::PixelsPerInchY() const { return device_->logicalDpiY(); }
int TQtCanvas::FontPixelsPerInch() const { return device_->logicalDpiY(); }

const TQtFontEntry& TQtCanvas::CurrentFont() {
  if (!state_.Entry) state_.Entry = cache_->Get(state_.Font, state_.CharExtra, *device_);
  return *state_.Entry;
}

void TQtCanvas::SetFont(const TFontSpec& font) {
  if (state_.Entry && font == state_.Font) return;
  state_.Font = font;
  state_.Entry.reset();
}

void TQtCanvas::SetTextCharacterExtra(int pixels) {
  if (pixels == state_.CharExtra) return;
  state_.CharExtra = pixels;
  state_.Entry.reset();
}

bool TQtCanvas::GetTextMetrics(TTextMetrics& metrics) {
  metrics = CurrentFont().TextMetrics;
  return true;
}

TSize TQtCanvas::TextExtent(std::u16string_view text) {
  const TQtFontEntry& f = CurrentFont();
  if (text.empty()) return {0, f.TextMetrics.Height};
  const QString run = TextFor(text, f.Symbol);
  const QChar* chars = run.constData();
  const std::size_t n = static_cast<std::size_t>(run.size());
  // Formatting measures every run it places: where the characters keep their own widths,
  // the remembered advances give the extent without asking the text engine.
  if (std::all_of(chars, chars + n, [](QChar c) { return MeasuresAlone(c.unicode()); }) && f.AdvancesAddUp()) {
    int sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += f.Advance(chars[i].unicode());
    return {sum, f.TextMetrics.Height};
  }
  const bool shaped = FirstContextual(chars, n) < n;
  return {(shaped ? f.ShapedMetrics : f.Metrics).horizontalAdvance(run), f.TextMetrics.Height};
}

void TQtCanvas::PrefixWidths(std::u16string_view text, std::span<int> widths) {
  const std::size_t n = std::min(text.size(), widths.size());
  if (n == 0) return;
  const TQtFontEntry& f = CurrentFont();
  const QString run = TextFor(text.substr(0, n), f.Symbol);
  const QChar* chars = run.constData();
  const auto measure = [chars](const QFontMetrics& fm, std::size_t from, std::size_t to) {
    return fm.horizontalAdvance(QString::fromRawData(chars + from, static_cast<qsizetype>(to - from)));
  };
  // The prefixes before the first character that needs shaping are measured without it,
  // as TextExtent measures them; the later ones with it. Every shortcut below is checked
  // against the whole stretch measured at once, and gives way to measuring every prefix.
  const std::size_t plain = FirstContextual(chars, n);

  // Where every character keeps its own advance the prefixes are running sums.
  std::size_t done = 0;
  if (std::all_of(chars, chars + plain, [](QChar c) { return MeasuresAlone(c.unicode()); })) {
    int sum = 0;
    for (std::size_t i = 0; i < plain; ++i) {
      sum += f.Advance(chars[i].unicode());
      widths[i] = sum;
    }
    if (plain == 0 || f.AdvancesAddUp() || sum == measure(f.Metrics, 0, plain)) done = plain;
  }
  for (std::size_t i = done; i < plain; ++i) widths[i] = measure(f.Metrics, 0, i + 1);
  if (plain == n) return;

  // Letters join within words, not across spaces: a prefix is the words before it plus
  // the part of its own word.
  int before = 0;
  std::size_t word = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && chars[i - 1] == u' ') {
      before += measure(f.ShapedMetrics, word, i);
      word = i;
    }
    if (i >= plain) widths[i] = before + measure(f.ShapedMetrics, word, i + 1);
  }
  if (widths[n - 1] == measure(f.ShapedMetrics, 0, n)) return;
  for (std::size_t i = plain; i < n; ++i) widths[i] = measure(f.ShapedMetrics, 0, i + 1);
}

int TQtCanvas::FitCount(std::u16string_view text, int maxWidth) {
  std::vector<int> widths(text.size());
  PrefixWidths(text, widths);
  const auto over = std::find_if(widths.begin(), widths.end(), [maxWidth](int w) { return w > maxWidth; });
  return static_cast<int>(over - widths.begin());
}

void TQtCanvas::SetTextAlign(unsigned flags) { state_.Align = flags; }

void TQtCanvas::SetTextColor(TColor color) {
  state_.TextColor = color;
  state_.TextPen = MakeTextPen(color);
}

void TQtCanvas::SetPen(const TPenSpec& pen) {
  state_.Pen = pen;
  state_.QtPen = MakePen(pen);
}

void TQtCanvas::SetBrush(const TBrushSpec& brush) {
  state_.Brush = brush;
  state_.QtBrush = MakeBrush(brush);
}

int TQtCanvas::PenWidth() const noexcept {
  return state_.QtPen.style() == Qt::NoPen ? 0 : state_.QtPen.width();
}

void TQtCanvas::UsePenAndBrush() {
  painter_->setPen(state_.QtPen);
  painter_->setBrush(state_.QtBrush);
}

void TQtCanvas::FillWithPenColor(const TRect& r) {
  if (!r.IsEmpty()) painter_->fillRect(ToQRect(r), state_.QtPen.color());
}

// ---------------------------------------------------------------------------------------
// Drawing. Qt strokes a flat-capped line over the pixels from the smaller coordinate up
// to, not including, the larger one along its major axis, and outlines drawRect(x, y, w,
// h) on the pixels x..x+w: the shims below turn that into lines without their end point
// and shapes within their bounds.

void TQtCanvas::MoveTo(int x, int y) { state_.Current = {x, y}; }

void TQtCanvas::LineTo(int x, int y) {
  const TPoint from = state_.Current;
  state_.Current = {x, y};
  if (!painter_ || PenWidth() == 0) return;
  painter_->setPen(state_.QtPen);
  DrawSegment(from, {x, y});
}

void TQtCanvas::DrawSegment(TPoint from, TPoint to) {
  const std::int64_t dx = std::int64_t{to.X} - from.X;
  const std::int64_t dy = std::int64_t{to.Y} - from.Y;
  const std::int64_t major = std::max(std::abs(dx), std::abs(dy));
  if (major == 0) return;
  if (dx != 0 && dy != 0 && painter_->pen().width() == 1 && major <= kMaxPlottedLine)
    return DrawThinDiagonal(from, to);
  QLineF line(from.X, from.Y, to.X, to.Y);
  // Going left or up the start is the larger coordinate, which Qt leaves out: moved one
  // step back along itself, the line takes its start instead of its end. Exact for
  // horizontal and vertical lines; thick slanted ones may shift by a pixel.
  const bool backwards = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
  if (backwards)
    line.translate(-static_cast<qreal>(dx) / static_cast<qreal>(major), -static_cast<qreal>(dy) / static_cast<qreal>(major));
  painter_->drawLine(line);
}

void TQtCanvas::DrawThinDiagonal(TPoint from, TPoint to) {
  // Qt samples slanted lines at pixel centres, which puts their pixels half a pixel off
  // those of the line from its start point: these are the line's own, one per step
  // along the major axis.
  const QPen& pen = painter_->pen();
  const QList<qreal> dashes = pen.style() == Qt::SolidLine ? QList<qreal>{} : pen.dashPattern();
  int period = 0;
  for (qreal d : dashes) period += static_cast<int>(d);
  const auto drawn = [&](int step) {
    if (period <= 0) return true;
    int at = step % period;
    for (qsizetype i = 0; i < dashes.size(); ++i) {
      const int length = static_cast<int>(dashes[i]);
      if (at < length) return i % 2 == 0;
      at -= length;
    }
    return true;
  };
  const int adx = std::abs(to.X - from.X), ady = std::abs(to.Y - from.Y);
  const int sx = to.X > from.X ? 1 : -1, sy = to.Y > from.Y ? 1 : -1;
  const bool xMajor = adx >= ady;
  const int major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  QVarLengthArray<QPoint, 128> pixels;
  int x = from.X, y = from.Y;
  int error = 2 * minor - major;
  for (int step = 0; step < major; ++step) {
    if (drawn(step)) pixels.append(QPoint(x, y));
    if (error > 0) {
      (xMajor ? y : x) += xMajor ? sy : sx;
      error -= 2 * major;
    }
    error += 2 * minor;
    (xMajor ? x : y) += xMajor ? sx : sy;
  }
  const QPen saved = pen;
  painter_->setPen(QPen(saved.color(), 1, Qt::SolidLine, Qt::SquareCap));
  painter_->drawPoints(pixels.constData(), static_cast<int>(pixels.size()));
  painter_->setPen(saved);
}

void TQtCanvas::Rectangle(const TRect& r) {
  if (!painter_ || r.IsEmpty()) return;
  const int w = PenWidth();
  if (w == 0) {
    if (state_.QtBrush.style() != Qt::NoBrush) painter_->fillRect(ToQRect(r), state_.QtBrush);
    return;
  }
  const bool inside = state_.Pen.Style == TPenStyle::InsideFrame;
  if (inside && (r.Width() <= w || r.Height() <= w)) return FillWithPenColor(r);
  // The outline's centre line: a pen of width w covers w/2 before it and (w-1)/2 after it.
  const QRect centre = inside ? QRect(r.Left + w / 2, r.Top + w / 2, r.Width() - w, r.Height() - w)
                              : QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
  if (centre.width() == 0 || centre.height() == 0)
    return FillWithPenColor(Bounds(centre.x() - w / 2, centre.y() - w / 2, centre.width() + w, centre.height() + w));
  UsePenAndBrush();
  painter_->drawRect(centre);
}

void TQtCanvas::FillRect(const TRect& r) {
  if (!painter_ || r.IsEmpty() || state_.QtBrush.style() == Qt::NoBrush) return;
  painter_->fillRect(ToQRect(r), state_.QtBrush);
}

void TQtCanvas::Polygon(std::span<const TPoint> points) {
  if (!painter_ || points.size() < 2) return;
  QVarLengthArray<QPoint, 16> qpoints;
  qpoints.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) qpoints.append(QPoint(p.X, p.Y));
  const int w = PenWidth();
  if (w > 1) {
    UsePenAndBrush();  // wide outlines need Qt's joins
    painter_->drawPolygon(qpoints.constData(), static_cast<int>(qpoints.size()), Qt::OddEvenFill);
    return;
  }
  // A thin outline is its edges drawn as lines, so that every corner is drawn, as the
  // bottom and right ones are not when Qt strokes the outline.
  if (state_.QtBrush.style() != Qt::NoBrush) {
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(state_.QtBrush);
    painter_->drawPolygon(qpoints.constData(), static_cast<int>(qpoints.size()), Qt::OddEvenFill);
  }
  if (w == 0) return;
  painter_->setPen(state_.QtPen);
  for (std::size_t i = 0; i < points.size(); ++i) DrawSegment(points[i], points[(i + 1) % points.size()]);
}

void TQtCanvas::Ellipse(const TRect& r) {
  if (!painter_ || r.IsEmpty()) return;
  const int w = PenWidth();
  UsePenAndBrush();
  if (w == 0) return painter_->drawEllipse(ToQRect(r));
  if (state_.Pen.Style == TPenStyle::InsideFrame) {
    if (r.Width() <= w || r.Height() <= w) return FillWithPenColor(r);
    return painter_->drawEllipse(QRect(r.Left + w / 2, r.Top + w / 2, r.Width() - w, r.Height() - w));
  }
  painter_->drawEllipse(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

void TQtCanvas::TextOut(int x, int y, std::u16string_view text) {
  if (!painter_ || text.empty() || state_.TextColor == clNone) return;
  const TQtFontEntry& f = CurrentFont();
  const QString run = TextFor(text, f.Symbol);
  const bool shaped = FirstContextual(run.constData(), text.size()) < text.size();
  if (painterFont_ != state_.Entry || painterFontShaped_ != shaped) {
    painter_->setFont(shaped ? f.ShapedFont : f.Font);
    painterFont_ = state_.Entry;
    painterFontShaped_ = shaped;
  }
  painter_->setPen(state_.TextPen);
  painter_->setLayoutDirection((state_.Align & TA_RTLREADING) != 0 ? Qt::RightToLeft : Qt::LeftToRight);
  painter_->drawText(QPoint(x, y + f.TextMetrics.Ascent), run);
}

void TQtCanvas::DrawImage(const TRect& dst, const TRasterImage& image, bool smooth) {
  if (!painter_ || dst.IsEmpty() || image.Empty()) return;
  // The pixels are already in this format's layout: wrapped, not copied.
  const QImage wrapped(reinterpret_cast<const uchar*>(image.Pixels.data()), image.Width, image.Height,
                       static_cast<qsizetype>(image.Width) * 4, QImage::Format_ARGB32);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
  painter_->drawImage(ToQRect(dst), wrapped);
}

// ---------------------------------------------------------------------------------------
// State

void TQtCanvas::Save() {
  saved_.push_back(state_);
  if (painter_) painter_->save();
}

void TQtCanvas::Restore() {
  if (saved_.empty()) return;
  state_ = std::move(saved_.back());
  saved_.pop_back();
  if (painter_) {
    painter_->restore();
    painterFont_.reset();
  }
}

void TQtCanvas::IntersectClip(const TRect& r) {
  state_.Clip = state_.Clip.Intersect(r);
  if (painter_) painter_->setClipRect(ToQRect(state_.Clip), Qt::IntersectClip);
}

}  // namespace pagora
