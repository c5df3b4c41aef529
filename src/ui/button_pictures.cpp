#include "ui/button_pictures.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <map>
#include <memory>

namespace typrosync {

namespace {

enum class Shape { kRounded, kPill, kRect, kCircle, kGlass, kBevel, kDark, kCheckBox };
enum class Glyph { kNone, kChevron, kCheck, kBars, kDot, kArrow, kCross, kPlus };

struct Design {
  int16_t style;
  int width;
  int height;
  Shape shape;
  QRgb base;
  Glyph glyph;
};

// One row per style: size, outline and colour make each design tell apart at a glance.
constexpr Design kDesigns[] = {
    {1, 75, 23, Shape::kRounded, 0x3c7fd8, Glyph::kChevron},
    {2, 75, 23, Shape::kRounded, 0x7a9a3a, Glyph::kCheck},
    {3, 75, 23, Shape::kRounded, 0xb8bcc8, Glyph::kBars},
    {4, 75, 23, Shape::kRect, 0xf2f2f2, Glyph::kDot},
    {5, 80, 24, Shape::kPill, 0xf08a24, Glyph::kArrow},
    {10, 24, 24, Shape::kRounded, 0x5b7fa6, Glyph::kArrow},
    {11, 24, 24, Shape::kRounded, 0xc64040, Glyph::kCross},
    {12, 24, 24, Shape::kCircle, 0x1f9e8f, Glyph::kPlus},
    {13, 24, 24, Shape::kCircle, 0x3ca34a, Glyph::kCheck},
    {14, 90, 26, Shape::kGlass, 0x7a4fc4, Glyph::kChevron},
    {15, 75, 23, Shape::kBevel, 0xd4d0c8, Glyph::kArrow},
    {16, 75, 23, Shape::kDark, 0x2d3440, Glyph::kBars},
    {30, 16, 16, Shape::kCheckBox, 0xffffff, Glyph::kCheck},
};

const QColor kHoverRing(0xf8, 0xb3, 0x30);
const QColor kDisabledInk(0x9a, 0x9a, 0x9a);

// Disabled keeps a trace of the hue, so two disabled styles still differ,
// but so pale that the button reads as unavailable.
QColor Greyed(const QColor& base) {
  const int v = std::min(235, base.value() / 3 + 150);
  return QColor::fromHsv(base.hsvHue() < 0 ? 0 : base.hsvHue(), base.hsvSaturation() / 8, v);
}

// Fill colour of a look: grey when disabled, lighter on hover, darker pressed.
QColor FillFor(const QColor& base, int16_t look) {
  switch (look) {
    case kLookDisabled:
      return Greyed(base);
    case kLookHover:
      return base.lighter(118);
    case kLookPressed:
      return base.darker(135);
    default:
      return base;
  }
}

QColor InkFor(const QColor& fill, int16_t look) {
  if (look == kLookDisabled) return kDisabledInk;
  // Dark ink on light fills, white on dark ones: the glyph stays readable on
  // every colour of the table and in every look.
  return fill.lightness() > 150 ? QColor(0x20, 0x20, 0x20) : QColor(Qt::white);
}

QPainterPath Outline(Shape shape, const QRectF& r) {
  QPainterPath path;
  switch (shape) {
    case Shape::kPill:
      path.addRoundedRect(r, r.height() / 2, r.height() / 2);
      break;
    case Shape::kCircle:
      path.addEllipse(r);
      break;
    case Shape::kRect:
    case Shape::kBevel:
    case Shape::kCheckBox:
      path.addRect(r);
      break;
    case Shape::kGlass:
      path.addRoundedRect(r, 6, 6);
      break;
    default:
      path.addRoundedRect(r, 3, 3);
      break;
  }
  return path;
}

void DrawBody(QPainter& p, const Design& d, int16_t look, const QRectF& r) {
  const QColor fill = FillFor(QColor(d.base), look);
  const bool pressed = look == kLookPressed;
  QLinearGradient gradient(r.topLeft(), r.bottomLeft());
  // A pressed button turns its light from the top to the bottom: it looks sunk.
  gradient.setColorAt(0, pressed ? fill.darker(112) : fill.lighter(135));
  gradient.setColorAt(1, pressed ? fill.lighter(112) : fill);
  const QPainterPath path = Outline(d.shape, r);
  p.fillPath(path, d.shape == Shape::kBevel ? QBrush(fill) : QBrush(gradient));
  if (d.shape == Shape::kGlass && look != kLookDisabled) {
    QRectF shine = r.adjusted(2, 2, -2, -r.height() / 2);
    p.fillPath(Outline(Shape::kGlass, shine), QColor(255, 255, 255, pressed ? 40 : 90));
  }
  QColor edge = look == kLookDisabled ? kDisabledInk : fill.darker(170);
  if (d.shape == Shape::kDark && look != kLookDisabled) edge = QColor(0x35, 0xc8, 0xe8);
  p.setPen(QPen(edge, 1));
  p.drawPath(path);
  if (look == kLookHover && d.shape != Shape::kBevel) {
    p.setPen(QPen(kHoverRing, 2));
    p.drawPath(Outline(d.shape, r.adjusted(1, 1, -1, -1)));
  }
}

// Classic raised or sunken edges of the bevel style.
void DrawBevel(QPainter& p, int16_t look, const QRect& r) {
  const bool sunken = look == kLookPressed;
  const QColor light = sunken ? QColor(0x40, 0x40, 0x40) : QColor(Qt::white);
  const QColor dark = sunken ? QColor(Qt::white) : QColor(0x40, 0x40, 0x40);
  p.setPen(light);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(dark);
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
  if (look == kLookHover) {
    p.setPen(QPen(QColor(0x00, 0x55, 0xcc), 1, Qt::DotLine));
    p.drawRect(r.adjusted(3, 3, -3, -3));
  }
}

void DrawGlyph(QPainter& p, Glyph glyph, const QPointF& c, double s, const QColor& ink) {
  p.setPen(QPen(ink, std::max(1.5, s / 4), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
    case Glyph::kChevron:
      p.drawPolyline(QPolygonF{
          {c.x() - s / 4, c.y() - s / 2}, {c.x() + s / 4, c.y()}, {c.x() - s / 4, c.y() + s / 2}});
      break;
    case Glyph::kCheck:
      p.drawPolyline(QPolygonF{{c.x() - s / 2, c.y()},
                               {c.x() - s / 8, c.y() + s / 2.5},
                               {c.x() + s / 2, c.y() - s / 2}});
      break;
    case Glyph::kBars:
      for (int i = -1; i <= 1; ++i) {
        p.drawLine(QPointF(c.x() - s / 2, c.y() + i * s / 3),
                   QPointF(c.x() + s / 2, c.y() + i * s / 3));
      }
      break;
    case Glyph::kDot:
      p.setBrush(ink);
      p.drawEllipse(c, s / 4, s / 4);
      break;
    case Glyph::kArrow:
      p.setBrush(ink);
      p.drawPolygon(QPolygonF{
          {c.x() - s / 3, c.y() - s / 2}, {c.x() + s / 2, c.y()}, {c.x() - s / 3, c.y() + s / 2}});
      break;
    case Glyph::kCross:
      p.drawLine(QPointF(c.x() - s / 2, c.y() - s / 2), QPointF(c.x() + s / 2, c.y() + s / 2));
      p.drawLine(QPointF(c.x() + s / 2, c.y() - s / 2), QPointF(c.x() - s / 2, c.y() + s / 2));
      break;
    case Glyph::kPlus:
      p.drawLine(QPointF(c.x() - s / 2, c.y()), QPointF(c.x() + s / 2, c.y()));
      p.drawLine(QPointF(c.x(), c.y() - s / 2), QPointF(c.x(), c.y() + s / 2));
      break;
    case Glyph::kNone:
      break;
  }
}

QPixmap DrawLook(const Design& d, int16_t look) {
  QPixmap pixmap(d.width, d.height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  // The bevel's one-pixel edges must stay sharp; smoothing would blur them grey.
  p.setRenderHint(QPainter::Antialiasing, d.shape != Shape::kBevel);
  // Half a pixel in, so a one-pixel outline falls on whole pixels, not between.
  const QRect r(0, 0, d.width - 1, d.height - 1);
  DrawBody(p, d, look, QRectF(r).adjusted(0.5, 0.5, 0, 0));
  if (d.shape == Shape::kBevel) DrawBevel(p, look, r);
  // The check box shows its mark only while pressed; the others always.
  const bool show_glyph = d.shape != Shape::kCheckBox || look == kLookPressed;
  if (show_glyph) {
    // The glyph moves one pixel down and right when pressed, as the face does.
    const double offset = look == kLookPressed ? 1 : 0;
    const QPointF centre(d.width / 2.0 + offset, d.height / 2.0 + offset);
    const QColor ink = InkFor(FillFor(QColor(d.base), look), look);
    DrawGlyph(p, d.glyph, centre, std::min(d.width, d.height) * 0.42, ink);
  }
  return pixmap;
}

// Toggle switch: off (knob left, grey track) for the normal looks, on when pressed.
QPixmap DrawSwitch(int16_t look) {
  QPixmap pixmap(36, 18);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const bool on = look == kLookPressed;
  QColor track = on ? QColor(0x2e, 0xa0, 0x4a) : QColor(0xa0, 0xa6, 0xb0);
  if (look == kLookDisabled) track = QColor(0xdd, 0xdd, 0xdd);
  if (look == kLookHover) track = track.lighter(115);
  p.setPen(QPen(look == kLookHover ? kHoverRing : track.darker(140), look == kLookHover ? 2 : 1));
  p.setBrush(track);
  p.drawRoundedRect(QRectF(1, 1, 34, 16), 8, 8);
  p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
  p.setBrush(look == kLookDisabled ? QColor(0xf0, 0xf0, 0xf0) : QColor(Qt::white));
  p.drawEllipse(QPointF(on ? 27 : 9, 9), 6, 6);
  return pixmap;
}

// Text toggle: "Nee" while released, "Ja" when pressed.
QPixmap DrawYesNo(int16_t look) {
  QPixmap pixmap(40, 18);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const bool on = look == kLookPressed;
  QColor fill = on ? QColor(0x2e, 0x7d, 0xd1) : QColor(0xf4, 0xf4, 0xf4);
  if (look == kLookDisabled) fill = QColor(0xe4, 0xe4, 0xe4);
  p.setPen(
      QPen(look == kLookHover ? kHoverRing : QColor(0x60, 0x60, 0x60), look == kLookHover ? 2 : 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(1, 1, 38, 16), 3, 3);
  QFont font;
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(look == kLookDisabled ? kDisabledInk
                                 : (on ? QColor(Qt::white) : QColor(0x30, 0x30, 0x30)));
  p.drawText(QRect(0, 0, 40, 18), Qt::AlignCenter, on ? "Ja" : "Nee");
  return pixmap;
}

// Round radio button: ring, with the dot when chosen (pressed).
QPixmap DrawRadio(int16_t look, bool diamond) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ring = look == kLookDisabled ? kDisabledInk
                      : look == kLookHover  ? kHoverRing
                                            : QColor(0x33, 0x55, 0x88);
  p.setPen(QPen(ring, look == kLookHover ? 2 : 1.2));
  p.setBrush(look == kLookDisabled ? QColor(0xee, 0xee, 0xee) : QColor(Qt::white));
  const QPolygonF diamond_shape{{8, 1}, {15, 8}, {8, 15}, {1, 8}};
  if (diamond) {
    p.drawPolygon(diamond_shape);
  } else {
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
  }
  if (look == kLookPressed) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1a, 0x6f, 0xd6));
    if (diamond) {
      p.drawPolygon(QPolygonF{{8, 4.5}, {11.5, 8}, {8, 11.5}, {4.5, 8}});
    } else {
      p.drawEllipse(QPointF(8, 8), 3.5, 3.5);
    }
  }
  return pixmap;
}

template <typename Draw>
std::vector<QPixmap> DrawList(Draw style1, Draw style2) {
  std::vector<QPixmap> list;
  for (int16_t look = 0; look < kLookCount; ++look) list.push_back(style1(look));
  for (int16_t look = 0; look < kLookCount; ++look) list.push_back(style2(look));
  return list;
}

struct PictureCache {
  std::map<int16_t, LookPictures> styles;
  std::vector<QPixmap> small;
  std::vector<QPixmap> radio;
};

// Drawn once per process, on first use, when a QApplication exists; pixmaps
// cannot be made before it.
std::unique_ptr<PictureCache>& CacheSlot() {
  static std::unique_ptr<PictureCache> cache;
  return cache;
}

// Pixmaps must go before the application object does.
void ReleaseCache() { CacheSlot().reset(); }

std::unique_ptr<PictureCache> DrawAll() {
  auto cache = std::make_unique<PictureCache>();
  for (const Design& design : kDesigns) {
    LookPictures& looks = cache->styles[design.style];
    for (int16_t look = 0; look < kLookCount; ++look) {
      looks[static_cast<size_t>(look)] = DrawLook(design, look);
    }
  }
  using Draw = QPixmap (*)(int16_t);
  cache->small = DrawList<Draw>(DrawSwitch, DrawYesNo);
  cache->radio = DrawList<Draw>([](int16_t look) { return DrawRadio(look, false); },
                                [](int16_t look) { return DrawRadio(look, true); });
  return cache;
}

const PictureCache& Cache() {
  std::unique_ptr<PictureCache>& slot = CacheSlot();
  if (!slot) {
    slot = DrawAll();
    qAddPostRoutine(ReleaseCache);
  }
  return *slot;
}

const QPixmap& ListImage(const std::vector<QPixmap>& list, int index) {
  static const QPixmap kNone;
  // Image lists count from 1; an index outside gives no picture, not a fault.
  if (index < 1 || index > static_cast<int>(list.size())) return kNone;
  return list[static_cast<size_t>(index - 1)];
}

}  // namespace

bool IsButtonStyle(int16_t style) {
  return std::find(kButtonStyles.begin(), kButtonStyles.end(), style) != kButtonStyles.end();
}

const LookPictures& StylePictures(int16_t style) {
  // An unknown style draws nothing rather than someone else's design.
  static const LookPictures kEmpty{};
  const auto& styles = Cache().styles;
  const auto it = styles.find(style);
  return it != styles.end() ? it->second : kEmpty;
}

const QPixmap& imgResourceSmall(int index) { return ListImage(Cache().small, index); }

const QPixmap& imgListRadio(int index) { return ListImage(Cache().radio, index); }

}  // namespace typrosync
