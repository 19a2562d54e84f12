// The black panel that covers the editor while no document is open, with the
// splash picture kept at a fixed distance from its lower-right corner.
#pragma once

#include <QLabel>
#include <QWidget>

namespace penwick {

class TWelcomePanel : public QWidget {
  Q_OBJECT
public:
  // Starts with the given size; the picture's top-left corner is put at
  // `pictureOrigin` and from then on keeps its distance from the panel's right
  // and bottom edges. A picture that cannot be decoded leaves the panel plain.
  TWelcomePanel(QWidget* parent, QSize initialSize, QPoint pictureOrigin);

  QLabel* Picture() const { return m_picture; }

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  QLabel* m_picture;
  int m_rightGap;   // panel width minus the picture's right edge
  int m_bottomGap;  // panel height minus the picture's bottom edge
};

}  // namespace penwick
