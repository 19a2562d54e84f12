// The editor's own mark styles and their initial values.
#include "editor/DefaultStyles.h"

namespace penwick {

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFFu;
constexpr std::uint32_t kSilver = 0xC0C0C0u;
}  // namespace

TDefaultStyles::TDefaultStyles() {
  SelectioMark.SetDisplayName("SelectioMark");
  SelectioMark.FormatType = ftColor;
  SelectioMark.Font.Color = clHighlightText;
  SelectioMark.BgColor = clHighlight;

  SearchMark.SetDisplayName("SearchMark");
  SearchMark.FormatType = ftColor;
  SearchMark.Font.Color = kWhite;
  SearchMark.BgColor = clBlack;

  CurrentLine.SetDisplayName("CurrentLine");
  CurrentLine.FormatType = ftBackGround;
  CurrentLine.SetEnabled(false);

  CollapseMark.SetDisplayName("CollapseMark");
  CollapseMark.FormatType = ftColor;
  CollapseMark.Font.Color = kSilver;
  CollapseMark.BorderTypeLeft = CollapseMark.BorderTypeTop = CollapseMark.BorderTypeRight =
      CollapseMark.BorderTypeBottom = blSolid;
  CollapseMark.BorderColorLeft = CollapseMark.BorderColorTop = CollapseMark.BorderColorRight =
      CollapseMark.BorderColorBottom = kSilver;
}

}  // namespace penwick
