// The style frame as a Qt form over TSyntStyleFrame.
#include "prefs/QtSyntStyleFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <memory>
#include <vector>

#include "prefs/ColorBoxModel.h"
#include "prefs/QtBorderLineBox.h"
#include "prefs/QtBoxPalette.h"
#include "prefs/QtColorBox.h"

namespace penwick {

namespace {

Qt::CheckState ToQt(TCheckState state) {
  switch (state) {
    case TCheckState::Checked: return Qt::Checked;
    case TCheckState::Grayed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
  }
}

TCheckState FromQt(Qt::CheckState state) {
  switch (state) {
    case Qt::Checked: return TCheckState::Checked;
    case Qt::PartiallyChecked: return TCheckState::Grayed;
    default: return TCheckState::Unchecked;
  }
}

QComboBox* NewList(const QStringList& items, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->addItems(items);
  return list;
}

QLabel* NewLabel(const char* caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->setBuddy(buddy);
  return label;
}

QCheckBox* NewCheck(const char* caption, bool tristate, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  box->setTristate(tristate);
  return box;
}

}  // namespace

TQtSyntStyleFrame::TQtSyntStyleFrame(TSyntStyleFrame& frame, TUserDialogs& dialogs, QWidget* parent)
    : QFrame(parent), m_frame(frame) {
  BuildControls(dialogs);
  ConnectControls();
  m_frame.OnControlsChanged = [this] { ShowControls(); };
  ShowControls();
}

TQtSyntStyleFrame::~TQtSyntStyleFrame() { m_frame.OnControlsChanged = nullptr; }

void TQtSyntStyleFrame::BuildControls(TUserDialogs& dialogs) {
  // Left column: the lists and colour boxes, each under its label.
  m_styleType = NewList({"Custom font", "Font style & colors", "Back- and Fore-ground", "Only Background"}, this);
  m_styleTypeLabel = NewLabel("&Style type", m_styleType, this);
  m_background = new TQtColorBox(kStyleColorBox, dialogs, this);
  m_backgroundLabel = NewLabel("&Background", m_background, this);
  m_fontColor = new TQtColorBox(kStyleColorBox, dialogs, this);
  m_fontColorLabel = NewLabel("&Font color", m_fontColor, this);
  m_vertAlignment = NewList({"Top", "Center", "Bottom"}, this);
  m_vertAlignmentLabel = NewLabel("&Vertical alignment", m_vertAlignment, this);
  m_capitalization = NewList({"Unchanged", "Upper case", "Lower case", "Toggle case", "Initial caps"}, this);
  QLabel* capitalizationLabel = NewLabel("Ca&pitalization effect", m_capitalization, this);

  auto* lists = new QVBoxLayout;
  lists->setSpacing(2);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_styleTypeLabel, m_styleType, m_backgroundLabel, m_background,
                                                         m_fontColorLabel, m_fontColor, m_vertAlignmentLabel,
                                                         m_vertAlignment, capitalizationLabel, m_capitalization}) {
    lists->addWidget(widget);
    if (qobject_cast<QComboBox*>(widget)) lists->addSpacing(3);
  }
  lists->addStretch();

  // Right column: the font style, the flags and the custom font.
  auto* fontStyle = new QGroupBox("Font style", this);
  auto* fontStyleGrid = new QGridLayout(fontStyle);
  fontStyleGrid->setVerticalSpacing(2);
  const char* fontStyleCaptions[] = {"Bo&ld", "&Italic", "&Underline", "S&trike out"};
  for (int box = fbBold; box <= fbStrikeOut; ++box) {
    m_fontStyles[box] = NewCheck(fontStyleCaptions[box], true, fontStyle);
    fontStyleGrid->addWidget(m_fontStyles[box], box, 0);
  }
  m_hidden = NewCheck("&Hidden", true, this);
  m_readOnly = NewCheck("&ReadOnly", true, this);
  m_multiLineBorder = NewCheck("&Multiline border", false, this);
  m_customFont = new QPushButton("Se&t custom font ...", this);
  m_customFont->setMinimumWidth(m_customFont->sizeHint().width() + 12);  // room around the caption

  auto* flags = new QVBoxLayout;
  flags->setSpacing(3);
  flags->addWidget(fontStyle);
  flags->addWidget(m_hidden);
  flags->addWidget(m_readOnly);
  flags->addWidget(m_multiLineBorder);
  flags->addWidget(m_customFont);
  flags->addStretch();

  // Bottom: one row per side, its caption, line type and colour.
  auto* borders = new QGroupBox("Borders ...", this);
  auto* bordersGrid = new QGridLayout(borders);
  bordersGrid->setVerticalSpacing(2);
  const char* sideCaptions[] = {"Left", "Top", "Right", "Bottom"};
  for (int side = bsLeft; side <= bsBottom; ++side) {
    m_borderTypes[side] = new TQtBorderLineBox(borders);
    m_borderColors[side] = new TQtColorBox(kBorderColorBox, dialogs, borders);
    bordersGrid->addWidget(new QLabel(sideCaptions[side], borders), side, 0);
    bordersGrid->addWidget(m_borderTypes[side], side, 1);
    bordersGrid->addWidget(m_borderColors[side], side, 2);
  }
  // The samples need less room than the colour names: the colours take what is left.
  bordersGrid->setColumnStretch(2, 1);

  // The lists give way to the captions of the check boxes and the button.
  for (QComboBox* box : findChildren<QComboBox*>()) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(6);
  }
  // The line-type lists show samples, no text: their width is the sample's.
  for (TQtBorderLineBox* box : m_borderTypes) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setMinimumContentsLength(0);
  }

  auto* columns = new QHBoxLayout;
  columns->addLayout(lists, 1);
  columns->addLayout(flags);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 0, 0, 0);
  outer->setSpacing(4);
  outer->addLayout(columns);
  outer->addWidget(borders);
}

