// Draws the editor's images: the action glyphs at 16 and 24 px, the program icon at the sizes a
// desktop asks for, the document icon and the 450 x 450 picture of the empty main window.
//   draw_images <output folder>
// The glyphs share one style: a 24-unit grid, dark slate outlines of 1.6 units with round joins,
// white or lightly tinted fills and one accent colour per kind of action.
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {
const QColor InkColor(0x2E, 0x3A, 0x46);
const QColor Paper(0xFF, 0xFF, 0xFF);
const QColor Accent(0x2F, 0x7F, 0xD0);
const QColor AccentLight(0xD6, 0xE7, 0xF8);
const QColor Green(0x2E, 0x9E, 0x4F);
const QColor Red(0xD6, 0x45, 0x41);
const QColor Amber(0xE8, 0xA3, 0x3C);
const QColor AmberLight(0xF6, 0xCB, 0x72);
const QColor Steel(0x5B, 0x6B, 0x7A);

using Draw = std::function<void(QPainter&)>;

QPen Pen(const QColor& colour, double width = 1.6, Qt::PenStyle style = Qt::SolidLine) {
    return QPen(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
}

void Shape(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& line = InkColor,
           double width = 1.6) {
    p.setPen(Pen(line, width));
    p.setBrush(fill);
    p.drawPath(path);
}

void Line(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 1.6) {
    p.setPen(Pen(colour, width));
    p.drawLine(from, to);
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath Rect(double x0, double y0, double x1, double y1, double radius = 0) {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)), radius, radius);
    return path;
}

/// A wave from x0 to x1 around `middle` whose half-height at x is amplitude(x).
QPainterPath Wave(double x0, double x1, double middle,
                  const std::function<double(double)>& amplitude, double period = 4.0) {
    QPainterPath path;
    path.moveTo(x0, middle);
    for (double x = x0; x <= x1 + 1e-9; x += 0.25)
        path.lineTo(x, middle - amplitude(x) * std::sin(2 * std::numbers::pi * (x - x0) / period));
    return path;
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 2.2) {
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    const QPointF u = d / length, n(-u.y(), u.x());
    Line(p, from, to - u * 3.0, colour, width);
    p.setPen(Pen(colour, 1.0));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to, to - u * 5.0 + n * 3.5, to - u * 5.0 - n * 3.5}));
}

void Page(QPainter& p, double x0, double y0, double x1, double y1) {
    const double fold = 5.0;
    Shape(p, Polygon({{x0, y0}, {x1 - fold, y0}, {x1, y0 + fold}, {x1, y1}, {x0, y1}}), Paper);
    Shape(p, Polygon({{x1 - fold, y0}, {x1 - fold, y0 + fold}, {x1, y0 + fold}}), AccentLight);
}

void Badge(QPainter& p, const QColor& colour, const Draw& mark) {
    QPainterPath circle;
    circle.addEllipse(QPointF(17.5, 17.5), 5.5, 5.5);
    Shape(p, circle, colour, Paper, 1.2);
    mark(p);
}

void PlusMark(QPainter& p, QPointF c, double r, const QColor& colour = Paper, double width = 1.8) {
    Line(p, c - QPointF(r, 0), c + QPointF(r, 0), colour, width);
    Line(p, c - QPointF(0, r), c + QPointF(0, r), colour, width);
}

void MinusMark(QPainter& p, QPointF c, double r, const QColor& colour = Paper, double width = 1.8) {
    Line(p, c - QPointF(r, 0), c + QPointF(r, 0), colour, width);
}

void CrossMark(QPainter& p, QPointF c, double r, const QColor& colour = Paper, double width = 1.8) {
    Line(p, c + QPointF(-r, -r), c + QPointF(r, r), colour, width);
    Line(p, c + QPointF(r, -r), c + QPointF(-r, r), colour, width);
}

