#include "qt/design_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

#include "app/access_keys.h"
#include "qt/accessible_value.h"
#include "qt/fit_caption.h"
#include "qt/twips.h"
#include "qt/value_look.h"
#include "support/message_catalogue.h"
#include "support/translation.h"
#include "ui/accessible_names.h"

namespace varnock::qt {

namespace {

// The designs hold their texts in UTF-8.
QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A caption or name of a design in the user's language; the tables' texts are whole literals.
QString Translated(std::string_view text) {
  return Text(Tr(text.data()));
}

// A button's or check box's caption, with the access key its language gives it.
QString PressedCaption(std::string_view caption) {
  return Text(WithAccessKey(caption));
}

QLabel* MakeLabel(const ControlDesign& design, QWidget* window) {
  auto* label = new QLabel(Translated(design.caption), window);
  if (design.kind == ControlKind::ValueLabel) {
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setIndent(Twips(45, window));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ApplyValueColours(label);
  } else if (design.kind == ControlKind::MarkerLabel) {
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(red);
    label->setVisible(false);
  }
  return label;
}

QWidget* MakeControl(const ControlDesign& design, QWidget* window) {
  switch (design.kind) {
    case ControlKind::Label:
    case ControlKind::ValueLabel:
    case ControlKind::MarkerLabel:
      return MakeLabel(design, window);
    case ControlKind::DropDownList:
    case ControlKind::DriveList:
      return new QComboBox(window);
    case ControlKind::ValueArea: {
      auto* area = new QPlainTextEdit(window);
      area->setReadOnly(true);
      area->setTabChangesFocus(true);
      area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      area->setFrameStyle(QFrame::Box | QFrame::Plain);
      ApplyValueColours(area);
      return area;
    }
    case ControlKind::ValueLine: {
      auto* line = new QLineEdit(window);
      line->setReadOnly(true);
      ApplyValueColours(line);
      return line;
    }
    case ControlKind::EntryLine:
      return new QLineEdit(window);
    case ControlKind::Button: {
      auto* button = new QPushButton(PressedCaption(design.caption), window);
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
    case ControlKind::FolderList:
      return new QTreeWidget(window);
    case ControlKind::FileList:
      return new QListWidget(window);
    case ControlKind::CheckBox:
      return new QCheckBox(PressedCaption(design.caption), window);
    case ControlKind::CheckTable:
      return new QTableView(window);
  }
  return nullptr;
}

QFont FontOf(const ControlDesign& design, const QWidget* window) {
  if (design.font == ControlFont::Courier) {
    return CourierFont();
  }
  QFont font = window->font();
  font.setBold(design.font == ControlFont::Bold);
  return font;
}

// A control that no label names takes the design's name. Assistive technology on Linux calls a
// drop-down list by its current item and reads its name from the label that names it: such a
// list gets a hidden label of its own.
void GiveName(QWidget* window, const ControlName& named) {
  auto* widget = DesignControl<QWidget>(window, named.control);
  widget->setAccessibleName(Translated(named.name));
  if (qobject_cast<QComboBox*>(widget) != nullptr) {
    auto* label = new QLabel(Translated(named.name), window);
    label->setBuddy(widget);
    label->hide();
  }
}

}  // namespace

double DesignPoints(const ControlDesign& control) {
  return control.font == ControlFont::Courier ? CourierFont().pointSizeF() : kDialogPoints;
}

void BuildWindow(QWidget* window, const WindowDesign& design) {
  QFont dialogFont = window->font();
  dialogFont.setPointSizeF(kDialogPoints);
  window->setFont(dialogFont);
  std::vector<const ControlDesign*> tabOrder;
  for (const ControlDesign& control : design.controls) {
    QWidget* widget = MakeControl(control, window);
    widget->setObjectName(Text(control.name));
    widget->setFont(FontOf(control, window));
    PlaceByTwips(widget, control.box.left, control.box.top, control.box.width, control.box.height);
    // A label without a caption shows a value, which assistive technology reads whole.
    if (!TakesFocus(control.kind) && control.caption.empty()) {
      SetAccessibleValue(widget, QString());
    }
    if (TakesFocus(control.kind)) {
      tabOrder.push_back(&control);
    } else {
      widget->setFocusPolicy(Qt::NoFocus);
    }
  }
  std::stable_sort(
      tabOrder.begin(), tabOrder.end(),
      [](const ControlDesign* a, const ControlDesign* b) { return a->tabIndex < b->tabIndex; });
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    QWidget::setTabOrder(DesignControl<QWidget>(window, tabOrder[i - 1]->name),
                         DesignControl<QWidget>(window, tabOrder[i]->name));
  }
  for (const ControlLabel& named : design.labels) {
    DesignControl<QLabel>(window, named.label)
        ->setBuddy(DesignControl<QWidget>(window, named.control));
  }
  for (const ControlName& named : design.names) {
    GiveName(window, named);
  }
  NameLabelledControls(window, design);
  window->setFixedSize(Twips(design.width, window), Twips(design.height, window));
  FitCaptions(window, design);
  GrowForCaptions(window, design);
}

// A caption that does not fit even at the smallest font (a longer language) makes the window
// wider, with every control in proportion, until the widest such caption fits; in English,
// where every caption fits, the window keeps its design's size.
void GrowForCaptions(QWidget* window, const WindowDesign& design,
                     std::span<const CaptionMeasure> more) {
  std::vector<CaptionMeasure> captions(more.begin(), more.end());
  for (const ControlDesign& control : design.controls) {
    if (!control.caption.empty()) {
      captions.push_back(MeasureCaption(DesignControl<QWidget>(window, control.name)));
    }
  }
  const double stretch = StretchForCaptions(captions, ActiveCatalogue().Size() > 0);
  if (stretch == 1) {
    return;
  }
  SetHorizontalStretch(window, HorizontalStretch(window) * stretch);
  for (const ControlDesign& control : design.controls) {
    PlaceByTwips(DesignControl<QWidget>(window, control.name), control.box.left, control.box.top,
                 control.box.width, control.box.height);
  }
  window->setFixedSize(TwipsAcross(design.width, window), Twips(design.height, window));
  FitCaptions(window, design);
}

void NameLabelledControls(QWidget* window, const WindowDesign& design) {
  for (const ControlDesign& control : design.controls) {
    if (const ControlDesign* label = NamingLabel(design, control.name)) {
      const std::string caption = DesignControl<QLabel>(window, label->name)->text().toStdString();
      DesignControl<QWidget>(window, control.name)
          ->setAccessibleName(Text(NameFromCaption(caption)));
    }
  }
}

void FitCaptions(QWidget* window, const WindowDesign& design) {
  for (const ControlDesign& control : design.controls) {
    if (control.caption.empty()) {
      continue;
    }
    if (auto* button = DesignControl<QPushButton>(window, control.name)) {
      FitCaption(button, DesignPoints(control));
    } else if (auto* label = DesignControl<QLabel>(window, control.name)) {
      FitCaption(label, DesignPoints(control));
    }
  }
}

}  // namespace varnock::qt
