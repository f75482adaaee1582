// Draws Nimbrel's skin: the ten pictures of the Skin folder and the program icon, the icon also at the
// desktop's sizes and as SVG for the icon theme.
// Usage: make_skins OUTPUT_FOLDER   (writes OUTPUT_FOLDER/Skin/*.Jpg, OUTPUT_FOLDER/nimbrel.png and
// OUTPUT_FOLDER/icons/hicolor/*/apps/nimbrel.{png,svg})
// Backgrounds are drawn at the sizes their names give; button pictures at twice the size they are shown,
// so they stay crisp on a HiDPI screen.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <cstdio>

namespace
{

const QColor kInk(0x1f, 0x3a, 0x5f);
const QColor kPaleTop(0xf4, 0xf7, 0xfb);
const QColor kPaleBottom(0xdc, 0xe5, 0xf0);

bool save(const QImage& image, const QString& path)
{
    if (image.save(path, path.endsWith(QLatin1String(".png")) ? "PNG" : "JPG", 95))
        return true;
    std::fprintf(stderr, "make_skins: cannot write %s\n", qPrintable(path));
    return false;
}

QImage background(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, height);
    body.setColorAt(0, kPaleTop);
    body.setColorAt(1, kPaleBottom);
    painter.fillRect(image.rect(), body);
    // A quiet title band behind the caption, and a hairline frame that marks the borderless edge.
    QLinearGradient band(0, 0, 0, 17);
    band.setColorAt(0, QColor(0xc9, 0xd8, 0xea));
    band.setColorAt(1, QColor(0xe3, 0xeb, 0xf5));
    painter.fillRect(QRect(0, 0, width, 17), band);
    painter.setPen(QColor(0xa9, 0xbc, 0xd3));
    painter.drawLine(0, 17, width, 17);
    painter.setPen(QPen(QColor(0x7d, 0x95, 0xb3), 1));
    painter.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    return image;
}

QImage button(bool pressed)
{
    QImage image(240, 44, QImage::Format_RGB32);
    image.fill(kPaleBottom);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face(2, 2, 236, 40);
    QLinearGradient fill(0, 0, 0, 44);
    fill.setColorAt(0, pressed ? QColor(0xc4, 0xd2, 0xe4) : QColor(0xff, 0xff, 0xff));
    fill.setColorAt(1, pressed ? QColor(0xe2, 0xea, 0xf4) : QColor(0xd7, 0xe2, 0xef));
    painter.setPen(QPen(pressed ? QColor(0x4a, 0x6a, 0x95) : QColor(0x8c, 0xa3, 0xc1), 2));
    painter.setBrush(fill);
    painter.drawRoundedRect(face, 9, 9);
    return image;
}

QImage windowBox(bool close, bool pressed)
{
    QImage image(32, 28, QImage::Format_RGB32);
    image.fill(QColor(0xd4, 0xe0, 0xee));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor face =
        pressed ? (close ? QColor(0xb8, 0x3a, 0x3a) : QColor(0x4a, 0x6a, 0x95)) : QColor(0xf7, 0xf9, 0xfc);
    painter.setPen(QPen(QColor(0x7d, 0x95, 0xb3), 2));
    painter.setBrush(face);
    painter.drawRoundedRect(QRectF(2, 2, 28, 24), 6, 6);
    painter.setPen(QPen(pressed ? Qt::white : kInk, 3, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        painter.drawLine(QPointF(11, 9), QPointF(21, 19));
        painter.drawLine(QPointF(21, 9), QPointF(11, 19));
    } else {
        painter.drawLine(QPointF(10, 19), QPointF(22, 19));
    }
    return image;
}

QImage checkBox(bool on)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(kPaleBottom);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x4a, 0x6a, 0x95), 2.5));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(3, 3, 26, 26), 5, 5);
    if (on) {
        QPainterPath tick;
        tick.moveTo(9, 16.5);
        tick.lineTo(14, 22);
        tick.lineTo(23.5, 10);
        painter.setPen(QPen(QColor(0, 0, 192), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    }
    return image;
}

// The icon on a 128-unit square.
void paintIcon(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient disc(0, 0, 0, 128);
    disc.setColorAt(0, QColor(0x3d, 0x6f, 0xb0));
    disc.setColorAt(1, QColor(0x1f, 0x3a, 0x5f));
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(4, 4, 120, 120));
    // A telephone handset with two ringing arcs.
    QPainterPath handset;
    handset.moveTo(38, 40);
    handset.cubicTo(30, 48, 36, 70, 52, 84);
    handset.cubicTo(66, 97, 82, 101, 90, 92);
    painter.setPen(QPen(Qt::white, 15, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(handset);
    painter.setPen(QPen(QColor(0xff, 0xe0, 0x80), 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(62, 26, 40, 40), 0 * 16, 90 * 16);
    painter.drawArc(QRectF(58, 14, 58, 58), 5 * 16, 80 * 16);
}

QImage programIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(size / 128.0, size / 128.0);
    paintIcon(painter);
    return image;
}

bool saveIconTheme(const QDir& out)
{
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        out.mkpath(folder);
        if (!save(programIcon(size), out.filePath(folder + QStringLiteral("/nimbrel.png"))))
            return false;
    }
    out.mkpath(QStringLiteral("icons/hicolor/scalable/apps"));
    QSvgGenerator svg;
    svg.setFileName(out.filePath(QStringLiteral("icons/hicolor/scalable/apps/nimbrel.svg")));
    svg.setSize(QSize(128, 128));
    svg.setViewBox(QRect(0, 0, 128, 128));
    svg.setTitle(QStringLiteral("Nimbrel"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::fprintf(stderr, "make_skins: cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    paintIcon(painter);
    return painter.end();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skins OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("Skin"));
    const QString skin = out.filePath(QStringLiteral("Skin/"));
    const bool ok = save(background(385, 281), skin + QStringLiteral("385x281.Jpg"))
                    && save(background(380, 165), skin + QStringLiteral("380x165.Jpg"))
                    && save(button(false), skin + QStringLiteral("ButtonUP.Jpg"))
                    && save(button(true), skin + QStringLiteral("ButtonDN.Jpg"))
                    && save(windowBox(true, false), skin + QStringLiteral("CloseUP.Jpg"))
                    && save(windowBox(true, true), skin + QStringLiteral("CloseDN.Jpg"))
                    && save(windowBox(false, false), skin + QStringLiteral("MinimizeUP.Jpg"))
                    && save(windowBox(false, true), skin + QStringLiteral("MinimizeDN.Jpg"))
                    && save(checkBox(true), skin + QStringLiteral("CheckON.Jpg"))
                    && save(checkBox(false), skin + QStringLiteral("CheckOFF.Jpg"))
                    && save(programIcon(128), out.filePath(QStringLiteral("nimbrel.png")))
                    && saveIconTheme(out);
    return ok ? 0 : 1;
}
