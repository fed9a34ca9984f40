#include "app/form_definition.h"

#include "app/texts.h"

namespace {

using K = ControlKind;
using F = FontStyle;
constexpr TextColour kTextDefault = TextColour::System;
constexpr BackColour kBackDefault = BackColour::System;

// Label1 is empty and lies behind the three instruction lines and the frame: one more surface that
// takes dropped files.
constexpr ControlDefinition kControls[] = {
    // id       name        kind              in       left  top   width height tab text
    {kCheck1, L"Check1", K::CheckBox, 0, 130, 1850, 7575, 255, 9,
     L"Open folder containing MP3 when video finishes converting", F::Regular, false, kTextDefault, kBackDefault},
    {kFrame1, L"Frame1", K::Frame, 0, 120, 1200, 7575, 615, 7, L"Video Name", F::Regular, true, kTextDefault,
     kBackDefault},
    {kText1, L"Text1", K::TextBox, kFrame1, 120, 240, 7335, 285, 8, texts::kPlaceholder, F::Bold, true,
     kTextDefault, BackColour::ButtonFace},
    {kCommand2, L"Command2", K::CommandButton, 0, 3960, 2160, 3855, 495, 5, texts::kIdleCaption, F::BoldUnderlined,
     true, kTextDefault, kBackDefault},
    {kCommand1, L"Command1", K::CommandButton, 0, 120, 2160, 3735, 495, 4, L"Add Video", F::Regular, true,
     kTextDefault, kBackDefault},
    {kStatus, L"Status", K::Label, 0, 120, 2715, 7695, 255, 6, texts::kStatusStartText, F::Underlined, true,
     TextColour::Blue, kBackDefault},
    {kLabel4, L"Label4", K::Label, 0, 120, 840, 7575, 255, 3,
     L"2. Click 'Convert to MP3' to convert the videos to MP3. The MP3 will be in the same folder as your video",
     F::Regular, true, kTextDefault, kBackDefault},
    {kLabel3, L"Label3", K::Label, 0, 120, 480, 7575, 255, 2,
     L"1. Add a video by either clicking 'Add Videos' or by dragging and dropping it in to this program",
     F::Regular, true, kTextDefault, kBackDefault},
    {kLabel2, L"Label2", K::Label, 0, 120, 120, 7695, 255, 1, L"To get started:", F::Bold, true, kTextDefault,
     kBackDefault},
    {kLabel1, L"Label1", K::Label, 0, 120, 120, 8415, 1215, 0, L"", F::Bold, true, kTextDefault, kBackDefault},
};

}  // namespace

const FormDefinition kQuilletForm = {
    L"QuilletGUI", texts::kAppTitle, 7890, 2970, true, kControls, static_cast<int>(sizeof kControls / sizeof kControls[0]),
};