void Floppy(QPainter& p) {
    Shape(p, Rect(3, 3, 21, 21, 2), Accent);
    Shape(p, Rect(7, 3, 16.5, 9), Paper);
    p.fillRect(QRectF(13, 4.5, 2, 3), InkColor);
    Shape(p, Rect(6.5, 13, 17.5, 21), Paper);
    Line(p, {9, 16}, {15, 16}, AccentLight, 1.2);
    Line(p, {9, 18.5}, {15, 18.5}, AccentLight, 1.2);
}

void SmallFloppy(QPainter& p) {
    p.save();
    p.scale(0.75, 0.75);
    Floppy(p);
    p.restore();
}

void Magnifier(QPainter& p, const Draw& mark) {
    Line(p, {15, 15}, {21, 21}, InkColor, 3.4);
    QPainterPath lens;
    lens.addEllipse(QPointF(10, 10), 7, 7);
    Shape(p, lens, AccentLight, InkColor, 2.0);
    mark(p);
}

void Speaker(QPainter& p) {
    Shape(p, Polygon({{2.5, 9}, {6.5, 9}, {12, 4}, {12, 20}, {6.5, 15}, {2.5, 15}}), Steel);
}

void SelectionBox(QPainter& p, const QColor& fill, const QColor& frame) {
    p.setPen(Pen(frame, 1.4, Qt::DashLine));
    p.setBrush(fill);
    p.drawRect(QRectF(2.5, 4.5, 19, 15));
    p.setPen(Pen(InkColor, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Wave(4, 20, 12,
                    [](double x) { return 2.0 + 3.0 * std::sin(x / 3.0) * std::sin(x / 3.0); }));
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& fill) {
    Shape(p, Polygon({a, b, c}), fill, fill.darker(130), 1.2);
}

void WaveStroke(QPainter& p, const QPainterPath& path, const QColor& colour, double width = 1.6,
                Qt::PenStyle style = Qt::SolidLine) {
    p.setPen(Pen(colour, width, style));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void Fade(QPainter& p, bool rising) {
    auto envelope = [rising](double x) { return 0.8 + 8.2 * (rising ? (x - 3) : (21 - x)) / 18.0; };
    WaveStroke(p, Wave(3, 21, 12.5, envelope, 4.5), Accent, 1.6);
    Line(p, {3, 12.5 - envelope(3) - 1.5}, {21, 12.5 - envelope(21) - 1.5}, InkColor, 1.4);
}

void Text(QPainter& p, const QRectF& box, const QString& text, int pixelSize, QFont::Weight weight,
          const QColor& colour) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void Help(QPainter& p) {
    QPainterPath circle;
    circle.addEllipse(QPointF(12, 12), 10, 10);
    Shape(p, circle, Accent, Accent.darker(130), 1.2);
    QPainterPath hook;
    hook.moveTo(8.5, 9.5);
    hook.cubicTo(8.5, 5.0, 15.5, 5.0, 15.5, 9.0);
    hook.cubicTo(15.5, 12.0, 12.0, 11.5, 12.0, 14.5);
    WaveStroke(p, hook, Paper, 2.4);
    p.setPen(Qt::NoPen);
    p.setBrush(Paper);
    p.drawEllipse(QPointF(12, 18), 1.5, 1.5);
}

void Gear(QPainter& p) {
    QPolygonF outline;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = 2 * std::numbers::pi * (i - 0.5) / (teeth * 4);
        const double radius = (i % 4 < 2) ? 10.0 : 7.2;
        outline << QPointF(12 + radius * std::cos(angle), 12 + radius * std::sin(angle));
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(QPointF(12, 12), 3.2, 3.2);
    Shape(p, gear, Steel, InkColor, 1.2);
}

void Scissors(QPainter& p) {
    Line(p, {9.5, 14.5}, {17, 2.5}, Steel, 2.0);
    Line(p, {14.5, 14.5}, {7, 2.5}, Steel, 2.0);
    QPainterPath handles;
    handles.addEllipse(QPointF(7.5, 18), 3.5, 3.5);
    handles.addEllipse(QPointF(16.5, 18), 3.5, 3.5);
    Shape(p, handles, Qt::NoBrush, Red, 2.0);
}

void Paste(QPainter& p) {
    Shape(p, Rect(4, 4, 20, 22, 1.5), Amber);
    Shape(p, Rect(7, 7.5, 17, 20), Paper, InkColor, 1.2);
    Shape(p, Rect(8.5, 2, 15.5, 6.5, 1), Steel, InkColor, 1.2);
    for (double y : {11.0, 14.0, 17.0})
        Line(p, {9, y}, {15, y}, Accent, 1.2);
}

void Undo(QPainter& p) {
    QPainterPath shaft;
    shaft.moveTo(18, 20);
    shaft.cubicTo(22, 12, 16, 7, 9, 8);
    WaveStroke(p, shaft, Accent, 2.4);
    p.setPen(Pen(Accent, 1.0));
    p.setBrush(Accent);
    p.drawPolygon(QPolygonF({QPointF(2.5, 8), QPointF(10, 2.5), QPointF(10, 13.5)}));
}

void Mirrored(QPainter& p, const Draw& draw) {
    p.save();
    p.translate(24, 0);
    p.scale(-1, 1);
    draw(p);
    p.restore();
}

/// One glyph per file name; the program's image tables refer to these names.
const std::vector<std::pair<const char*, Draw>>& Glyphs() {
    static const std::vector<std::pair<const char*, Draw>> glyphs = {
        {"new",
         [](QPainter& p) {
             Page(p, 4, 2, 18, 22);
             Badge(p, Green, [](QPainter& q) { PlusMark(q, {17.5, 17.5}, 3); });
         }},
        {"open",
         [](QPainter& p) {
             Shape(p, Polygon({{2, 5}, {9, 5}, {11, 7.5}, {20, 7.5}, {20, 20}, {2, 20}}), Amber);
             Shape(p, Polygon({{5, 11}, {22.5, 11}, {20, 20}, {2, 20}}), AmberLight);
         }},
        {"save", Floppy},
        {"save-as",
         [](QPainter& p) {
             SmallFloppy(p);
             Shape(p, Polygon({{20, 10}, {22.5, 12.5}, {14, 21}, {10.5, 22}, {11.5, 18.5}}),
                   AmberLight);
         }},
        {"save-selected",
         [](QPainter& p) {
             SmallFloppy(p);
             p.setPen(Pen(Accent, 1.2, Qt::DashLine));
             p.setBrush(AccentLight);
             p.drawRect(QRectF(11.5, 12.5, 10.5, 9.5));
             WaveStroke(p,
                        Wave(
                            12.5, 21, 17.25, [](double) { return 3.0; }, 4.25),
                        InkColor, 1.3);
         }},
        {"close",
         [](QPainter& p) {
             Page(p, 4, 2, 18, 22);
             Badge(p, Red, [](QPainter& q) { CrossMark(q, {17.5, 17.5}, 2.4); });
         }},
        {"properties",
         [](QPainter& p) {
             Page(p, 4, 2, 20, 22);
             for (double y : {9.0, 13.0, 17.0}) {
                 Line(p, {7, y}, {8.5, y}, Accent, 2.0);
                 Line(p, {11, y}, {17, y}, Steel, 1.4);
             }
         }},
        {"settings", Gear},
        {"exit",
         [](QPainter& p) {
             Shape(p, Rect(3, 2, 14, 22), AmberLight);
             p.setPen(Qt::NoPen);
             p.setBrush(InkColor);
             p.drawEllipse(QPointF(11.5, 12.5), 1.1, 1.1);
             Arrow(p, {12, 12}, {22.5, 12}, Accent);
         }},
        {"cut", Scissors},
        {"copy",
         [](QPainter& p) {
             Shape(p, Rect(8.5, 2, 20.5, 16), Paper);
             Shape(p, Rect(3.5, 7, 15.5, 22), Paper);
             for (double y : {11.5, 14.5, 17.5})
                 Line(p, {6.5, y}, {12.5, y}, Accent, 1.2);
         }},
        {"paste", Paste},
        {"delete",
         [](QPainter& p) {
             CrossMark(p, {12, 12}, 7, Red, 3.4);
         }},
        {"undo", Undo},
        {"redo", [](QPainter& p) { Mirrored(p, Undo); }},
        {"zoom-in",
         [](QPainter& p) {
             Magnifier(p, [](QPainter& q) { PlusMark(q, {10, 10}, 3.5, Accent, 2.0); });
         }},
        {"zoom-out",
         [](QPainter& p) {
             Magnifier(p, [](QPainter& q) { MinusMark(q, {10, 10}, 3.5, Accent, 2.0); });
         }},
        {"zoom-full",
         [](QPainter& p) {
             Line(p, {3, 5}, {3, 19}, InkColor, 2.0);
             Line(p, {21, 5}, {21, 19}, InkColor, 2.0);
             Arrow(p, {12, 12}, {5.5, 12}, Accent, 2.0);
             Arrow(p, {12, 12}, {18.5, 12}, Accent, 2.0);
         }},
        {"go-start",
         [](QPainter& p) {
             Shape(p, Rect(4, 5, 7, 19), InkColor, InkColor, 1.0);
             Triangle(p, {20, 5}, {20, 19}, {8.5, 12}, InkColor);
         }},
        {"play",
         [](QPainter& p) {
             Triangle(p, {6, 3.5}, {6, 20.5}, {20.5, 12}, Green);
         }},
        {"stop", [](QPainter& p) { Shape(p, Rect(5, 5, 19, 19, 1.5), Red, Red.darker(130), 1.2); }},
        {"go-end",
         [](QPainter& p) {
             Shape(p, Rect(17, 5, 20, 19), InkColor, InkColor, 1.0);
             Triangle(p, {4, 5}, {4, 19}, {15.5, 12}, InkColor);
         }},
        {"fade-in", [](QPainter& p) { Fade(p, true); }},
        {"fade-out", [](QPainter& p) { Fade(p, false); }},
        {"silence",
         [](QPainter& p) {
             p.fillRect(QRectF(8, 4, 8, 16), AccentLight);
             WaveStroke(p,
                        Wave(
                            2, 8, 12, [](double) { return 7.0; }, 3.0),
                        Accent);
             Line(p, {8, 12}, {16, 12}, InkColor, 1.8);
             WaveStroke(p,
                        Wave(
                            16, 22, 12, [](double) { return 7.0; }, 3.0),
                        Accent);
         }},
        {"normalize",
         [](QPainter& p) {
             Line(p, {2, 3}, {22, 3}, Red, 1.2);
             Line(p, {2, 21}, {22, 21}, Red, 1.2);
             WaveStroke(p,
                        Wave(
                            2, 22, 12,
                            [](double x) { return 9.0 - 4.0 * std::abs(std::sin(x / 4.0)); }, 4.0),
                        Accent);
         }},
        {"reverse",
         [](QPainter& p) {
             Arrow(p, {20, 8}, {3, 8}, Accent);
             Arrow(p, {4, 16}, {21, 16}, InkColor);
         }},
        {"invert",
         [](QPainter& p) {
             Line(p, {2, 12}, {22, 12}, Steel, 1.0);
             WaveStroke(p,
                        Wave(
                            2, 22, 12, [](double) { return -7.0; }, 10.0),
                        Steel, 1.4, Qt::DashLine);
             WaveStroke(p,
                        Wave(
                            2, 22, 12, [](double) { return 7.0; }, 10.0),
                        Accent, 2.0);
         }},
        {"amplify-increase",
         [](QPainter& p) {
             Speaker(p);
             PlusMark(p, {18, 12}, 4, Green, 2.4);
         }},
        {"amplify-decrease",
         [](QPainter& p) {
             Speaker(p);
             MinusMark(p, {18, 12}, 4, Red, 2.4);
         }},
        {"help", Help},
        {"select-all", [](QPainter& p) { SelectionBox(p, AccentLight, Accent); }},
        {"deselect",
         [](QPainter& p) {
             SelectionBox(p, Qt::transparent, Steel);
             Badge(p, Red, [](QPainter& q) { CrossMark(q, {17.5, 17.5}, 2.4); });
         }},
    };
    return glyphs;
}

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

bool Save(const QImage& image, const QString& file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (image.save(file, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

QImage Glyph(const Draw& draw, int size) {
    QImage image = Canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p);
    return image;
}

/// The program icon: a blue tile with a white stylised waveform of vertical bars.
void ProgramIcon(QPainter& p, double size) {
    QLinearGradient tile(0, 0, 0, size);
    tile.setColorAt(0, QColor(0x2F, 0x8F, 0xE0));
    tile.setColorAt(1, QColor(0x1B, 0x4F, 0x95));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    const double margin = size / 16.0;
    p.drawRoundedRect(QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size * 0.2,
                      size * 0.2);
    const int bars = size >= 32 ? 9 : 5;
    const double inner = size - 4 * margin, pitch = inner / bars;
    p.setBrush(Qt::white);
    for (int i = 0; i < bars; ++i) {
        const double t = (i + 0.5) / bars;
        const double height = inner * (0.18 + 0.62 * std::pow(std::sin(std::numbers::pi * t), 2) *
                                                  (0.6 + 0.4 * std::cos(9 * t)));
        const QRectF bar(2 * margin + i * pitch + pitch * 0.2, size / 2 - height / 2, pitch * 0.6,
                         height);
        p.drawRoundedRect(bar, pitch * 0.3, pitch * 0.3);
    }
}

QImage ProgramIconImage(int size) {
    QImage image = Canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    ProgramIcon(p, size);
    return image;
}

QImage DocumentIconImage(int size) {
    return Glyph(
        [](QPainter& p) {
            Page(p, 4, 2, 20, 22);
            WaveStroke(
                p,
                Wave(
                    6, 18, 13.5, [](double x) { return 1.5 + 3.0 * std::sin((x - 6) / 3.8); }, 3.0),
                Accent, 1.4);
        },
        size);
}

/// The picture of the empty main window: a calm waveform under the product name.
QImage Background() {
    const int size = 450;
    QImage image = Canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(size / 2.0, size / 2.0, size * 0.62);
    glow.setColorAt(0, QColor(0xF4, 0xF7, 0xFB));
    glow.setColorAt(1, QColor(0xD3, 0xDD, 0xE8));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(0, 0, size, size), 24, 24);

    p.save();
    p.translate(size / 2.0 - 48, 58);
    ProgramIcon(p, 96);
    p.restore();

    auto envelope = [](double x) {
        const double t = (x - 45) / 360.0;
        return 62.0 * std::pow(std::sin(std::numbers::pi * t), 1.5) * (0.7 + 0.3 * std::cos(7 * t));
    };
    QPainterPath band;
    band.moveTo(45, 250);
    for (double x = 45; x <= 405; x += 1)
        band.lineTo(x, 250 - envelope(x));
    for (double x = 405; x >= 45; x -= 1)
        band.lineTo(x, 250 + envelope(x));
    band.closeSubpath();
    p.setBrush(QColor(0x2F, 0x7F, 0xD0, 40));
    p.drawPath(band);
    WaveStroke(p, Wave(45, 405, 250, envelope, 14.0), QColor(0x2F, 0x7F, 0xD0, 170), 1.6);
    Line(p, {30, 250}, {420, 250}, QColor(0x2E, 0x3A, 0x46, 90), 1.0);

    Text(p, QRectF(0, 330, size, 50), "Sondrix Audio Editor", 30, QFont::Light, InkColor);
    return image;
}

bool DrawAll(const QString& folder) {
    bool ok = true;
    for (const auto& [name, draw] : Glyphs())
        for (int size : {16, 24})
            ok &= Save(Glyph(draw, size),
                       QString("%1/actions/%2/%3.png").arg(folder).arg(size).arg(name));
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok &= Save(ProgramIconImage(size), QString("%1/sondrix-%2.png").arg(folder).arg(size));
    for (int size : {16, 24, 32, 48})
        ok &= Save(DocumentIconImage(size), QString("%1/document-%2.png").arg(folder).arg(size));
    ok &= Save(Background(), folder + "/background.png");
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    return DrawAll(argv[1]) ? 0 : 1;
}
