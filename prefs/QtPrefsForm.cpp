// The "Preferences" form: its pages, controls and buttons, placed as the
// dialog is designed, over the dialog's logic.
#include "prefs/QtPrefsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>

#include "editor/QtCanvasColors.h"
#include "prefs/QtColorSwatch.h"
#include "prefs/QtSpinEdit.h"
#include "prefs/Settngs.h"
#include "prefs/Themes.h"

namespace penwick {

namespace {

constexpr int kClientWidth = 427;
constexpr int kClientHeight = 353;

template <class W>
W* Place(W* widget, const char* name, int x, int y, int w, int h) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

QGroupBox* Group(QWidget* page, const char* name, const char* title, int x, int y, int w, int h) {
  return Place(new QGroupBox(QString::fromUtf8(title), page), name, x, y, w, h);
}

QLabel* Caption(QWidget* parent, const char* text, int x, int y, int w, int h) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(x, y, w, h);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

QFont ToQFont(const TFontChoice& font) {
  QFont result(QString::fromStdString(font.Name));
  if (font.Size > 0) result.setPointSize(font.Size);
  result.setBold(font.Style & 1);
  result.setItalic(font.Style & 2);
  result.setUnderline(font.Style & 4);
  result.setStrikeOut(font.Style & 8);
  return result;
}

}  // namespace

TQtPrefsForm::TQtPrefsForm(TfrmPrefs& prefs, QWidget* parent) : QDialog(parent), m_prefs(prefs) {
  setObjectName("frmPrefs");
  setWindowTitle("Preferences");
  setFixedSize(kClientWidth, kClientHeight);
  m_pages = Place(new QTabWidget(this), "pgcPrefs", 6, 6, kClientWidth - 12, 308);
  m_pages->addTab(BuildGeneralPage(), "General");
  m_pages->addTab(BuildEditorPage(), "Editor");
  m_pages->addTab(BuildColorsPage(), "Colors");
  connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) { m_prefs.State().Page = index; });
  BuildButtons();
  ShowState();

  QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
}

QWidget* TQtPrefsForm::BuildGeneralPage() {
  auto* page = new QWidget;
  page->setObjectName("tsGeneral");
  QGroupBox* startup = Group(page, "grpStartup", "At Startup", 8, 8, 190, 108);
  m_rbOpenLast = Place(new QRadioButton("Open Last Used Script", startup), "rbOpenLast", 10, 24, 174, 22);
  m_rbOpenNew = Place(new QRadioButton("Create New Script", startup), "rbOpenNew", 10, 50, 174, 22);
  m_rbNothing = Place(new QRadioButton("Show Welcome Screen", startup), "rbNothing", 10, 76, 174, 22);
  const std::pair<QRadioButton*, TStartupChoice> choices[] = {{m_rbOpenLast, TStartupChoice::OpenLastUsed},
                                                              {m_rbOpenNew, TStartupChoice::CreateNewScript},
                                                              {m_rbNothing, TStartupChoice::WelcomeScreen}};
  for (const auto& [button, choice] : choices)
    connect(button, &QRadioButton::toggled, this, [this, choice](bool on) {
      if (on) Act([this, choice] { m_prefs.State().Startup = choice; }, nullptr);
    });

  QGroupBox* recent = Group(page, "grpRecent", "Recent Files", 208, 8, 190, 58);
  Caption(recent, "Maximum:", 12, 24, 64, 22);
  m_edtMruCount = Place(new TQtSpinEdit(recent), "edtMruCount", 80, 24, 60, 22);
  connect(m_edtMruCount, &TQtSpinEdit::TextChanged, this,
          [this](const QString& text) { Act([this, text] { m_prefs.State().MruCount = text.toStdString(); }, nullptr); });

  QGroupBox* newScript = Group(page, "grpNewScript", "File->New...", 208, 74, 190, 82);
  m_rbEmptyScr = Place(new QRadioButton("...Creates Empty Script", newScript), "rbEmptyScr", 10, 24, 174, 22);
  m_rbTmplScr = Place(new QRadioButton("...Uses Template Script", newScript), "rbTmplScr", 10, 50, 174, 22);
  connect(m_rbEmptyScr, &QRadioButton::clicked, this,
          [this] { Act([this] { m_prefs.State().EmptyScript = true; }, [this] { m_prefs.rbEmptyScrClick(); }); });
  connect(m_rbTmplScr, &QRadioButton::clicked, this,
          [this] { Act([this] { m_prefs.State().EmptyScript = false; }, [this] { m_prefs.rbTmplScrClick(); }); });
  return page;
}

