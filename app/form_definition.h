#pragma once
#include "runtime/rules/control_definition.h"

// The window ids of the form's controls.
enum ControlId : int {
  kCheck1 = 101,
  kFrame1,
  kText1,
  kCommand2,
  kCommand1,
  kStatus,
  kLabel4,
  kLabel3,
  kLabel2,
  kLabel1,
};

// The one window, its controls, their places, texts and fonts.
extern const FormDefinition kQuilletForm;

// The period of Timer1, which watches the converter.
inline constexpr unsigned kTimer1Interval = 100;
