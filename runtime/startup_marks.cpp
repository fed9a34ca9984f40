#include "runtime/startup_marks.h"

void StartupPieceDone(const char*) {}
