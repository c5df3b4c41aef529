#include "ui/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace typrosync {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
  // Moves without a button held must arrive too: they start the hover tracking.
  setMouseTracking(true);
}

void PictureBox::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void PictureBox::SetBackColor(const QColor& color) {
  back_color_ = color;
  update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (back_color_.isValid()) painter.fillRect(rect(), back_color_);
  if (!picture_.isNull()) painter.drawPixmap(0, 0, picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  event->accept();
  emit MouseDown();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  emit MouseUp();
  const bool over = rect().contains(event->position().toPoint());
  if (after_double_click_) {
    after_double_click_ = false;
  } else if (over) {
    emit Click();
  }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  emit MouseMove();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click reports no MouseDown, only DblClick.
  event->accept();
  after_double_click_ = true;
  emit DblClick();
}

}  // namespace typrosync
