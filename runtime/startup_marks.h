#pragma once

// Marks where a piece of the start-up ends: "form", "icons", "option", "topmost", "show". The program
// does nothing here; the start-up timer among the test tools links its own, which notes the time.
void StartupPieceDone(const char* piece);
