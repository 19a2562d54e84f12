// A sunken panel filled with one colour that reports clicks: the colour
// swatches of the preferences dialog.
#pragma once

#include <QFrame>
#include <cstdint>

namespace penwick {

class TQtColorSwatch : public QFrame {
  Q_OBJECT
public:
  explicit TQtColorSwatch(QWidget* parent = nullptr);

  // A 32-bit colour value; system colours are painted from the palette,
  // clNone as the window background.
  std::uint32_t Color() const { return m_color; }
  void SetColor(std::uint32_t color);

signals:
  // A left-button press over the swatch.
  void Clicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  std::uint32_t m_color = 0;
};

}  // namespace penwick