QWidget* TQtPrefsForm::BuildEditorPage() {
  auto* page = new QWidget;
  page->setObjectName("tsEditor");
  m_pnlExampleTxt = Place(new QLabel("1234...PLAYER_PED", page), "pnlExampleTxt", 8, 8, 190, 60);
  m_pnlExampleTxt->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m_pnlExampleTxt->setAlignment(Qt::AlignCenter);

  QGroupBox* code = Group(page, "grpCode", "Code", 208, 2, 190, 66);
  auto* font = Place(new QPushButton("Font...", code), "btnFont", 10, 26, 70, 25);
  connect(font, &QPushButton::clicked, this, [this] { Act(nullptr, [this] { m_prefs.btnFontClick(); }); });
  Caption(code, "Tab Size:", 86, 27, 60, 22);
  m_edtTabsize = Place(new TQtSpinEdit(code), "edtTabsize", 144, 27, 40, 22);
  connect(m_edtTabsize, &TQtSpinEdit::TextChanged, this, [this](const QString& text) {
    Act([this, text] { m_prefs.State().TabSize = text.toStdString(); }, [this] { m_prefs.edtTabsizeChange(); });
  });

  QGroupBox* background = Group(page, "grpBackground", "", 8, 76, 190, 92);
  Caption(background, "Background Color:", 10, 18, 110, 24);
  m_pnlAlusVarv = Place(new TQtColorSwatch(background), "pnlAlusVarv", 124, 18, 56, 24);
  connect(m_pnlAlusVarv, &TQtColorSwatch::Clicked, this, [this] { Act(nullptr, [this] { m_prefs.pnlAlusVarvClick(); }); });
  auto* syntax = Place(new QPushButton("Syntax Highlighting", background), "btnSyntax", 10, 54, 170, 25);
  connect(syntax, &QPushButton::clicked, this, [this] { Act(nullptr, [this] { m_prefs.btnSyntaxClick(); }); });

  QGroupBox* gutter = Group(page, "grpGutter", "Gutter", 208, 76, 190, 92);
  auto* reset = Place(new QPushButton("GC", gutter), "btnGC", 10, 22, 36, 25);
  reset->setToolTip("Reset gutter color");
  connect(reset, &QPushButton::clicked, this, [this] { Act(nullptr, [this] { m_prefs.btnGCClick(); }); });
  m_pnlGtrClr = Place(new TQtColorSwatch(gutter), "pnlGtrClr", 56, 23, 56, 24);
  connect(m_pnlGtrClr, &TQtColorSwatch::Clicked, this, [this] { Act(nullptr, [this] { m_prefs.pnlGtrClrClick(); }); });
  Caption(gutter, "Width:", 10, 56, 44, 22);
  m_edtGtrSize = Place(new TQtSpinEdit(gutter), "edtGtrSize", 56, 56, 56, 22);
  connect(m_edtGtrSize, &TQtSpinEdit::TextChanged, this, [this](const QString& text) {
    Act([this, text] { m_prefs.State().GutterWidth = text.toStdString(); }, [this] { m_prefs.edtGtrSizeChange(); });
  });

  const auto check = [this, page](QCheckBox*& box, const char* name, const char* text, int x, int y, bool TPrefsState::*field) {
    box = Place(new QCheckBox(QString::fromUtf8(text), page), name, x, y, 186, 22);
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) { Act([this, field, on] { m_prefs.State().*field = on; }, nullptr); });
  };
  check(m_chkLineNr, "chkLineNr", "Show Line Numbers", 12, 180, &TPrefsState::LineNumbers);
  check(m_chkWordWrp, "chkWordWrp", "Word Wrap", 12, 206, &TPrefsState::WordWrap);
  check(m_chkUndoAfSave, "chkUndoAfSave", "Undo After Save", 212, 180, &TPrefsState::UndoAfterSave);
  check(m_chkAutoCmpl, "chkAutoCmpl", "Enable Autocompletion", 212, 206, &TPrefsState::AutoCompletion);
  return page;
}

