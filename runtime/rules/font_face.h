#pragma once
#include <functional>

// What the system has of a font face.
enum class FaceKind { Missing, Bitmap, Scalable };

// The face the form's text is drawn in at the dpi. The form's own face is "MS Sans Serif", a bitmap
// font on Windows that has sizes drawn for 96 and 120 dpi only; where it cannot be drawn cleanly
// (above 120 dpi, or not there at all) its TrueType twin "Microsoft Sans Serif" takes its place,
// then Tahoma, then the system's dialog face.
const wchar_t* FormFaceFor(int dpi, const std::function<FaceKind(const wchar_t* face)>& kindOf);
