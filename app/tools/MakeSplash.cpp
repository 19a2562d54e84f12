// Draws the welcome picture (475 x 125, logo on black) into a PNG file; the
// committed app/resources/splash.png was made with it:
//   QT_QPA_PLATFORM=offscreen penwick-make-splash app/resources/splash.png
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: penwick-make-splash OUT.png\n");
    return 2;
  }
  QImage image(475, 125, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  // A quill nib on the left: the editor's mark.
  QPainterPath nib;
  nib.moveTo(40, 100);
  nib.cubicTo(30, 70, 55, 35, 95, 18);
  nib.cubicTo(85, 50, 70, 80, 40, 100);
  QLinearGradient nibFill(40, 100, 95, 18);
  nibFill.setColorAt(0, QColor(200, 120, 20));
  nibFill.setColorAt(1, QColor(255, 220, 120));
  painter.fillPath(nib, nibFill);
  painter.setPen(QPen(QColor(90, 50, 10), 2));
  painter.drawLine(QPointF(42, 98), QPointF(80, 40));

  QFont title("DejaVu Sans", 34, QFont::Bold);
  painter.setFont(title);
  painter.setPen(QColor(235, 235, 235));
  painter.drawText(QRect(115, 14, 350, 56), Qt::AlignLeft | Qt::AlignVCenter, "Penwick");

  QFont subtitle("DejaVu Sans", 12);
  painter.setFont(subtitle);
  painter.setPen(QColor(255, 190, 70));
  painter.drawText(QRect(118, 70, 350, 22), Qt::AlignLeft | Qt::AlignVCenter, "Varnok mission script editor");
  painter.setPen(QColor(150, 150, 150));
  painter.drawText(QRect(118, 93, 350, 20), Qt::AlignLeft | Qt::AlignVCenter, "version 2.0");

  painter.setPen(QPen(QColor(255, 190, 70), 1));
  painter.drawLine(118, 68, 455, 68);
  painter.end();
  return image.save(argv[1], "PNG") ? 0 : 1;
}
