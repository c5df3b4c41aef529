#pragma once
// FMessage: the message window behind CMessage. An icon, the prompt and up to four
// buttons in one row; the window sizes itself to the prompt and runs modally until a
// button whose close flag is set is clicked. Other buttons raise ButtonClicked.

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

#include "ui/message_layout.h"

class QLabel;
class QPushButton;
class QWidget;

namespace typrosync {

class FMessage : public QDialog {
  Q_OBJECT

 public:
  explicit FMessage(QWidget* parent = nullptr);

  // 16, 32, 48 or 64 loads that icon and shows it; any other value hides it.
  void MessageIcon(long value);
  long MessageIcon() const { return icon_; }
  // The caption; empty gives the application's title.
  void MessageTitle(const QString& title);
  // Stores the captions and shows buttons 0 to the last index; hides the rest.
  void ButtonText(const std::vector<QString>& captions);
  // Per-button close flags, same indexes as the captions.
  void ButtonsUnload(const std::vector<bool>& closes);
  // True keeps the window above all windows that are not top-most.
  void TopMost(bool top_most);
  // Makes button `index` the default button (Enter, first focus).
  void ButtonDefault(long index);
  // Index of the button last clicked (0 until one is).
  long SelectedButton() const { return selected_; }

  // Lays the window out for `prompt` and shows it modally; returns once a closing
  // button has unloaded it.
  void ShowMessage(const QString& prompt);

  // The layout of the last ShowMessage, in twips.
  const MessageLayout& Layout() const { return layout_; }
  // Twips of the thin border plus the dialog frame.
  long BorderAllowance() const;

  QLabel* picIcon() const { return pic_icon_; }
  QLabel* lblMessage() const { return lbl_message_; }
  QWidget* picButtons() const { return pic_buttons_; }
  QPushButton* cmdButton(int index) const;

 signals:
  // A button that does not close the window was clicked.
  void ButtonClicked(long lButton);

 public slots:
  // Escape and the title bar's close do not end the window: only its buttons do.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildDesign();
  void OnButton(int index);
  double PromptTextWidth(const QString& prompt) const;
  long LabelHeight(const QString& prompt, long label_width) const;
  void ApplyLayout(const QString& prompt);
  void PlaceTwips(QWidget* widget, long left, long top, long width, long height);

  long icon_ = 0;
  std::vector<QString> captions_;
  std::vector<bool> closes_;
  long selected_ = 0;
  long client_height_ = kDesignClientHeight;
  MessageLayout layout_;

  QLabel* pic_icon_ = nullptr;  // children are owned by Qt's parent chain
  QLabel* lbl_message_ = nullptr;
  QWidget* pic_buttons_ = nullptr;
  std::array<QPushButton*, kMaxButtons> cmd_button_{};
};

}  // namespace typrosync