QWidget* TQtPrefsForm::BuildColorsPage() {
  auto* page = new QWidget;
  page->setObjectName("tsColors");
  QGroupBox* scheme = Group(page, "grpScheme", "Active Color Scheme", 8, 8, 390, 62);
  m_cbbThemes = Place(new QComboBox(scheme), "cbbThemes", 12, 26, 200, 24);
  for (int index = 0; index < kThemeCount; ++index) m_cbbThemes->addItem(QString::fromStdString(ThemeCaption(index)));
  connect(m_cbbThemes, &QComboBox::currentIndexChanged, this, [this](int index) {
    Act([this, index] { m_prefs.State().Theme = index; }, [this] { m_prefs.cbbThemesChange(); });
  });
  return page;
}

void TQtPrefsForm::BuildButtons() {
  const int top = kClientHeight - 33;
  auto* ok = Place(new QPushButton("OK", this), "btnOK", 101, top, 75, 25);
  auto* cancel = Place(new QPushButton("Cancel", this), "btnCancel", 182, top, 75, 25);
  auto* apply = Place(new QPushButton("Apply", this), "btnApply", 263, top, 75, 25);
  auto* help = Place(new QPushButton("&Help", this), "btnHelp", 344, top, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply, &QPushButton::clicked, this, [this] { Act(nullptr, [this] { m_prefs.Apply(); }); });
  connect(help, &QPushButton::clicked, this, [this] { Act(nullptr, [this] { m_prefs.btnHelpClick(); }); });
}

void TQtPrefsForm::Act(const std::function<void()>& write, const std::function<void()>& handler) {
  if (write) write();
  if (handler) m_prefs.Run(handler);
  ShowState();
}

void TQtPrefsForm::ShowSampleFont() {
  const TFontChoice& sample = m_prefs.State().SampleFont;
  m_pnlExampleTxt->setFont(ToQFont(sample));
  QPalette palette = m_pnlExampleTxt->palette();
  palette.setColor(QPalette::WindowText, CanvasColor(sample.Color, palette, palette.color(QPalette::WindowText)));
  m_pnlExampleTxt->setPalette(palette);
}

void TQtPrefsForm::ShowState() {
  const TPrefsState& s = m_prefs.State();
  const QList<QObject*> controls = {m_pages,       m_rbOpenLast, m_rbOpenNew,   m_rbNothing,     m_edtMruCount,
                                    m_rbEmptyScr,  m_rbTmplScr,  m_edtTabsize,  m_pnlAlusVarv,   m_pnlGtrClr,
                                    m_edtGtrSize,  m_chkLineNr,  m_chkWordWrp,  m_chkUndoAfSave, m_chkAutoCmpl,
                                    m_cbbThemes};
  std::vector<std::unique_ptr<QSignalBlocker>> blockers;
  for (QObject* control : controls) blockers.push_back(std::make_unique<QSignalBlocker>(control));

  switch (s.Startup) {
    case TStartupChoice::OpenLastUsed: m_rbOpenLast->setChecked(true); break;
    case TStartupChoice::CreateNewScript: m_rbOpenNew->setChecked(true); break;
    case TStartupChoice::WelcomeScreen: m_rbNothing->setChecked(true); break;
  }
  m_edtMruCount->SetText(QString::fromStdString(s.MruCount));
  (s.EmptyScript ? m_rbEmptyScr : m_rbTmplScr)->setChecked(true);
  ShowSampleFont();
  m_edtTabsize->SetText(QString::fromStdString(s.TabSize));
  m_pnlAlusVarv->SetColor(s.BgSwatch);
  m_pnlGtrClr->SetColor(s.GutterSwatch);
  m_edtGtrSize->SetText(QString::fromStdString(s.GutterWidth));
  m_chkLineNr->setChecked(s.LineNumbers);
  m_chkWordWrp->setChecked(s.WordWrap);
  m_chkUndoAfSave->setChecked(s.UndoAfterSave);
  m_chkAutoCmpl->setChecked(s.AutoCompletion);
  m_cbbThemes->setCurrentIndex(s.Theme >= 0 && s.Theme < m_cbbThemes->count() ? s.Theme : -1);
  m_pages->setCurrentIndex(s.Page);
}

}  // namespace penwick
