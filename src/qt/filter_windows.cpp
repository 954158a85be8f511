#include "qt/filter_windows.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <array>

#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "qt/icons.h"
#include "qt/image_painting.h"

namespace plotvane {

PreviewPaneWidget::PreviewPaneWidget(const PreviewPane& pane, QWidget* parent)
    : QWidget(parent), pane_(pane) {
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFixedSize(ControlBinder::toPixels(pane.geometry.width),
               ControlBinder::toPixels(pane.geometry.height));
}

void PreviewPaneWidget::refresh() {
  if (pane_.version == paintedVersion_) return;
  paintedVersion_ = pane_.version;
  update();
}

void PreviewPaneWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  paintPixels(painter, pane_.image, event->region(), palette().button());
}

void PreviewPaneWidget::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  const auto action = PictureView::PointerAction::Press;
  if (pointerHandler_) pointerHandler_(action, PictureView::pointerEvent(*event, action));
}

void PreviewPaneWidget::mouseMoveEvent(QMouseEvent* event) {
  const auto action = PictureView::PointerAction::Move;
  if (pointerHandler_) pointerHandler_(action, PictureView::pointerEvent(*event, action));
}

void PreviewPaneWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto action = PictureView::PointerAction::Release;
  if (pointerHandler_) pointerHandler_(action, PictureView::pointerEvent(*event, action));
}

void PreviewPaneWidget::keyPressEvent(QKeyEvent* event) {
  const int code = PictureView::keyCode(event->key());
  if (code != kKeyEnter || !keyHandler_) {
    QWidget::keyPressEvent(event);
    return;
  }
  keyHandler_(code);
}

SwatchWidget::SwatchWidget(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setFixedSize(48, 24);
}

void SwatchWidget::setColour(std::uint32_t colour) {
  if (colour == colour_) return;
  colour_ = colour;
  update();
}

void SwatchWidget::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(contentsRect(), QColor(redOf(colour_), greenOf(colour_), blueOf(colour_)));
  }
  QFrame::paintEvent(event);
}

void SwatchWidget::mouseReleaseEvent(QMouseEvent* event) {
  QFrame::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
      clickHandler_)
    clickHandler_();
}

namespace {

// What both filter windows share: the two panes side by side with the zoom
// buttons under them, and OK and Cancel at the bottom right.
class FilterWindow : public DialogWindow {
 public:
  FilterWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run)
      : DialogWindow(form, std::move(model), std::move(run)),
        dialog_(static_cast<FilterDialog&>(*model_)),
        column_(new QVBoxLayout(this)) {
    auto* panes = new QHBoxLayout();
    for (const PreviewPaneId id : {PreviewPaneId::Picture1, PreviewPaneId::Picture2}) {
      auto* pane = new PreviewPaneWidget(dialog_.pane(id), this);
      binder_.bind(dialog_.pane(id), pane);
      pane->setAccessibleName(id == PreviewPaneId::Picture1 ? QStringLiteral("Picture as it is")
                                                            : QStringLiteral("Picture filtered"));
      pane->setPointerHandler(
          [this, id](PictureView::PointerAction action, const PointerEvent& event) {
            binder_.run([&] {
              switch (action) {
                case PictureView::PointerAction::Press:
                  previewMouseDown(form_, dialog_.id, id, event);
                  break;
                case PictureView::PointerAction::Move:
                  previewMouseMove(form_, dialog_.id, id, event);
                  break;
                case PictureView::PointerAction::Release:
                  previewMouseUp(form_, dialog_.id, id, event);
                  break;
              }
            });
          });
      panes->addWidget(pane);
      panes_[static_cast<std::size_t>(id)] = pane;
    }
    column_->addLayout(panes);

    zoomRow_ = new QHBoxLayout();
    for (const bool in : {true, false}) {
      auto* button = new QPushButton(this);
      button->setAutoDefault(false);
      button->setIcon(toolbarIcon(in ? "btnZoomIn" : "btnZoomOut"));
      button->setIconSize(QSize(24, 24));
      const QString name = QString::fromStdString(
          form_.caption(in ? Caption::ButtonZoomIn : Caption::ButtonZoomOut));
      button->setToolTip(name);
      button->setAccessibleName(name);
      binder_.bindButton(in ? dialog_.cmdZoomIn : dialog_.cmdZoomOut, button,
                         [this, in] { previewZoomClick(form_, dialog_.id, in); });
      zoomRow_->addWidget(button);
    }
    column_->addLayout(zoomRow_);
  }

  void sync() override {
    DialogWindow::sync();
    for (PreviewPaneWidget* pane : panes_) pane->refresh();
  }

 protected:
  void closeRequested() override { filterUnload(form_, dialog_.id); }

  // The buttons' row, last in the window.
  void addButtons() {
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    auto* ok = new QPushButton(this);
    binder_.bindButton(dialog_.OKButton, ok, [this] { filterOkClick(form_, dialog_.id); });
    auto* cancel = new QPushButton(this);
    binder_.bindButton(dialog_.CancelButton, cancel, [this] { filterUnload(form_, dialog_.id); });
    row->addWidget(ok);
    row->addWidget(cancel);
    column_->addLayout(row);
  }

