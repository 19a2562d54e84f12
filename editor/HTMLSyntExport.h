// Export of the editor's text as one HTML page that looks like the editor
// (`THTMLSyntExport`).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editor/BaseFormattedExport.h"

namespace penwick {

class TSyntaxFormat;

// The page: a doctype line, a head holding the style sheet (a default rule
// and one rule per format of the bound lexer definition, in collection
// order), and a body holding the output lines joined by CR LF, every line but
// the last ending in "<br>". Each run of styles is wrapped in one
// <SPAN id="CssName"> per style entry; the text is written in the editor's
// 8-bit code page, blanks after a blank, "<", ">" and "&" escaped.
//
// Without a bound analysis the style sheet has only the default rule and the
// body no spans.
class THTMLSyntExport : public TBaseFormattedExport {
public:
  // `displayName` with every character other than an ASCII letter, digit or
  // "_" replaced by "_".
  static std::string CssName(const std::string& displayName);
  // The declarations of a format's rule: background, colour, then font
  // attributes and custom font as its format type allows, each part but the
  // first starting with a blank.
  std::string Declarations(const TSyntaxFormat& format) const;
  // The lines of the style sheet: opening tag, default rule, one rule per
  // format, closing tag.
  std::vector<std::string> StyleSheet() const;

  std::string GetHeader() const override;
  std::string GetFooter() const override;

protected:
  int BeginRun(int offset, int limit) override;
  void BeginExport() override;
  void EndExport() override;
  void AddText(std::string_view text) override;
  void NewLine() override;

private:
  void CloseSpans();
  const std::string& OpeningTag(const TSyntaxFormat* style);

  // Opening span tags by style, made once per export (a handful of styles).
  std::vector<std::pair<const TSyntaxFormat*, std::string>> m_tags;
};

}  // namespace penwick
