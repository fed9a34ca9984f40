#pragma once

// COM on the window's thread, as the shell's objects and the one window's class need it. ole32 loads
// on first use.

// Enters the single-threaded apartment that the shell's objects expect, once, on first need; from then
// on only this user's processes at this process's integrity level or above may call the process's COM
// objects (the one window's class, and the files a Quillet hands over), whatever COM's defaults are.
void EnterShellApartment();