  // A caption, the slider it names and the field showing its value.
  QSlider* addSliderRow(QGridLayout* grid, int row, Control& caption, SliderControl& slider,
                        Control& field, std::function<void()> onChange) {
    auto* label = new QLabel(this);
    binder_.bind(caption, label);
    QSlider* widget = binder_.bindSlider(slider, this, std::move(onChange));
    label->setBuddy(widget);
    auto* value = new QLineEdit(this);
    binder_.bind(field, value);
    value->setReadOnly(true);
    value->setFixedWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("-0000")) + 12);
    value->setAlignment(Qt::AlignRight);
    value->setAccessibleName(QString::fromStdString(caption.text));
    grid->addWidget(label, row, 0);
    grid->addWidget(widget, row, 1);
    grid->addWidget(value, row, 2);
    return widget;
  }

  FilterDialog& dialog_;
  QVBoxLayout* column_;
  QHBoxLayout* zoomRow_ = nullptr;
  std::array<PreviewPaneWidget*, 2> panes_{};
};

class ContrastWindow : public FilterWindow {
 public:
  ContrastWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run)
      : FilterWindow(form, std::move(model), std::move(run)) {
    auto& contrast = static_cast<ContrastDialog&>(dialog_);
    zoomRow_->addStretch(1);
    auto* grid = new QGridLayout();
    QSlider* first = addSliderRow(grid, 0, contrast.Label1, contrast.Slider1, contrast.txtCont,
                                  [this] { contrastSlider1Change(form_); });
    addSliderRow(grid, 1, contrast.Label2, contrast.Slider2, contrast.txtLum,
                 [this] { contrastSlider2Change(form_); });
    column_->addLayout(grid);
    addButtons();
    first->setFocus();
  }
};

class ColourMaskWindow : public FilterWindow {
 public:
  ColourMaskWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run)
      : FilterWindow(form, std::move(model), std::move(run)),
        mask_(static_cast<ColourMaskDialog&>(dialog_)) {
    // Beside the zoom buttons: the selected colour, the colour under the
    // pointer and how to pick one.
    auto* caption = new QLabel(this);
    binder_.bind(mask_.Label5, caption);
    selected_ = new SwatchWidget(this);
    binder_.bind(mask_.Label3, selected_);
    selected_->setCursor(Qt::PointingHandCursor);
    selected_->setAccessibleName(QStringLiteral("Selected colour"));
    selected_->setClickHandler([this] { binder_.run([this] { colourMaskLabel3Click(form_); }); });
    caption->setBuddy(selected_);
    underPointer_ = new SwatchWidget(this);
    binder_.bind(mask_.Label4, underPointer_);
    underPointer_->setAccessibleName(QStringLiteral("Colour under the pointer"));
    zoomRow_->addSpacing(16);
    zoomRow_->addWidget(caption);
    zoomRow_->addWidget(selected_);
    zoomRow_->addWidget(underPointer_);
    zoomRow_->addStretch(1);

    auto* hint = new QLabel(this);
    binder_.bind(mask_.Label2, hint);
    hint->setWordWrap(true);
    column_->addWidget(hint);

    auto* grid = new QGridLayout();
    QSlider* slider = addSliderRow(grid, 0, mask_.Label1, mask_.Slider1, mask_.txtColorRange,
                                   [this] { colourMaskSlider1Change(form_); });
    column_->addLayout(grid);

    auto* frame = new QGroupBox(this);
    binder_.bind(mask_.Frame3, frame);
    auto* options = new QHBoxLayout(frame);
    for (const bool keep : {true, false}) {
      auto* option = new QRadioButton(frame);
      binder_.bindButton(keep ? mask_.optAnd : mask_.optNot, option,
                         [this, keep] { colourMaskOptionClick(form_, keep); });
      options->addWidget(option);
    }
    options->addStretch(1);
    column_->addWidget(frame);
    addButtons();

    // Enter in the slider or a pane runs OK.
    slider->installEventFilter(this);
    slider_ = slider;
    for (PreviewPaneWidget* pane : panes_)
      pane->setKeyHandler(
          [this](int code) { binder_.run([&] { colourMaskKeyDown(form_, code); }); });
    slider->setFocus();
  }

  void sync() override {
    FilterWindow::sync();
    selected_->setColour(mask_.Label3.colour);
    underPointer_->setColour(mask_.Label4.colour);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == slider_ && event->type() == QEvent::KeyPress) {
      const int code = PictureView::keyCode(static_cast<QKeyEvent*>(event)->key());
      if (code == kKeyEnter) {
        binder_.run([&] { colourMaskKeyDown(form_, code); });
        return true;
      }
    }
    return FilterWindow::eventFilter(watched, event);
  }

 private:
  ColourMaskDialog& mask_;
  SwatchWidget* selected_ = nullptr;
  SwatchWidget* underPointer_ = nullptr;
  QSlider* slider_ = nullptr;
};

}  // namespace

DialogWindow* createFilterWindow(Form1& form, std::shared_ptr<Dialog> model, HandlerRunner run) {
  if (!model) return nullptr;
  switch (model->id) {
    case DialogId::Contrast:
      return new ContrastWindow(form, std::move(model), std::move(run));
    case DialogId::ColourMask:
      return new ColourMaskWindow(form, std::move(model), std::move(run));
    default:
      return nullptr;
  }
}

}  // namespace plotvane
