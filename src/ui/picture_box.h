#pragma once
// PictureBox: a surface that shows one picture on its background colour and reports
// the mouse as the image buttons need it: down, up, move (also without a button
// held), click (released over the box) and double click.

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace typrosync {

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }
  void SetBackColor(const QColor& color);
  QColor BackColor() const { return back_color_; }

 signals:
  void MouseDown();
  void MouseUp();
  void MouseMove();
  void Click();
  void DblClick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
  QColor back_color_;
  bool after_double_click_ = false;  // the release ending a double click is no click
};

}  // namespace typrosync
