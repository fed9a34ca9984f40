#include "app/form_definition.h"

#include <iterator>

#include "app/texts.h"

namespace {

using K = ControlKind;
using F = FontStyle;
using Fore = TextColour;
using Back = BackColour;

// Earlier rows lie above later ones where controls overlap: the empty Label1 lies behind the three
// instruction lines and the frame, one more surface that takes dropped files.
// clang-format off
constexpr ControlDefinition kControls[] = {
// id         name         kind              in       left   top  width  height  tab  text                        font               drops  colours
  {kCheck1,   L"Check1",   K::CheckBox,      0,        130, 1850,  7575,    255,   9, texts::kOpenFolderOption,   F::Regular,        false, Fore::System, Back::System},
  {kFrame1,   L"Frame1",   K::Frame,         0,        120, 1200,  7575,    615,   7, texts::kVideoFrame,         F::Regular,        true,  Fore::System, Back::System},
  {kText1,    L"Text1",    K::TextBox,       kFrame1,  120,  240,  7335,    285,   8, texts::kPlaceholder,        F::Bold,           true,  Fore::System, Back::ButtonFace},
  {kCommand2, L"Command2", K::CommandButton, 0,       3960, 2160,  3855,    495,   5, texts::kIdleCaption,        F::BoldUnderlined, true,  Fore::System, Back::System},
  {kCommand1, L"Command1", K::CommandButton, 0,        120, 2160,  3735,    495,   4, texts::kAddVideoCaption,    F::Regular,        true,  Fore::System, Back::System},
  {kStatus,   L"Status",   K::Label,         0,        120, 2715,  7695,    255,   6, texts::kStatusStartText,    F::Underlined,     true,  Fore::Blue,   Back::System},
  {kLabel4,   L"Label4",   K::Label,         0,        120,  840,  7575,    255,   3, texts::kInstructionConvert, F::Regular,        true,  Fore::System, Back::System},
  {kLabel3,   L"Label3",   K::Label,         0,        120,  480,  7575,    255,   2, texts::kInstructionAdd,     F::Regular,        true,  Fore::System, Back::System},
  {kLabel2,   L"Label2",   K::Label,         0,        120,  120,  7695,    255,   1, texts::kInstructionsTitle,  F::Bold,           true,  Fore::System, Back::System},
  {kLabel1,   L"Label1",   K::Label,         0,        120,  120,  8415,   1215,   0, L"",                        F::Bold,           true,  Fore::System, Back::System},
};
// clang-format on

}  // namespace

// A fixed single border, 7890 by 2970 twips inside, taking dropped files where no control covers it.
const FormDefinition kQuilletForm = {
    L"QuilletGUI", texts::kAppTitle, 7890, 2970, true, kControls, static_cast<int>(std::size(kControls)),
};
