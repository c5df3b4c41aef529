#include "ui/f_message.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include "ui/application_info.h"
#include "ui/message_icons.h"
#include "ui/twips.h"

namespace typrosync {

namespace {

// The frame the layout allows for: a thin border and a dialog frame, in pixels,
// at their classic sizes (Qt leaves the real frame to the window manager).
constexpr int kThinBorderPixels = 1;
constexpr int kDialogFramePixels = 3;
constexpr double kFontPoints = 8.25;

bool IsIconValue(long value) { return IconResourceFor(value) != 0; }

}  // namespace

FMessage::FMessage(QWidget* parent) : QDialog(parent) {
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QFont font("Segoe UI");
  font.setPointSizeF(kFontPoints);
  setFont(font);
  BuildDesign();
}

void FMessage::BuildDesign() {
  pic_icon_ = new QLabel(this);
  pic_icon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pic_icon_->setVisible(false);
  lbl_message_ = new QLabel(this);
  lbl_message_->setWordWrap(true);
  lbl_message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbl_message_->setTextFormat(Qt::PlainText);
  pic_buttons_ = new QWidget(this);
  for (int i = 0; i < kMaxButtons; ++i) {
    auto* button = new QPushButton(pic_buttons_);
    // Only the button the caller names is the default; Qt would otherwise make
    // whichever has the focus the one Enter presses.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, i] { OnButton(i); });
    cmd_button_[static_cast<size_t>(i)] = button;
  }
  // The designed size and places; ApplyLayout moves them once the text is known.
  setFixedSize(TwipsToPixels(kDesignClientWidth, this), TwipsToPixels(kDesignClientHeight, this));
  PlaceTwips(pic_icon_, kIconLeft, kIconTop, kIconWidth, kIconHeight);
  PlaceTwips(lbl_message_, kLabelDesignLeft, kLabelTop, kLabelDesignWidth, kLabelDesignHeight);
  PlaceTwips(pic_buttons_, 0, kDesignClientHeight - kButtonsPanelHeight, kDesignClientWidth,
             kButtonsPanelHeight);
  const std::array<long, kMaxButtons> design_lefts{60, 1320, 2580, 3840};
  for (size_t i = 0; i < cmd_button_.size(); ++i) {
    PlaceTwips(cmd_button_[i], design_lefts[i], kButtonTop, kButtonWidth, kButtonHeight);
  }
}

void FMessage::PlaceTwips(QWidget* widget, long left, long top, long width, long height) {
  widget->setGeometry(TwipsToPixels(left, this), TwipsToPixels(top, this),
                      TwipsToPixels(width, this), TwipsToPixels(height, this));
}

QPushButton* FMessage::cmdButton(int index) const {
  if (index < 0 || index >= kMaxButtons) return nullptr;
  return cmd_button_[static_cast<size_t>(index)];
}

void FMessage::MessageIcon(long value) {
  icon_ = value;
  const long resource = IconResourceFor(value);
  if (resource != 0) {
    pic_icon_->setPixmap(LoadIconResource(resource));
    pic_icon_->setVisible(true);
  } else {
    pic_icon_->setVisible(false);
  }
}

void FMessage::MessageTitle(const QString& title) {
  setWindowTitle(title.isEmpty() ? AppTitle() : title);
}

void FMessage::ButtonText(const std::vector<QString>& captions) {
  captions_ = captions;
  for (QPushButton* button : cmd_button_) button->setVisible(false);
  for (size_t i = 0; i < captions.size() && i < cmd_button_.size(); ++i) {
    cmd_button_[i]->setVisible(true);
  }
}

void FMessage::ButtonsUnload(const std::vector<bool>& closes) { closes_ = closes; }

void FMessage::TopMost(bool top_most) {
  // Never cleared: a box once made top-most stays so while it is shown.
  if (top_most) setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void FMessage::ButtonDefault(long index) {
  QPushButton* button = cmdButton(static_cast<int>(index));
  if (button == nullptr) return;
  button->setDefault(true);
  button->setFocus();
}

void FMessage::OnButton(int index) {
  selected_ = index;
  const auto at = static_cast<size_t>(index);
  // A button that does not close the box leaves it open and tells the caller,
  // which may change the box and wait again.
  if (at < closes_.size() && closes_[at]) {
    done(index);
  } else {
    emit ButtonClicked(index);
  }
}

long FMessage::BorderAllowance() const {
  return PixelsToTwips(kThinBorderPixels + kDialogFramePixels, this);
}

double FMessage::PromptTextWidth(const QString& prompt) const {
  // The widest line counts, as for a measured text with line breaks.
  const QFontMetricsF metrics(font());
  double widest = 0;
  for (const QString& line : QString(prompt).remove('\r').split('\n')) {
    widest = std::max(widest, metrics.horizontalAdvance(line));
  }
  return widest * TwipsPerPixel(this);
}

long FMessage::LabelHeight(const QString& prompt, long label_width) const {
  const QFontMetrics metrics(lbl_message_->font());
  // As high as any text needs: only the width limits, the height is measured.
  const QRect bounds(0, 0, std::max(1, TwipsToPixels(label_width, this)), 1 << 20);
  const QRect used =
      metrics.boundingRect(bounds, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, prompt);
  return PixelsToTwips(used.height(), this);
}

void FMessage::ApplyLayout(const QString& prompt) {
  MessageLayoutInput input;
  input.has_icon = IsIconValue(icon_);
  input.prompt_text_width = PromptTextWidth(prompt);
  input.border = BorderAllowance();
  input.window_height = client_height_;
  input.buttons_top = client_height_ - kButtonsPanelHeight;
  input.button_count = static_cast<int>(captions_.size());
  input.label_height = [this, &prompt](long width) { return LabelHeight(prompt, width); };
  layout_ = LayOutMessage(input);

  // The height grows with each call; a box shown again keeps its last height.
  client_height_ = layout_.window_height;
  const long client_width = layout_.window_width - input.border;
  setFixedSize(TwipsToPixels(client_width, this), TwipsToPixels(client_height_, this));
  PlaceTwips(lbl_message_, layout_.label_left, kLabelTop, layout_.label_width,
             layout_.label_height);
  lbl_message_->setText(prompt);
  // The button panel lies along the bottom of the window.
  PlaceTwips(pic_buttons_, 0, client_height_ - kButtonsPanelHeight, client_width,
             kButtonsPanelHeight);
  for (size_t i = 0; i < cmd_button_.size(); ++i) {
    if (!layout_.button_lefts[i]) continue;
    PlaceTwips(cmd_button_[i], *layout_.button_lefts[i], kButtonTop, kButtonWidth, kButtonHeight);
    cmd_button_[i]->setText(captions_[i]);
  }
}

void FMessage::ShowMessage(const QString& prompt) {
  ApplyLayout(prompt);
  exec();
}

// The close box does nothing: an answer comes only from a button.
void FMessage::closeEvent(QCloseEvent* event) { event->ignore(); }

void FMessage::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    ShowHelpTopic(this);
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace typrosync
