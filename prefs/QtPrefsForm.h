// The "Preferences" dialog as a Qt form over the dialog's logic: it shows
// TfrmPrefs::State(), writes each change the user makes back into it and
// runs the control's handler.
#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace penwick {

class TfrmPrefs;
class TQtColorSwatch;
class TQtSpinEdit;

class TQtPrefsForm : public QDialog {
  Q_OBJECT
public:
  // A fixed client area of 427 x 353, centred on the screen of `parent`
  // (the primary screen without one). `prefs` is not owned and must
  // outlive the form; the form shows its state at once.
  TQtPrefsForm(TfrmPrefs& prefs, QWidget* parent = nullptr);

  // Shows the state in every control; the controls' signals are blocked
  // meanwhile, so showing runs no handler.
  void ShowState();

  // The pages "General", "Editor", "Colors"; the rest is reached by object
  // name (the component names: edtTabsize, pnlGtrClr, btnGC, ...).
  QTabWidget& Pages() const { return *m_pages; }

private:
  QWidget* BuildGeneralPage();
  QWidget* BuildEditorPage();
  QWidget* BuildColorsPage();
  void BuildButtons();
  // Writes the control's value into the state (`write`), runs `handler`
  // through TfrmPrefs::Run (errors are shown, the form stays) and shows the
  // state again.
  void Act(const std::function<void()>& write, const std::function<void()>& handler);
  void ShowSampleFont();

  TfrmPrefs& m_prefs;
  QTabWidget* m_pages = nullptr;
  // General.
  QRadioButton* m_rbOpenLast = nullptr;
  QRadioButton* m_rbOpenNew = nullptr;
  QRadioButton* m_rbNothing = nullptr;
  TQtSpinEdit* m_edtMruCount = nullptr;
  QRadioButton* m_rbEmptyScr = nullptr;
  QRadioButton* m_rbTmplScr = nullptr;
  // Editor.
  QLabel* m_pnlExampleTxt = nullptr;
  TQtSpinEdit* m_edtTabsize = nullptr;
  TQtColorSwatch* m_pnlAlusVarv = nullptr;
  TQtColorSwatch* m_pnlGtrClr = nullptr;
  TQtSpinEdit* m_edtGtrSize = nullptr;
  QCheckBox* m_chkLineNr = nullptr;
  QCheckBox* m_chkWordWrp = nullptr;
  QCheckBox* m_chkUndoAfSave = nullptr;
  QCheckBox* m_chkAutoCmpl = nullptr;
  // Colors.
  QComboBox* m_cbbThemes = nullptr;
};

}  // namespace penwick
