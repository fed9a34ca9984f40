#pragma once

// How a form and its controls are described: plain data, positions and sizes in twips
// (1440 to the inch), turned into windows by the form builder.

enum class ControlKind { TextBox, CommandButton, CheckBox, Frame, Label };

// Every stored font is the form's face at 8.25 point; they differ in weight and underline only.
enum class FontStyle { Regular, Bold, BoldUnderlined, Underlined };

enum class TextColour { System, Blue };
enum class BackColour { System, ButtonFace };

struct ControlDefinition {
  int id;  // the control's window id; 0 is the form itself
  const wchar_t* name;
  ControlKind kind;
  int parentId;  // 0 for the form, else the id of the frame that contains it
  int left, top, width, height;
  int tabIndex;
  const wchar_t* text;
  FontStyle font;
  bool acceptsDrops;
  TextColour textColour;
  BackColour backColour;
};

struct FormDefinition {
  const wchar_t* className;
  const wchar_t* caption;
  int clientWidth, clientHeight;
  bool acceptsDrops;
  const ControlDefinition* controls;  // in definition order: earlier ones lie above later ones
  int controlCount;
};