void TQtSyntStyleFrame::ConnectControls() {
  connect(m_styleType, &QComboBox::activated, this, [this](int index) { m_frame.SetStyleType(index); });
  connect(m_background, &TQtColorBox::colorChanged, this, [this](std::uint32_t c) { m_frame.SetBackground(c); });
  connect(m_fontColor, &TQtColorBox::colorChanged, this, [this](std::uint32_t c) { m_frame.SetFontColor(c); });
  connect(m_vertAlignment, &QComboBox::activated, this, [this](int index) { m_frame.SetVertAlignment(index); });
  for (int box = fbBold; box <= fbStrikeOut; ++box) {
    QCheckBox* check = m_fontStyles[box];
    connect(check, &QCheckBox::clicked, this, [this, box, check] {
      m_frame.SetFontStyle(static_cast<TFontStyleBox>(box), FromQt(check->checkState()));
    });
  }
  connect(m_hidden, &QCheckBox::clicked, this, [this] { m_frame.SetHidden(FromQt(m_hidden->checkState())); });
  connect(m_readOnly, &QCheckBox::clicked, this, [this] { m_frame.SetReadOnly(FromQt(m_readOnly->checkState())); });
  connect(m_multiLineBorder, &QCheckBox::clicked, this, [this](bool on) { m_frame.SetMultiLineBorder(on); });
  connect(m_customFont, &QPushButton::clicked, this, [this] { m_frame.CustomFontClick(); });
  connect(m_capitalization, &QComboBox::activated, this, [this](int index) { m_frame.SetCapitalization(index); });
  for (int side = bsLeft; side <= bsBottom; ++side) {
    const auto borderSide = static_cast<TBorderSide>(side);
    connect(m_borderTypes[side], &TQtBorderLineBox::lineTypeChanged, this,
            [this, borderSide](int type) { m_frame.SetBorderType(borderSide, type); });
    connect(m_borderColors[side], &TQtColorBox::colorChanged, this,
            [this, borderSide](std::uint32_t color) { m_frame.SetBorderColor(borderSide, color); });
  }
}

void TQtSyntStyleFrame::ShowControls() {
  const TStyleFrameControls& controls = m_frame.Controls();
  const QList<QWidget*> shown = findChildren<QWidget*>();
  std::vector<std::unique_ptr<QSignalBlocker>> blockers;
  for (QWidget* widget : shown) blockers.push_back(std::make_unique<QSignalBlocker>(widget));

  m_styleType->setCurrentIndex(controls.StyleType);
  m_background->SetColor(controls.Background);
  m_fontColor->SetColor(controls.FontColor);
  m_vertAlignment->setCurrentIndex(controls.VertAlignment);
  for (int box = fbBold; box <= fbStrikeOut; ++box) m_fontStyles[box]->setCheckState(ToQt(controls.FontStyles[box]));
  m_hidden->setCheckState(ToQt(controls.Hidden));
  m_readOnly->setCheckState(ToQt(controls.ReadOnly));
  m_multiLineBorder->setChecked(controls.MultiLineBorder);
  m_capitalization->setCurrentIndex(controls.Capitalization);
  for (int side = bsLeft; side <= bsBottom; ++side) {
    m_borderTypes[side]->SetLineType(controls.BorderTypes[side]);
    m_borderColors[side]->SetColor(controls.BorderColors[side]);
  }
  ShowEnabled();
}

void TQtSyntStyleFrame::ShowEnabled() {
  const TStyleFrameEnabled& enabled = m_frame.Enabled();
  m_styleType->setEnabled(enabled.StyleType);
  m_styleTypeLabel->setEnabled(enabled.StyleTypeLabel);
  m_background->setEnabled(enabled.Background);
  m_backgroundLabel->setEnabled(enabled.Background);
  m_fontColor->setEnabled(enabled.FontColor);
  m_fontColorLabel->setEnabled(enabled.FontColor);
  m_vertAlignment->setEnabled(enabled.VertAlignment);
  m_vertAlignmentLabel->setEnabled(enabled.VertAlignment);
  for (QCheckBox* box : m_fontStyles) box->setEnabled(enabled.FontStyles);
  m_customFont->setEnabled(enabled.CustomFont);
  // The plain lists take the frame's colour when disabled as the boxes do.
  for (QComboBox* list : {m_styleType, m_vertAlignment, m_capitalization}) ApplyBoxPalette(*list);
}

}  // namespace penwick
